/// @class skel::TransformConstraintTimeline
/// Keys of a transform constraint's four mixes.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class TransformConstraintTimeline : public CurveTimeline {
 public:
  static constexpr size_t Entries = 5;

  explicit TransformConstraintTimeline(size_t frameCount);
  ~TransformConstraintTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  void setFrame(size_t frameIndex, float time, float rotateMix, float translateMix, float scaleMix, float shearMix);

  int getTransformConstraintIndex() const { return _transformConstraintIndex; }
  void setTransformConstraintIndex(int v) { _transformConstraintIndex = v; }

 private:
  int _transformConstraintIndex;
};

}  // namespace skel
