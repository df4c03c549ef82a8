#include "framework/graphics/FoundationDraw.h"

#include "framework/graphics/Primitives.h"

namespace TarnFramework {

void FoundationDraw::SetStyle(const Style& style) {
  fillColor = style.fillColor;
  frameColor = style.frameColor;
  color2 = style.color2;
  color3 = style.color3;
  color4 = style.color4;
}

void FoundationDraw::DrawRect(const Rect& rect) { DrawBox(rect.x, rect.y, rect.width, rect.height); }

void FoundationDraw::DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) {
  DrawFramedBox(x, y, width, height, 1, fillColor, frameColor);
}

}  // namespace TarnFramework
