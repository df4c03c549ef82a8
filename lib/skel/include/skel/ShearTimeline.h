/// @class skel::ShearTimeline
/// Keys of a bone's shear in degrees, as offsets from its setup shear.
#pragma once

#include "skel/TranslateTimeline.h"

namespace skel {

class ShearTimeline : public TranslateTimeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit ShearTimeline(size_t frameCount);
  ~ShearTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;
};

}  // namespace skel
