#include "CharacterFrame.h"

#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkelAnimation.h"
#include "skel/Slot.h"

size_t CharacterFrame(TarnSkel::SkelAnimation& animation, skel::SkeletonData& data, int32_t frame) {
  skel::Skeleton& skeleton = *animation.skeleton;
  skeleton.setX(640.0f);
  skeleton.setY(695.0f);
  skeleton.setScaleX(0.4f);
  skeleton.setScaleY(0.4f);
  animation.SetAnimation(animation.currentAnimation);
  skel::Animation* current = data.findAnimation(skel::String(animation.animationNames[animation.currentAnimation]));
  const int64_t frames = current ? static_cast<int64_t>(current->getDuration() * 60) : 0;
  const int64_t at = frames > 0 ? frame % frames : 0;
  animation.state->update(static_cast<float>(at * animation.frameTime));
  skeleton.setScaleY(-skeleton.getScaleY());
  animation.state->apply(skeleton);
  skeleton.updateWorldTransform();
  size_t built = 0;
  skel::Vector<skel::Slot*>& drawOrder = skeleton.getDrawOrder();
  for (size_t i = 0; i < drawOrder.size(); ++i) {
    if (!drawOrder[i] || !drawOrder[i]->getAttachment()) continue;
    // A fresh list per slot, as the renderer hands each one to its sprite.
    std::vector<TarnFramework::Graphic2D::Vertex> vertices;
    TarnSkel::BuildSlotVertices(*drawOrder[i], vertices);
    built += vertices.size();
  }
  return built;
}

