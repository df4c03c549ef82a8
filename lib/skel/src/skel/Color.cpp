#include "skel/Color.h"

namespace skel {

namespace {

float clamped(float value) {
  if (value < 0) return 0;
  if (value > 1) return 1;
  return value;
}

}  // namespace

Color& Color::set(float red, float green, float blue, float alpha) {
  r = red;
  g = green;
  b = blue;
  a = alpha;
  return clamp();
}

Color& Color::set(const Color& other) { return set(other.r, other.g, other.b, other.a); }

Color& Color::add(float red, float green, float blue, float alpha) {
  return set(r + red, g + green, b + blue, a + alpha);
}

Color& Color::clamp() {
  r = clamped(r);
  g = clamped(g);
  b = clamped(b);
  a = clamped(a);
  return *this;
}

}  // namespace skel
