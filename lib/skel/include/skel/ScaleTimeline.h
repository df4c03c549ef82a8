/// @class skel::ScaleTimeline
/// Keys of a bone's scale, as factors of its setup scale.
#pragma once

#include "skel/TranslateTimeline.h"

namespace skel {

class ScaleTimeline : public TranslateTimeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit ScaleTimeline(size_t frameCount);
  ~ScaleTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;
};

}  // namespace skel
