/// @class skel::TwoColorTimeline
/// Keys of a slot's light tint (r, g, b, a) and dark tint (r2, g2, b2).
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class TwoColorTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 8;

  /// A timeline of frameCount keys, all zero.
  explicit TwoColorTimeline(size_t frameCount);
  ~TwoColorTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float r, float g, float b, float a, float r2, float g2, float b2);

  /// The index in the skeleton of the slot the keys apply to.
  /// @{
  int getSlotIndex() const { return _slotIndex; }
  void setSlotIndex(int v) { _slotIndex = v; }

 private:
  int _slotIndex;
};

}  // namespace skel
