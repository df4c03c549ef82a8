/// @class skel::TransformConstraintTimeline
/// Keys of a transform constraint's four mixes.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class TransformConstraintTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 5;

  /// A timeline of frameCount keys, all zero.
  explicit TransformConstraintTimeline(size_t frameCount);
  ~TransformConstraintTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float rotateMix, float translateMix, float scaleMix, float shearMix);

  /// The index in the skeleton of the transform constraint the keys apply to.
  /// @{
  int getTransformConstraintIndex() const { return _transformConstraintIndex; }
  void setTransformConstraintIndex(int v) { _transformConstraintIndex = v; }

 private:
  int _transformConstraintIndex;
};

}  // namespace skel
