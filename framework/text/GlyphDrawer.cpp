#include "framework/text/GlyphDrawer.h"

#include "framework/graphics/DrawState.h"

namespace TarnFramework {

void GlyphDrawer::Draw(int32_t x, int32_t y) {
  if (!HasTexture()) return;
  ResetModelView();
  const int32_t left = x + bearingX, top = y - bearingY;
  const int32_t right = left + width, bottom = top + height;
  const int32_t corners[8] = {left, top, right, top, right, bottom, left, bottom};
  const float uvs[8] = {0, 0, 1, 0, 1, 1, 0, 1};
  DrawQuad(corners, uvs);
}

}  // namespace TarnFramework
