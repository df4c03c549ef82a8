/// @class TarnFramework::GlyphDrawer
/// One character of a font as a sprite. Its texture is the glyph's
/// coverage bitmap (alpha only, coloured by the tint) and it keeps the metrics
/// text layout needs to put it on a baseline.
#pragma once

#include "framework/graphics/Graphic2D.h"

namespace TarnFramework {

class GlyphDrawer : public Graphic2D {
 public:
  GlyphDrawer() { kind = kGlyph; }

  /// Draws the glyph with the pen at (x, y) on the baseline.
  void Draw(int32_t x, int32_t y) override;
  /// A glyph is not scaled or turned: these draw nothing.
  /// @{
  void DrawTransformed(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool) override {}
  void DrawScaled(int32_t, int32_t, double, double) override {}
  void DrawScaledUniform(int32_t, int32_t, double) override {}
  /// @}

  /// Not used by the framework's layout, which is horizontal.
  int32_t vertical = 0;
  /// The pixel size of the font it came from, which is its line height.
  int32_t fontSize = 0;
  /// Pen position to the bitmap's left column.
  int32_t bearingX = 0;
  int32_t bearingY = 0;  ///< Baseline up to the bitmap's top row.
  /// How far the pen moves past it.
  int32_t advance = 0;
  /// The metrics for vertical layout, which the framework does not use.
  /// @{
  int32_t vertBearingX = 0;
  int32_t vertBearingY = 0;
  int32_t vertAdvance = 0;
  /// @}
};

}  // namespace TarnFramework
