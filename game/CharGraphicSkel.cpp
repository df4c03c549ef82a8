#include "CharGraphicSkel.h"

#include <GL/glew.h>

#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkelAnimation.h"
#include "skel/Skin.h"

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
  skel::Skeleton& skeleton = *animation->skeleton;
  // Setup-pose world positions, so the face can be found.
  animation->state->apply(skeleton);
  skeleton.updateWorldTransform();
  if (skel::Bone* face = skeleton.findBone(skel::String("Face"))) {
    faceRect = {static_cast<int32_t>(face->getWorldX() - 32), static_cast<int32_t>(face->getWorldY() + 12),
                kCanvasSize, kCanvasSize};
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
  if (!animation || !animation->skeleton || !data.skeletonData) return;
  animation->skeleton->setSkin(data.skeletonData->findSkin(skel::String(skinName)));
}

void CharGraphicSkel::SetAnimationTime(int32_t frame) {
  // Without animations the skeleton keeps its setup pose.
  if (animation->animationNames.empty()) return;
  animation->SetAnimation(animation->currentAnimation);
  skel::Animation* current =
      data.skeletonData->findAnimation(skel::String(animation->animationNames[animation->currentAnimation]));
  const int64_t frames = current ? static_cast<int64_t>(current->getDuration() * 60) : 0;
  // A negative counter would give a negative remainder: keep it in range.
  const int64_t at = frames > 0 ? ((int64_t{frame} % frames) + frames) % frames : 0;
  animation->state->update(static_cast<float>(at * animation->frameTime));
}

void CharGraphicSkel::DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) {
  // Without a canvas (no "Face" bone) the clear, the skeleton and the closing
  // EndRender would all land in the caller's target and pop it.
  if (!animation || !canvas.targetReady) return;
  canvas.BeginRender();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  skel::Skeleton& skeleton = *animation->skeleton;
  skeleton.setX(static_cast<float>(size - faceRect.x));
  skeleton.setY(static_cast<float>(faceRect.y + size));
  skeleton.setScaleX(1);
  skeleton.setScaleY(1);
  SetAnimationTime(frame);
  animation->DrawSkeleton(false, false);
  TarnFramework::EndRender();
  canvas.DrawScaledUniform(x, y, static_cast<double>(size) / faceRect.width);
}

void CharGraphicSkel::DrawFull(int32_t frame, int32_t x, int32_t y, double drawScale) {
  if (!animation) return;
  skel::Skeleton& skeleton = *animation->skeleton;
  skeleton.setX(static_cast<float>(x - footOffsetX));
  skeleton.setY(static_cast<float>(y - footOffsetY));
  const float s = static_cast<float>(drawScale * scale);
  skeleton.setScaleX(s);
  skeleton.setScaleY(s);
  SetAnimationTime(frame);
  animation->DrawSkeleton(false, false);
}
