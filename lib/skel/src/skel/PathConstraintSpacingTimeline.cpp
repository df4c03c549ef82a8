#include "skel/PathConstraintSpacingTimeline.h"

#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(PathConstraintSpacingTimeline, PathConstraintPositionTimeline)

PathConstraintSpacingTimeline::PathConstraintSpacingTimeline(size_t frameCount)
    : PathConstraintPositionTimeline(frameCount) {}

PathConstraintSpacingTimeline::~PathConstraintSpacingTimeline() {}

int PathConstraintSpacingTimeline::getPropertyId() const {
  return propertyId(TimelineType::PathConstraintSpacing, _pathConstraintIndex);
}

void PathConstraintSpacingTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha,
                                          MixBlend blend, MixDirection) {
  PathConstraint* constraint = activePathConstraint(skeleton, _pathConstraintIndex);
  if (!constraint || getFrameCount() == 0) return;
  const float setup = constraint->getData().getSpacing();
  const float current = constraint->getSpacing();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup)
      constraint->setSpacing(setup);
    else if (blend == MixBlend::First)
      constraint->setSpacing(current + (setup - current) * alpha);
    return;
  }
  const float value = valueAt(time);
  if (blend == MixBlend::Setup)
    constraint->setSpacing(setup + (value - setup) * alpha);
  else
    constraint->setSpacing(current + (value - current) * alpha);
}

}  // namespace skel
