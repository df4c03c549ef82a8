// Single-precision constants and angle helpers shared by the pose, the
// constraints and the timelines. Trigonometry runs in double and is narrowed,
// so results do not depend on the float variants of the C library.

#pragma once

#include <cmath>

namespace skel {

class MathUtil {
 public:
  static constexpr float Pi = 3.1415927f;
  static constexpr float Pi2 = 6.2831855f;
  static constexpr float HalfPi = 1.5707964f;
  static constexpr float DegRad = 0.017453292f;
  static constexpr float RadDeg = 57.295776f;
  static constexpr float Epsilon = 0.00001f;

  static float cos(float radians) { return static_cast<float>(std::cos(static_cast<double>(radians))); }
  static float sin(float radians) { return static_cast<float>(std::sin(static_cast<double>(radians))); }
  static float sqrt(float v) { return static_cast<float>(std::sqrt(static_cast<double>(v))); }
  static float acos(float v) { return static_cast<float>(std::acos(static_cast<double>(v))); }
  static float atan2(float y, float x) {
    return static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
  }
  static float cosDeg(float degrees) { return cos(degrees * DegRad); }
  static float sinDeg(float degrees) { return sin(degrees * DegRad); }

  // Brings a difference of degrees into [-180, 180]. Stays in floating point so
  // that huge or non-finite angles cannot overflow an integer conversion.
  static float wrapDegrees(float degrees) {
    const float turns = degrees / 360.0f;
    const double whole = 16384.0 - std::trunc(16384.499999999996 - static_cast<double>(turns));
    return static_cast<float>(static_cast<double>(degrees) - whole * 360.0);
  }

  // One step of radian wrapping, enough for the sum or difference of two
  // angles that are themselves within [-pi, pi].
  static float wrapRadians(float radians) {
    if (radians > Pi) return radians - Pi2;
    if (radians < -Pi) return radians + Pi2;
    return radians;
  }
};

}  // namespace skel
