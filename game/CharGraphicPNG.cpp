#include "CharGraphicPNG.h"

#include "framework/graphics/Graphic2D.h"

using TarnFramework::Graphic2D;

CharGraphicPNG::~CharGraphicPNG() { CharGraphicPNG::Release(); }

void CharGraphicPNG::Release() {
  pendingFile_.clear();
  if (!image) return;
  image->Release();
  delete image;
  image = nullptr;
}

void CharGraphicPNG::SetPicture(const char* file) {
  if (!image) image = new Graphic2D;
  pendingFile_ = file ? file : "";
}

void CharGraphicPNG::LoadPicture() {
  if (!image || pendingFile_.empty()) return;
  const std::string file = std::move(pendingFile_);
  pendingFile_.clear();
  image->LoadImage(file.c_str());
}

void CharGraphicPNG::DrawPortrait(int32_t, int32_t x, int32_t y, int32_t size) {
  LoadPicture();
  if (!image || portraitRect.width <= 0) return;
  // In floating point: an 84-pixel square from an 85-pixel cut is 0.988, not 0.
  const double ratio = static_cast<double>(size) / portraitRect.width;
  image->DrawPart(x, y, ratio, 0.0, 0, 0, false, false, portraitRect);
}

void CharGraphicPNG::DrawFull(int32_t, int32_t x, int32_t y, double drawScale) {
  LoadPicture();
  if (!image) return;
  const double s = drawScale * scale;
  const int32_t w = image->GetWidth();
  const int32_t h = image->GetHeight();
  const int32_t left = static_cast<int32_t>(x - (w / 2 - footOffsetX) * s);
  const int32_t top = static_cast<int32_t>(y - (h - footOffsetY) * s);
  image->DrawScaledUniform(left, top, s);
}
