/// @class skel::IkConstraintTimeline
/// Keys of an IK constraint's mix and softness (interpolated) and its bend
/// direction, compress and stretch (held from key to key).
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class IkConstraintTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 6;

  /// A timeline of frameCount keys, all zero.
  explicit IkConstraintTimeline(size_t frameCount);
  ~IkConstraintTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float mix, float softness, int bendDirection, bool compress,
                bool stretch);

  /// The index in the skeleton of the IK constraint the keys apply to.
  /// @{
  int getIkConstraintIndex() const { return _ikConstraintIndex; }
  void setIkConstraintIndex(int v) { _ikConstraintIndex = v; }

 private:
  int _ikConstraintIndex;
};

}  // namespace skel
