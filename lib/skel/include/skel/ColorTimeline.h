/// @class skel::ColorTimeline
/// Keys of a slot's tint (r, g, b, a).
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class ColorTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 5;

  /// A timeline of frameCount keys, all zero.
  explicit ColorTimeline(size_t frameCount);
  ~ColorTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float r, float g, float b, float a);

  /// The index in the skeleton of the slot the keys apply to.
  /// @{
  int getSlotIndex() const { return _slotIndex; }
  void setSlotIndex(int v) { _slotIndex = v; }

 private:
  int _slotIndex;
};

}  // namespace skel
