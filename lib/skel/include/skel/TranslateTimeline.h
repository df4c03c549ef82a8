/// @class skel::TranslateTimeline
/// Keys of a bone's position, as offsets from its setup position.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class Bone;
class BoneData;

class TranslateTimeline : public CurveTimeline {
 public:
  /// Floats per key: its time, then the keyed values.
  static constexpr size_t Entries = 3;

  /// A timeline of frameCount keys, all zero.
  explicit TranslateTimeline(size_t frameCount);
  ~TranslateTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, float x, float y);

  /// The index in the skeleton of the bone the keys apply to.
  /// @{
  int getBoneIndex() const { return _boneIndex; }
  void setBoneIndex(int v) { _boneIndex = v; }

 protected:
  using BoneGetter = float (Bone::*)() const;
  using BoneSetter = void (Bone::*)(float);
  using SetupGetter = float (BoneData::*)() const;
  /// One pair of bone properties keyed as offsets from their setup values.
  struct OffsetPair {
    /// The pair's getters and setters on the bone, and its setup values.
    /// @{
    BoneGetter getX, getY;
    BoneSetter setX, setY;
    SetupGetter setupX, setupY;
    /// @}
  };

  /// The keyed (x, y) at time, which lies at or after the first key.
  void valueAt(float time, float& x, float& y) const;
  /// Blends the keyed offsets into the pair of properties of the target bone.
  void applyOffsets(Skeleton& skeleton, float time, float alpha, MixBlend blend, const OffsetPair& pair);

  int _boneIndex;
};

}  // namespace skel
