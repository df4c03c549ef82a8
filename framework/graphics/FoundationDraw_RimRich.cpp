#include "framework/graphics/FoundationDraw_RimRich.h"

#include "framework/graphics/Primitives.h"

namespace TarnFramework {

void FoundationDraw_RimRich::SetStyle(const Style& style) {
  FoundationDraw::SetStyle(style);
  midColor = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t fill = (fillColor >> shift) & 0xFF;
    const uint32_t frame = (frameColor >> shift) & 0xFF;
    midColor |= ((fill + frame) / 2) << shift;
  }
}

void FoundationDraw_RimRich::DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t r = rimWidth;
  // The transparent interior draws nothing (alpha test), leaving room for the inner box.
  DrawFramedBox(x, y, width, height, r, 0, frameColor);
  DrawFramedBox(x + r, y + r, width - 2 * r, height - 2 * r, r, fillColor, midColor);
}

}  // namespace TarnFramework
