#include "skel/AnimationStateData.h"

#include "skel/Animation.h"
#include "skel/NameIndex.h"
#include "skel/SkelExtension.h"
#include "skel/SkeletonData.h"

namespace skel {

size_t hashKey(const AnimationStateData::AnimationPair& pair) {
  const size_t from = pair._from ? NameIndex::hashName(pair._from->getName()) : 0;
  const size_t to = pair._to ? NameIndex::hashName(pair._to->getName()) : 0;
  return from * 31 + to;
}

bool AnimationStateData::AnimationPair::operator==(const AnimationPair& other) const {
  // A null animation matches only itself.
  const bool fromEqual = _from && other._from ? _from->getName() == other._from->getName() : _from == other._from;
  const bool toEqual = _to && other._to ? _to->getName() == other._to->getName() : _to == other._to;
  return fromEqual && toEqual;
}

AnimationStateData::AnimationStateData(SkeletonData* skeletonData) : _skeletonData(skeletonData), _defaultMix(0) {}

AnimationStateData::~AnimationStateData() {}

void AnimationStateData::setMix(Animation* from, Animation* to, float duration) {
  if (!from || !to) return;
  // No way to report a failed request: it ends the program.
  OutOfMemoryEndsProgram ends(true);
  _animationToMixTime.put(AnimationPair(from, to), duration);
}

bool AnimationStateData::setMix(const String& fromName, const String& toName, float duration) {
  if (!_skeletonData) return false;
  Animation* from = _skeletonData->findAnimation(fromName);
  Animation* to = _skeletonData->findAnimation(toName);
  if (!from || !to) return false;
  setMix(from, to, duration);
  return true;
}

float AnimationStateData::getMix(Animation* from, Animation* to) const {
  const float* duration = _animationToMixTime.find(AnimationPair(from, to));
  return duration ? *duration : _defaultMix;
}

}  // namespace skel
