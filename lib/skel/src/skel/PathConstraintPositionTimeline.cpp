#include "skel/PathConstraintPositionTimeline.h"

#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(PathConstraintPositionTimeline, CurveTimeline)

PathConstraintPositionTimeline::PathConstraintPositionTimeline(size_t frameCount)
    : CurveTimeline(frameCount, Entries), _pathConstraintIndex(0) {}

PathConstraintPositionTimeline::~PathConstraintPositionTimeline() {}

int PathConstraintPositionTimeline::getPropertyId() const {
  return propertyId(TimelineType::PathConstraintPosition, _pathConstraintIndex);
}

void PathConstraintPositionTimeline::setFrame(size_t frameIndex, float time, float value) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = value;
}

float PathConstraintPositionTimeline::valueAt(float time) const {
  const size_t last = (getFrameCount() - 1) * Entries;
  if (atOrAfter(time, _frames[last])) return _frames[last + 1];
  const size_t frame = search(_frames, time, Entries);
  const float percent = percentBetween(frame, time);
  const float prev = _frames[frame - 1];
  return prev + (_frames[frame + 1] - prev) * percent;
}

void PathConstraintPositionTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha,
                                           MixBlend blend, MixDirection) {
  PathConstraint* constraint = activePathConstraint(skeleton, _pathConstraintIndex);
  if (!constraint || getFrameCount() == 0) return;
  const float setup = constraint->getData().getPosition();
  const float current = constraint->getPosition();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup)
      constraint->setPosition(setup);
    else if (blend == MixBlend::First)
      constraint->setPosition(current + (setup - current) * alpha);
    return;
  }
  const float value = valueAt(time);
  if (blend == MixBlend::Setup)
    constraint->setPosition(setup + (value - setup) * alpha);
  else
    constraint->setPosition(current + (value - current) * alpha);
}

}  // namespace skel
