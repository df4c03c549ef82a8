// CharGraphicPNG: a character drawn from one picture; the portrait is a
// square cut out of it around the face.
#pragma once

#include <string>

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

  // The picture becomes a texture when the character is first drawn (or
  // here): the first frame, which shows no character, need not wait for it.
  void SetPicture(const char* file);
  // Loads the picture named by SetPicture, once; a file that does not load
  // is named on standard error then.
  void LoadPicture();

  TarnFramework::Graphic2D* image = nullptr;     // owned
  TarnFramework::Rect portraitRect{0, 0, 0, 0};  // picture pixels

 private:
  std::string pendingFile_;
};
