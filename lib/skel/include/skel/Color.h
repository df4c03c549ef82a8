/// @class skel::Color
/// An RGBA colour of four floats, nominally 0..1.
#pragma once

#include "skel/SkelObject.h"

namespace skel {

class Color : public SkelObject {
 public:
  /// Opaque white, or the channels given (not clamped).
  /// @{
  Color() : r(1), g(1), b(1), a(1) {}
  Color(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
  Color(const Color& other) : SkelObject(), r(other.r), g(other.g), b(other.b), a(other.a) {}
  /// @}
  /// Copies the channels.
  Color& operator=(const Color& other) {
    r = other.r;
    g = other.g;
    b = other.b;
    a = other.a;
    return *this;
  }

  /// The setters and add clamp every channel to 0..1; write the fields
  /// directly to keep values outside that range.
  /// @{
  Color& set(float red, float green, float blue, float alpha);
  Color& set(const Color& other);
  Color& add(float red, float green, float blue, float alpha);
  Color& clamp();
  /// @}

  /// Channel by channel, exactly.
  /// @{
  friend bool operator==(const Color& x, const Color& y) {
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
  }
  friend bool operator!=(const Color& x, const Color& y) { return !(x == y); }
  /// @}

  /// The channels.
  /// @{
  float r, g, b, a;
  /// @}
};

}  // namespace skel
