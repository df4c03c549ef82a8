/// @class TarnFramework::Drawer
/// Anything that can be put on screen. Screens and widgets hold their
/// sprites, texts and animated characters behind this one interface.
#pragma once

#include <cstdint>

#include "framework/core/Rect.h"

namespace TarnFramework {

class Drawer {
 public:
  Drawer() = default;
  Drawer(const Drawer&) = delete;
  Drawer& operator=(const Drawer&) = delete;

  /// Frees GPU objects; the drawer stays usable and draws nothing until reloaded.
  virtual void Release() = 0;
  /// A source cell of the picture, placed and turned as DrawTransformed does.
  virtual void DrawPart(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                        bool flipV, const Rect& source) = 0;
  /// The picture's pixel (pivotX, pivotY) lands on (x, y); positive angles (radians)
  /// turn clockwise on screen.
  virtual void DrawTransformed(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY,
                               bool flipH, bool flipV) = 0;
  /// Top-left corner at (x, y), scaled on each axis or on both alike.
  /// @{
  virtual void DrawScaled(int32_t x, int32_t y, double scaleX, double scaleY) = 0;
  virtual void DrawScaledUniform(int32_t x, int32_t y, double scale) = 0;
  /// @}
  /// Natural size, top-left corner at (x, y).
  virtual void Draw(int32_t x, int32_t y) = 0;
  /// The natural size in pixels.
  /// @{
  virtual int32_t GetWidth() = 0;
  virtual int32_t GetHeight() = 0;
  /// @}
  /// Tint, 0xAABBGGRR.
  virtual void SetColor(uint32_t color) = 0;
  /// Back to no tint (opaque white).
  virtual void ResetColor() = 0;
  virtual ~Drawer() = default;
};

}  // namespace TarnFramework
