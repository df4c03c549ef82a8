/// @class skel::PathConstraintSpacingTimeline
/// Keys of a path constraint's spacing between its bones.
#pragma once

#include "skel/PathConstraintPositionTimeline.h"

namespace skel {

class PathConstraintSpacingTimeline : public PathConstraintPositionTimeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit PathConstraintSpacingTimeline(size_t frameCount);
  ~PathConstraintSpacingTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;
};

}  // namespace skel
