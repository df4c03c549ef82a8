// CharGraphic: how one kind of character is drawn, as a square portrait for
// list lines and as the full body standing on a point for the big views.
#pragma once

#include <cstdint>

class CharGraphic {
 public:
  CharGraphic() = default;
  CharGraphic(const CharGraphic&) = delete;
  CharGraphic& operator=(const CharGraphic&) = delete;
  virtual ~CharGraphic() = default;

  virtual void Release() = 0;
  // The face, covering the square (x, y, size, size). frame is the caller's
  // frame counter, for animated graphics.
  virtual void DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) = 0;
  // The whole character with its standing point at (x, y), scaled by
  // scale times the graphic's own scale.
  virtual void DrawFull(int32_t frame, int32_t x, int32_t y, double scale) = 0;

  double scale = 1.0;
  int32_t footOffsetX = 0;  // picture pixels
  int32_t footOffsetY = 0;  // picture pixels
};
