// CharGraphicSkel: a character drawn from an animated skeleton. The portrait
// is the skeleton rendered into a 200 x 200 canvas around its "Face" bone; the
// full body is the skeleton drawn directly. The pose is recomputed from the
// caller's frame counter on every draw.
#pragma once

#include "CharGraphic.h"
#include "framework/core/Rect.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelData.h"

namespace TarnSkel {
class SkelAnimation;
}

class CharGraphicSkel : public CharGraphic {
 public:
  static constexpr int32_t kCanvasSize = 200;

  CharGraphicSkel() = default;
  ~CharGraphicSkel() override;

  // Loads the character's files and makes its sprite; false leaves it empty.
  bool Build();
  // The same from any atlas and skeleton file.
  bool Build(const char* atlasPath, const char* skeletonPath);

  void Release() override;
  void DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) override;
  void DrawFull(int32_t frame, int32_t x, int32_t y, double scale) override;

  // Skin by name on the skeleton; none when the data has no such skin.
  void SetSkin(const char* skinName);

  TarnSkel::SkelData data;
  TarnSkel::SkelAnimation* animation = nullptr;                    // owned
  TarnFramework::Rect faceRect{32, 32, kCanvasSize, kCanvasSize};  // skeleton units; canvas size
  TarnFramework::Graphic2D canvas;
};
