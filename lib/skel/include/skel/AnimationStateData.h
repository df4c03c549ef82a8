/// @class skel::AnimationStateData
/// Mix durations for an animation state: one per (from, to) pair of
/// animations, else a default.
#pragma once

#include "skel/HashMap.h"
#include "skel/SkelObject.h"

namespace skel {

class Animation;
class SkeletonData;
class String;

class AnimationStateData : public SkelObject {
 public:
  /// Two animations in order; pairs are equal when both names are equal.
  class AnimationPair : public SkelObject {
   public:
    /// The pair of from and to, or a copy.
    /// @{
    AnimationPair(Animation* from = nullptr, Animation* to = nullptr) : _from(from), _to(to) {}
    AnimationPair(const AnimationPair& other) : SkelObject(), _from(other._from), _to(other._to) {}
    /// @}
    /// Copies both animations.
    AnimationPair& operator=(const AnimationPair& other) {
      _from = other._from;
      _to = other._to;
      return *this;
    }
    /// Equal when both names are equal.
    bool operator==(const AnimationPair& other) const;
    /// Pairs are equal by their animations' names, and hash so.
    friend size_t hashKey(const AnimationPair& pair);

    /// The animation mixed from, and the one mixed to.
    /// @{
    Animation* _from;
    Animation* _to;
    /// @}
  };

  /// The skeleton data is not owned; the default mix starts at 0.
  explicit AnimationStateData(SkeletonData* skeletonData);
  AnimationStateData(const AnimationStateData&) = delete;
  AnimationStateData& operator=(const AnimationStateData&) = delete;
  ~AnimationStateData() override;

  /// The data whose animations the mixes name.
  SkeletonData* getSkeletonData() const { return _skeletonData; }
  /// The mix duration, in seconds, of pairs without one of their own.
  /// @{
  float getDefaultMix() const { return _defaultMix; }
  void setDefaultMix(float v) { _defaultMix = v; }
  /// @}

  /// Sets the mix duration, in seconds, from one animation to another.
  /// Null animations are ignored.
  void setMix(Animation* from, Animation* to, float duration);
  /// The same by name in the skeleton data; false when either animation is missing.
  bool setMix(const String& fromName, const String& toName, float duration);
  /// The pair's duration, else the default mix.
  float getMix(Animation* from, Animation* to) const;

 private:
  SkeletonData* _skeletonData;
  float _defaultMix;
  HashMap<AnimationPair, float> _animationToMixTime;
};

}  // namespace skel
