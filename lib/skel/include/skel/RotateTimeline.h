/// @class skel::RotateTimeline
/// Keys of a bone's rotation in degrees, absolute; mixing takes the shorter way round.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class RotateTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 2;

  /// A timeline of frameCount keys, all zero.
  explicit RotateTimeline(size_t frameCount);
  ~RotateTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float degrees);

  /// The index in the skeleton of the bone the keys apply to.
  /// @{
  int getBoneIndex() const { return _boneIndex; }
  void setBoneIndex(int v) { _boneIndex = v; }

 private:
  int _boneIndex;
};

}  // namespace skel
