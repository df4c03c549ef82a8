#include "skel/IkConstraintTimeline.h"

#include "skel/IkConstraint.h"
#include "skel/IkConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(IkConstraintTimeline, CurveTimeline)

IkConstraintTimeline::IkConstraintTimeline(size_t frameCount)
    : CurveTimeline(frameCount, Entries), _ikConstraintIndex(0) {}

IkConstraintTimeline::~IkConstraintTimeline() {}

int IkConstraintTimeline::getPropertyId() const { return propertyId(TimelineType::IkConstraint, _ikConstraintIndex); }

void IkConstraintTimeline::setFrame(size_t frameIndex, float time, float mix, float softness, int bendDirection,
                                    bool compress, bool stretch) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = mix;
  _frames[i + 2] = softness;
  _frames[i + 3] = static_cast<float>(bendDirection);
  _frames[i + 4] = compress ? 1.0f : 0.0f;
  _frames[i + 5] = stretch ? 1.0f : 0.0f;
}

void IkConstraintTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                                 MixDirection direction) {
  IkConstraint* constraint = activeIkConstraint(skeleton, _ikConstraintIndex);
  const size_t count = getFrameCount();
  if (!constraint || count == 0) return;
  const IkConstraintData& data = constraint->getData();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup) {
      constraint->setMix(data.getMix());
      constraint->setSoftness(data.getSoftness());
    } else if (blend == MixBlend::First) {
      constraint->setMix(constraint->getMix() + (data.getMix() - constraint->getMix()) * alpha);
      constraint->setSoftness(constraint->getSoftness() + (data.getSoftness() - constraint->getSoftness()) * alpha);
    } else {
      return;
    }
    constraint->setBendDirection(data.getBendDirection());
    constraint->setCompress(data.getCompress());
    constraint->setStretch(data.getStretch());
    return;
  }

  // The discrete values come from the key at or before time.
  float mix, softness;
  size_t held;
  const size_t last = (count - 1) * Entries;
  if (atOrAfter(time, _frames[last])) {
    held = last;
    mix = _frames[last + 1];
    softness = _frames[last + 2];
  } else {
    const size_t frame = search(_frames, time, Entries);
    const float percent = percentBetween(frame, time);
    held = frame - Entries;
    mix = _frames[held + 1] + (_frames[frame + 1] - _frames[held + 1]) * percent;
    softness = _frames[held + 2] + (_frames[frame + 2] - _frames[held + 2]) * percent;
  }
  const int keyBend = _frames[held + 3] < 0 ? -1 : 1;
  const bool keyCompress = _frames[held + 4] != 0;
  const bool keyStretch = _frames[held + 5] != 0;

  if (blend == MixBlend::Setup) {
    constraint->setMix(data.getMix() + (mix - data.getMix()) * alpha);
    constraint->setSoftness(data.getSoftness() + (softness - data.getSoftness()) * alpha);
    if (direction == MixDirection::Out) {
      constraint->setBendDirection(data.getBendDirection());
      constraint->setCompress(data.getCompress());
      constraint->setStretch(data.getStretch());
      return;
    }
  } else {
    constraint->setMix(constraint->getMix() + (mix - constraint->getMix()) * alpha);
    constraint->setSoftness(constraint->getSoftness() + (softness - constraint->getSoftness()) * alpha);
    if (direction == MixDirection::Out) return;
  }
  constraint->setBendDirection(keyBend);
  constraint->setCompress(keyCompress);
  constraint->setStretch(keyStretch);
}

}  // namespace skel
