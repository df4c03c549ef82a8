#include "skel/ScaleTimeline.h"

#include <cmath>

#include "skel/Bone.h"
#include "skel/BoneData.h"

namespace skel {

SKEL_RTTI_IMPL(ScaleTimeline, TranslateTimeline)

namespace {

float sign(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

// One axis of a partial mix. Fading out keeps the sign of the pose being
// left; mixing in takes the key's sign, so a mirrored bone does not flip
// through zero halfway.
float mixAxis(float current, float setup, float key, float alpha, MixBlend blend, MixDirection direction) {
  if (direction == MixDirection::Out) {
    switch (blend) {
      case MixBlend::Setup: return setup + (std::fabs(key) * sign(setup) - setup) * alpha;
      case MixBlend::First:
      case MixBlend::Replace: return current + (std::fabs(key) * sign(current) - current) * alpha;
      case MixBlend::Add: return current + (std::fabs(key) * sign(current) - setup) * alpha;
    }
    return current;
  }
  float base;
  switch (blend) {
    case MixBlend::Setup: base = std::fabs(setup) * sign(key); return base + (key - base) * alpha;
    case MixBlend::First:
    case MixBlend::Replace: base = std::fabs(current) * sign(key); return base + (key - base) * alpha;
    case MixBlend::Add: return std::fabs(current) * sign(key) + (key - std::fabs(setup) * sign(key)) * alpha;
  }
  return current;
}

}  // namespace

ScaleTimeline::ScaleTimeline(size_t frameCount) : TranslateTimeline(frameCount) {}

ScaleTimeline::~ScaleTimeline() {}

int ScaleTimeline::getPropertyId() const { return propertyId(TimelineType::Scale, _boneIndex); }

void ScaleTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                          MixDirection direction) {
  Bone* bone = activeBone(skeleton, _boneIndex);
  if (!bone || getFrameCount() == 0) return;
  const BoneData& data = bone->getData();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup) {
      bone->setScaleX(data.getScaleX());
      bone->setScaleY(data.getScaleY());
    } else if (blend == MixBlend::First) {
      bone->setScaleX(bone->getScaleX() + (data.getScaleX() - bone->getScaleX()) * alpha);
      bone->setScaleY(bone->getScaleY() + (data.getScaleY() - bone->getScaleY()) * alpha);
    }
    return;
  }

  float x, y;
  valueAt(time, x, y);
  x *= data.getScaleX();
  y *= data.getScaleY();

  if (alpha == 1) {
    if (blend == MixBlend::Add) {
      bone->setScaleX(bone->getScaleX() + x - data.getScaleX());
      bone->setScaleY(bone->getScaleY() + y - data.getScaleY());
    } else {
      bone->setScaleX(x);
      bone->setScaleY(y);
    }
    return;
  }
  bone->setScaleX(mixAxis(bone->getScaleX(), data.getScaleX(), x, alpha, blend, direction));
  bone->setScaleY(mixAxis(bone->getScaleY(), data.getScaleY(), y, alpha, blend, direction));
}

}  // namespace skel
