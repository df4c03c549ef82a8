#include "CharGraphicSkel.h"

#include "framework/graphics/DrawState.h"
#include "framework/skel/SkelAnimation.h"

CharGraphicSkel::~CharGraphicSkel() { CharGraphicSkel::Release(); }

bool CharGraphicSkel::Build() { return Build(TarnSkel::SkelData::kAtlasPath, TarnSkel::SkelData::kSkeletonPath); }

bool CharGraphicSkel::Build(const char* atlasPath, const char* skeletonPath) {
  if (!data.Load(atlasPath, skeletonPath) || !data.skeletonData) {
    Release();
    return false;
  }
  animation = new TarnSkel::SkelAnimation(data.skeletonData);
  if (!animation->skeleton || !animation->state) {
    Release();
    return false;
  }
  float faceX = 0, faceY = 0;
  if (animation->FindBonePosition("Face", faceX, faceY)) {
    faceRect = {static_cast<int32_t>(faceX - 32), static_cast<int32_t>(faceY + 12), kCanvasSize, kCanvasSize};
    canvas.SetRenderTarget(kCanvasSize, kCanvasSize);
    canvas.Create();
  }
  return true;
}

void CharGraphicSkel::Release() {
  if (animation) {
    animation->Release();
    delete animation;
    animation = nullptr;
  }
  data.Release();
  canvas.Release();
}

void CharGraphicSkel::SetSkin(const char* skinName) {
  if (animation) animation->SetSkin(skinName);
}

void CharGraphicSkel::DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) {
  // Without a canvas (no "Face" bone) the clear, the skeleton and the closing
  // EndRender would all land in the caller's target and pop it.
  if (!animation || !canvas.targetReady) return;
  canvas.BeginRender();
  TarnFramework::ClearTarget(0);
  animation->PoseFrame(frame, static_cast<float>(size - faceRect.x), static_cast<float>(faceRect.y + size), 1.0f);
  // Soft edges blend once, on the screen, as in the full-body drawing.
  TarnFramework::SetPremultipliedTarget(true);
  animation->DrawPosed();
  TarnFramework::SetPremultipliedTarget(false);
  TarnFramework::EndRender();
  TarnFramework::SetBlendMode(TarnFramework::BlendMode::Premultiplied);
  canvas.DrawScaledUniform(x, y, static_cast<double>(size) / faceRect.width);
  TarnFramework::SetBlendMode(TarnFramework::BlendMode::Normal);
}

void CharGraphicSkel::DrawFull(int32_t frame, int32_t x, int32_t y, double drawScale) {
  if (!animation) return;
  animation->PoseFrame(frame, static_cast<float>(x - footOffsetX), static_cast<float>(y - footOffsetY),
                       static_cast<float>(drawScale * scale));
  animation->DrawPosed();
}
