#include "skel/TranslateTimeline.h"

#include "skel/Bone.h"
#include "skel/BoneData.h"

namespace skel {

SKEL_RTTI_IMPL(TranslateTimeline, CurveTimeline)

TranslateTimeline::TranslateTimeline(size_t frameCount) : CurveTimeline(frameCount, Entries), _boneIndex(0) {}

TranslateTimeline::~TranslateTimeline() {}

int TranslateTimeline::getPropertyId() const { return propertyId(TimelineType::Translate, _boneIndex); }

void TranslateTimeline::setFrame(size_t frameIndex, float time, float x, float y) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = x;
  _frames[i + 2] = y;
}

void TranslateTimeline::valueAt(float time, float& x, float& y) const {
  float key[2];
  keyedValues(time, key, 2);
  x = key[0];
  y = key[1];
}

void TranslateTimeline::applyOffsets(Skeleton& skeleton, float time, float alpha, MixBlend blend,
                                     const OffsetPair& pair) {
  Bone* bone = activeBone(skeleton, _boneIndex);
  if (!bone || getFrameCount() == 0) return;
  const BoneData& data = bone->getData();
  const float setupX = (data.*pair.setupX)(), setupY = (data.*pair.setupY)();
  const float currentX = (bone->*pair.getX)(), currentY = (bone->*pair.getY)();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup) {
      (bone->*pair.setX)(setupX);
      (bone->*pair.setY)(setupY);
    } else if (blend == MixBlend::First) {
      (bone->*pair.setX)(currentX + (setupX - currentX) * alpha);
      (bone->*pair.setY)(currentY + (setupY - currentY) * alpha);
    }
    return;
  }

  float x, y;
  valueAt(time, x, y);
  switch (blend) {
    case MixBlend::Setup:
      (bone->*pair.setX)(setupX + x * alpha);
      (bone->*pair.setY)(setupY + y * alpha);
      break;
    case MixBlend::First:
    case MixBlend::Replace:
      (bone->*pair.setX)(currentX + (setupX + x - currentX) * alpha);
      (bone->*pair.setY)(currentY + (setupY + y - currentY) * alpha);
      break;
    case MixBlend::Add:
      (bone->*pair.setX)(currentX + x * alpha);
      (bone->*pair.setY)(currentY + y * alpha);
      break;
  }
}

void TranslateTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                              MixDirection) {
  applyOffsets(skeleton, time, alpha, blend,
               {&Bone::getX, &Bone::getY, &Bone::setX, &Bone::setY, &BoneData::getX, &BoneData::getY});
}

}  // namespace skel
