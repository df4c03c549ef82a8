#include "skel/PathConstraintMixTimeline.h"

#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(PathConstraintMixTimeline, CurveTimeline)

PathConstraintMixTimeline::PathConstraintMixTimeline(size_t frameCount)
    : CurveTimeline(frameCount, Entries), _pathConstraintIndex(0) {}

PathConstraintMixTimeline::~PathConstraintMixTimeline() {}

int PathConstraintMixTimeline::getPropertyId() const {
  return propertyId(TimelineType::PathConstraintMix, _pathConstraintIndex);
}

void PathConstraintMixTimeline::setFrame(size_t frameIndex, float time, float rotateMix, float translateMix) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = rotateMix;
  _frames[i + 2] = translateMix;
}

void PathConstraintMixTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha,
                                      MixBlend blend, MixDirection) {
  PathConstraint* constraint = activePathConstraint(skeleton, _pathConstraintIndex);
  const size_t count = getFrameCount();
  if (!constraint || count == 0) return;
  const PathConstraintData& data = constraint->getData();
  const float setupRotate = data.getRotateMix(), setupTranslate = data.getTranslateMix();
  const float rotate = constraint->getRotateMix(), translate = constraint->getTranslateMix();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup) {
      constraint->setRotateMix(setupRotate);
      constraint->setTranslateMix(setupTranslate);
    } else if (blend == MixBlend::First) {
      constraint->setRotateMix(rotate + (setupRotate - rotate) * alpha);
      constraint->setTranslateMix(translate + (setupTranslate - translate) * alpha);
    }
    return;
  }

  float keyRotate, keyTranslate;
  const size_t last = (count - 1) * Entries;
  if (atOrAfter(time, _frames[last])) {
    keyRotate = _frames[last + 1];
    keyTranslate = _frames[last + 2];
  } else {
    const size_t frame = search(_frames, time, Entries);
    const float percent = percentBetween(frame, time);
    keyRotate = _frames[frame - 2] + (_frames[frame + 1] - _frames[frame - 2]) * percent;
    keyTranslate = _frames[frame - 1] + (_frames[frame + 2] - _frames[frame - 1]) * percent;
  }
  if (blend == MixBlend::Setup) {
    constraint->setRotateMix(setupRotate + (keyRotate - setupRotate) * alpha);
    constraint->setTranslateMix(setupTranslate + (keyTranslate - setupTranslate) * alpha);
  } else {
    constraint->setRotateMix(rotate + (keyRotate - rotate) * alpha);
    constraint->setTranslateMix(translate + (keyTranslate - translate) * alpha);
  }
}

}  // namespace skel
