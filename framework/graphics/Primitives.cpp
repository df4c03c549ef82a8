#include "framework/graphics/Primitives.h"

#include <GL/glew.h>

#include "framework/graphics/GLCheck.h"

namespace TarnFramework {

namespace {

void DrawFlat(GLenum mode, const Rect& r, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  TARN_GL(glMatrixMode(GL_MODELVIEW));
  TARN_GL(glLoadIdentity());
  TARN_GL(glDisableClientState(GL_TEXTURE_COORD_ARRAY));
  TARN_GL(glDisable(GL_TEXTURE_2D));
  const GLint corners[8] = {r.x, r.y, r.x + r.width, r.y, r.x + r.width, r.y + r.height, r.x, r.y + r.height};
  uint8_t colors[16];
  for (int i = 0; i < 4; ++i) {
    colors[4 * i] = red;
    colors[4 * i + 1] = green;
    colors[4 * i + 2] = blue;
    colors[4 * i + 3] = alpha;
  }
  TARN_GL(glVertexPointer(2, GL_INT, 0, corners));
  TARN_GL(glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors));
  TARN_GL(glDrawArrays(mode, 0, 4));
  TARN_GL(glEnableClientState(GL_TEXTURE_COORD_ARRAY));
  TARN_GL(glEnable(GL_TEXTURE_2D));
  TARN_GL(glFlush());
}

uint8_t Channel(uint32_t rgba, int index) { return static_cast<uint8_t>(rgba >> (8 * index)); }

}  // namespace

void FillRect(const Rect& rect, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  DrawFlat(GL_QUADS, rect, red, green, blue, alpha);
}

void OutlineRect(const Rect& rect, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  DrawFlat(GL_LINE_LOOP, rect, red, green, blue, alpha);
}

void FillRect(const Rect& rect, uint32_t rgba) {
  FillRect(rect, Channel(rgba, 0), Channel(rgba, 1), Channel(rgba, 2), Channel(rgba, 3));
}

void OutlineRect(const Rect& rect, uint32_t rgba) {
  OutlineRect(rect, Channel(rgba, 0), Channel(rgba, 1), Channel(rgba, 2), Channel(rgba, 3));
}

void DrawLine(float x0, float y0, float x1, float y1, uint32_t rgba, float lineWidth) {
  TARN_GL(glMatrixMode(GL_MODELVIEW));
  TARN_GL(glLoadIdentity());
  TARN_GL(glDisableClientState(GL_TEXTURE_COORD_ARRAY));
  TARN_GL(glDisable(GL_TEXTURE_2D));
  const GLfloat ends[4] = {x0, y0, x1, y1};
  uint8_t colors[8];
  for (int i = 0; i < 2; ++i) {
    for (int c = 0; c < 4; ++c) colors[4 * i + c] = Channel(rgba, c);
  }
  TARN_GL(glLineWidth(lineWidth));
  TARN_GL(glVertexPointer(2, GL_FLOAT, 0, ends));
  TARN_GL(glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors));
  TARN_GL(glDrawArrays(GL_LINES, 0, 2));
  TARN_GL(glLineWidth(1.0f));
  TARN_GL(glEnableClientState(GL_TEXTURE_COORD_ARRAY));
  TARN_GL(glEnable(GL_TEXTURE_2D));
  TARN_GL(glFlush());
}

void DrawFramedBox(int32_t x, int32_t y, int32_t w, int32_t h, int32_t d, uint32_t fillColor, uint32_t frameColor) {
  FillRect({x, y, w, d}, frameColor);
  FillRect({x, y + d, d, h - 2 * d}, frameColor);
  FillRect({x + w - d, y + d, d, h - 2 * d}, frameColor);
  FillRect({x, y + h - d, w, d}, frameColor);
  FillRect({x + d, y + d, w - 2 * d, h - 2 * d}, fillColor);
}

}  // namespace TarnFramework
