#include "skel/Animation.h"

#include <cmath>

#include "skel/Timeline.h"

namespace skel {

Animation::Animation(const String& name, float duration) : _duration(duration), _name(name) {}

Animation::Animation(const String& name, const Vector<Timeline*>& timelines, float duration)
    : _duration(duration), _name(name) {
  _timelines.ensureCapacity(timelines.size());
  for (Timeline* timeline : timelines) {
    if (!timeline) continue;
    _timelines.add(timeline);
    _timelineIds.insert(timeline->getPropertyId());
  }
}

Animation::~Animation() { _timelines.clearAndDeleteAll(); }

bool Animation::hasTimeline(int propertyId) const { return _timelineIds.contains(propertyId); }

void Animation::apply(Skeleton& skeleton, float lastTime, float time, bool loop, Vector<Event*>* events, float alpha,
                      MixBlend blend, MixDirection direction) {
  if (loop && _duration != 0) {
    time = static_cast<float>(std::fmod(static_cast<double>(time), static_cast<double>(_duration)));
    if (lastTime > 0)
      lastTime = static_cast<float>(std::fmod(static_cast<double>(lastTime), static_cast<double>(_duration)));
  }
  for (Timeline* timeline : _timelines) timeline->apply(skeleton, lastTime, time, events, alpha, blend, direction);
}

}  // namespace skel
