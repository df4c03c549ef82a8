/// @class skel::MathUtil
/// Single-precision constants and angle helpers shared by the pose, the
/// constraints and the timelines. Trigonometry runs in double and is narrowed,
/// so results do not depend on the float variants of the C library.

#pragma once

#include <cmath>

namespace skel {

class MathUtil {
 public:
  /// Pi, two pi and half pi; degrees to radians and back; the tolerance of near-zero tests.
  /// @{
  static constexpr float Pi = 3.1415927f;
  static constexpr float Pi2 = 6.2831855f;
  static constexpr float HalfPi = 1.5707964f;
  static constexpr float DegRad = 0.017453292f;
  static constexpr float RadDeg = 57.295776f;
  static constexpr float Epsilon = 0.00001f;
  /// @}

  /// The C library's functions, in double, narrowed to float.
  /// @{
  static float cos(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
  static float sin(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }
  static float sqrt(float v) { return static_cast<float>(std::sqrt(static_cast<double>(v))); }
  static float acos(float v) { return static_cast<float>(std::acos(static_cast<double>(v))); }
  static float atan2(float y, float x) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
  }
  /// @}
  /// Both at once, as posing a bone needs them: a few times cheaper than the
  /// library's pair and the same once narrowed (the series below are exact to
  /// double rounding). The angle is brought within pi/4 of a quarter turn;
  /// huge and non-finite angles take the library's path.
  static void sinCos(float radians, float& sine, float& cosine) {
    const double x = radians;
    if (!(std::fabs(x) < 65536.0)) {
      sine = static_cast<float>(std::sin(x));
      cosine = static_cast<float>(std::cos(x));
      return;
    }
    // Round to the nearest quarter turn without a library call.
    const double shift = 6755399441055744.0;  // 1.5 * 2^52
    const double k = (x * 0.6366197723675814 + shift) - shift;
    // pi/2 in two parts: k times the first (33 bits) is exact for |k| < 2^17.
    const double r = (x - k * 1.5707963267341256) - k * 6.077100506506192e-11;
    const double r2 = r * r;
    // Taylor series in r^2, highest term first: the terms left out are below
    // double rounding for |r| <= pi/4.
    static constexpr double kSin[] = {-1.0 / 1307674368000, 1.0 / 6227020800, -1.0 / 39916800, 1.0 / 362880,
                                      -1.0 / 5040,          1.0 / 120,        -1.0 / 6,        1};
    static constexpr double kCos[] = {1.0 / 20922789888000,
                                      -1.0 / 87178291200,
                                      1.0 / 479001600,
                                      -1.0 / 3628800,
                                      1.0 / 40320,
                                      -1.0 / 720,
                                      1.0 / 24,
                                      -1.0 / 2,
                                      1};
    double s = 0, c = 0;
    for (double term : kSin) s = s * r2 + term;
    for (double term : kCos) c = c * r2 + term;
    s *= r;
    switch (static_cast<int>(k) & 3) {
      case 0: sine = static_cast<float>(s), cosine = static_cast<float>(c); break;
      case 1: sine = static_cast<float>(c), cosine = static_cast<float>(-s); break;
      case 2: sine = static_cast<float>(-s), cosine = static_cast<float>(-c); break;
      default: sine = static_cast<float>(-c), cosine = static_cast<float>(s); break;
    }
  }
  /// Cosine and sine of an angle in degrees.
  /// @{
  static float cosDeg(float degrees) { return cos(degrees * DegRad); }
  static float sinDeg(float degrees) { return sin(degrees * DegRad); }
  /// @}

  /// Brings a difference of degrees into [-180, 180]. Stays in floating point so
  /// that huge or non-finite angles cannot overflow an integer conversion.
  static float wrapDegrees(float degrees) {
    const float turns = degrees / 360.0f;
    const double whole = 16384.0 - std::trunc(16384.499999999996 - static_cast<double>(turns));
    return static_cast<float>(static_cast<double>(degrees) - whole * 360.0);
  }

  /// One step of radian wrapping, enough for the sum or difference of two
  /// angles that are themselves within [-pi, pi].
  static float wrapRadians(float radians) {
    if (radians > Pi) return radians - Pi2;
    if (radians < -Pi) return radians + Pi2;
    return radians;
  }
};

}  // namespace skel
