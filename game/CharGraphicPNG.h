// CharGraphicPNG: a character drawn from one picture; the portrait is a
// square cut out of it around the face.
#pragma once

#include "CharGraphic.h"
#include "framework/core/Rect.h"

namespace TarnFramework {
class Graphic2D;
}

class CharGraphicPNG : public CharGraphic {
 public:
  CharGraphicPNG() = default;
  ~CharGraphicPNG() override;

  void Release() override;
  void DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) override;
  void DrawFull(int32_t frame, int32_t x, int32_t y, double scale) override;

  TarnFramework::Graphic2D* image = nullptr;     // owned
  TarnFramework::Rect portraitRect{0, 0, 0, 0};  // picture pixels
};
