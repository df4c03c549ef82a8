#include "skel/TransformConstraintTimeline.h"

#include "skel/TransformConstraint.h"
#include "skel/TransformConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(TransformConstraintTimeline, CurveTimeline)

TransformConstraintTimeline::TransformConstraintTimeline(size_t frameCount)
    : CurveTimeline(frameCount, Entries), _transformConstraintIndex(0) {}

TransformConstraintTimeline::~TransformConstraintTimeline() {}

int TransformConstraintTimeline::getPropertyId() const {
  return propertyId(TimelineType::TransformConstraint, _transformConstraintIndex);
}

void TransformConstraintTimeline::setFrame(size_t frameIndex, float time, float rotateMix, float translateMix,
                                           float scaleMix, float shearMix) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = rotateMix;
  _frames[i + 2] = translateMix;
  _frames[i + 3] = scaleMix;
  _frames[i + 4] = shearMix;
}

void TransformConstraintTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha,
                                        MixBlend blend, MixDirection) {
  TransformConstraint* constraint = activeTransformConstraint(skeleton, _transformConstraintIndex);
  const size_t count = getFrameCount();
  if (!constraint || count == 0) return;
  const TransformConstraintData& data = constraint->getData();
  const float setup[4] = {data.getRotateMix(), data.getTranslateMix(), data.getScaleMix(), data.getShearMix()};
  float current[4] = {constraint->getRotateMix(), constraint->getTranslateMix(), constraint->getScaleMix(),
                      constraint->getShearMix()};

  if (time < _frames[0]) {
    if (blend == MixBlend::Replace || blend == MixBlend::Add) return;
    for (size_t m = 0; m < 4; ++m)
      current[m] = blend == MixBlend::Setup ? setup[m] : current[m] + (setup[m] - current[m]) * alpha;
  } else {
    float key[4];
    const size_t last = (count - 1) * Entries;
    if (atOrAfter(time, _frames[last])) {
      for (size_t m = 0; m < 4; ++m) key[m] = _frames[last + 1 + m];
    } else {
      const size_t frame = search(_frames, time, Entries);
      const float percent = percentBetween(frame, time);
      for (size_t m = 0; m < 4; ++m) {
        const float prev = _frames[frame - Entries + 1 + m];
        key[m] = prev + (_frames[frame + 1 + m] - prev) * percent;
      }
    }
    for (size_t m = 0; m < 4; ++m)
      current[m] = blend == MixBlend::Setup ? setup[m] + (key[m] - setup[m]) * alpha
                                            : current[m] + (key[m] - current[m]) * alpha;
  }
  constraint->setRotateMix(current[0]);
  constraint->setTranslateMix(current[1]);
  constraint->setScaleMix(current[2]);
  constraint->setShearMix(current[3]);
}

}  // namespace skel
