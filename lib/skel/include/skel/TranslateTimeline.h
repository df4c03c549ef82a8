/// @class skel::TranslateTimeline
/// Keys of a bone's position, as offsets from its setup position.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class Bone;
class BoneData;

class TranslateTimeline : public CurveTimeline {
 public:
  static constexpr size_t Entries = 3;

  explicit TranslateTimeline(size_t frameCount);
  ~TranslateTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  void setFrame(size_t frameIndex, float time, float x, float y);

  int getBoneIndex() const { return _boneIndex; }
  void setBoneIndex(int v) { _boneIndex = v; }

 protected:
  using BoneGetter = float (Bone::*)() const;
  using BoneSetter = void (Bone::*)(float);
  using SetupGetter = float (BoneData::*)() const;
  /// One pair of bone properties keyed as offsets from their setup values.
  struct OffsetPair {
    BoneGetter getX, getY;
    BoneSetter setX, setY;
    SetupGetter setupX, setupY;
  };

  /// The keyed (x, y) at time, which lies at or after the first key.
  void valueAt(float time, float& x, float& y) const;
  /// Blends the keyed offsets into the pair of properties of the target bone.
  void applyOffsets(Skeleton& skeleton, float time, float alpha, MixBlend blend, const OffsetPair& pair);

  int _boneIndex;
};

}  // namespace skel
