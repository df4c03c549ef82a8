/// @class skel::ColorTimeline
/// Keys of a slot's tint (r, g, b, a).
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class ColorTimeline : public CurveTimeline {
 public:
  static constexpr size_t Entries = 5;

  explicit ColorTimeline(size_t frameCount);
  ~ColorTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  void setFrame(size_t frameIndex, float time, float r, float g, float b, float a);

  int getSlotIndex() const { return _slotIndex; }
  void setSlotIndex(int v) { _slotIndex = v; }

 private:
  int _slotIndex;
};

}  // namespace skel
