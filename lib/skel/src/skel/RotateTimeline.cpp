#include "skel/RotateTimeline.h"

#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/MathUtil.h"

namespace skel {

SKEL_RTTI_IMPL(RotateTimeline, CurveTimeline)

RotateTimeline::RotateTimeline(size_t frameCount) : CurveTimeline(frameCount, Entries), _boneIndex(0) {}

RotateTimeline::~RotateTimeline() {}

int RotateTimeline::getPropertyId() const { return propertyId(TimelineType::Rotate, _boneIndex); }

void RotateTimeline::setFrame(size_t frameIndex, float time, float degrees) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = degrees;
}

void RotateTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                           MixDirection) {
  Bone* bone = activeBone(skeleton, _boneIndex);
  const size_t count = getFrameCount();
  if (!bone || count == 0) return;
  const float setup = bone->getData().getRotation();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup)
      bone->setRotation(setup);
    else if (blend == MixBlend::First)
      bone->setRotation(bone->getRotation() + MathUtil::wrapDegrees(setup - bone->getRotation()) * alpha);
    return;
  }

  const size_t last = (count - 1) * Entries;
  if (atOrAfter(time, _frames[last])) {
    float r = _frames[last + 1];
    switch (blend) {
      case MixBlend::Setup: bone->setRotation(setup + r * alpha); break;
      case MixBlend::First:
      case MixBlend::Replace:
        r = MathUtil::wrapDegrees(r + setup - bone->getRotation());
        bone->setRotation(bone->getRotation() + r * alpha);
        break;
      case MixBlend::Add: bone->setRotation(bone->getRotation() + r * alpha); break;
    }
    return;
  }

  const size_t frame = search(_frames, time, Entries);
  const float prev = _frames[frame - 1];
  const float percent = percentBetween(frame, time);
  const float r = prev + MathUtil::wrapDegrees(_frames[frame + 1] - prev) * percent;
  switch (blend) {
    case MixBlend::Setup: bone->setRotation(setup + MathUtil::wrapDegrees(r) * alpha); break;
    case MixBlend::First:
    case MixBlend::Replace:
      bone->setRotation(bone->getRotation() + MathUtil::wrapDegrees(r + setup - bone->getRotation()) * alpha);
      break;
    case MixBlend::Add: bone->setRotation(bone->getRotation() + MathUtil::wrapDegrees(r) * alpha); break;
  }
}

}  // namespace skel
