/// @class skel::Animation
/// A named, timed list of timelines, each keying one property of the skeleton.
#pragma once

#include "skel/MixBlend.h"
#include "skel/MixDirection.h"
#include "skel/PropertyIdSet.h"
#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class Event;
class Skeleton;
class Timeline;

class Animation : public SkelObject {
 public:
  /// An animation of that name and length, without timelines.
  Animation(const String& name, float duration);
  /// Takes the timelines (the vector itself is copied); null entries are dropped.
  Animation(const String& name, const Vector<Timeline*>& timelines, float duration);
  Animation(const Animation&) = delete;
  Animation& operator=(const Animation&) = delete;
  ~Animation() override;

  /// Applies every timeline at time. With loop and a non-zero duration both
  /// times are taken modulo the duration first (lastTime only when positive).
  void apply(Skeleton& skeleton, float lastTime, float time, bool loop, Vector<Event*>* events, float alpha,
             MixBlend blend, MixDirection direction);

  /// Whether a timeline with this property id is in the animation.
  bool hasTimeline(int propertyId) const;

  /// The animation's name, its length in seconds and its timelines.
  /// @{
  const String& getName() const { return _name; }
  float getDuration() const { return _duration; }
  void setDuration(float v) { _duration = v; }
  const Vector<Timeline*>& getTimelines() const { return _timelines; }
  /// @}

 private:
  Vector<Timeline*> _timelines;
  PropertyIdSet _timelineIds;
  float _duration;
  const String _name;
};

}  // namespace skel
