/// @class skel::PathConstraintPositionTimeline
/// Keys of a path constraint's position along its path.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class PathConstraintPositionTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 2;

  /// A timeline of frameCount keys, all zero.
  explicit PathConstraintPositionTimeline(size_t frameCount);
  ~PathConstraintPositionTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float value);

  /// The index in the skeleton of the path constraint the keys apply to.
  /// @{
  int getPathConstraintIndex() const { return _pathConstraintIndex; }
  void setPathConstraintIndex(int v) { _pathConstraintIndex = v; }

 protected:
  /// The keyed value at time, which lies at or after the first key.
  float valueAt(float time) const;

  int _pathConstraintIndex;
};

}  // namespace skel
