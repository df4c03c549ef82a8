/// @class TarnFramework::FoundationDraw_RimRich
/// A framed box with a double rim, the outer band in
/// the frame colour and the inner one halfway between frame and fill.
#pragma once

#include "framework/graphics/FoundationDraw.h"

namespace TarnFramework {

class FoundationDraw_RimRich : public FoundationDraw {
 public:
  /// A painter in the default style with a rim of 2 pixels, or in style with a rim of rim pixels.
  /// @{
  FoundationDraw_RimRich() { FoundationDraw_RimRich::SetStyle(kDefaultStyle); }
  FoundationDraw_RimRich(const Style& style, int32_t rim) : rimWidth(rim) { FoundationDraw_RimRich::SetStyle(style); }
  /// @}

  /// Also derives midColor, byte by byte (fill + frame) / 2.
  void SetStyle(const Style& style) override;
  /// Draws the fill inside the double rim.
  void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) override;

  /// The inner band's colour, and the width of each band.
  /// @{
  uint32_t midColor = 0;
  int32_t rimWidth = 2;
  /// @}
};

}  // namespace TarnFramework
