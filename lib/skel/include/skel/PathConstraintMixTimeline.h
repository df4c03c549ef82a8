/// @class skel::PathConstraintMixTimeline
/// Keys of a path constraint's rotate and translate mixes.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class PathConstraintMixTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 3;

  /// A timeline of frameCount keys, all zero.
  explicit PathConstraintMixTimeline(size_t frameCount);
  ~PathConstraintMixTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float rotateMix, float translateMix);

  /// The index in the skeleton of the path constraint the keys apply to.
  /// @{
  int getPathConstraintIndex() const { return _pathConstraintIndex; }
  void setPathConstraintIndex(int v) { _pathConstraintIndex = v; }

 private:
  int _pathConstraintIndex;
};

}  // namespace skel
