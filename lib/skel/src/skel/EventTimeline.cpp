#include "skel/EventTimeline.h"

#include <cfloat>

#include "skel/Event.h"

namespace skel {

SKEL_RTTI_IMPL(EventTimeline, Timeline)

EventTimeline::EventTimeline(size_t frameCount) : Timeline(frameCount, 1) { _events.setSize(frameCount, nullptr); }

EventTimeline::~EventTimeline() { _events.clearAndDeleteAll(); }

int EventTimeline::getPropertyId() const { return propertyId(TimelineType::Event, 0); }

void EventTimeline::setFrame(size_t frameIndex, Event* event) {
  if (frameIndex >= _frames.size() || frameIndex >= _events.size()) {
    delete event;
    return;
  }
  if (_events[frameIndex] != event) delete _events[frameIndex];
  _events[frameIndex] = event;
  _frames[frameIndex] = event ? event->getTime() : 0;
}

void EventTimeline::apply(Skeleton&, float lastTime, float time, Vector<Event*>* events, float, MixBlend,
                          MixDirection) {
  if (!events || _frames.size() == 0) return;
  if (lastTime > time) {
    collect(lastTime, FLT_MAX, *events, false);
    collect(-1, time, *events, true);
    return;
  }
  collect(lastTime, time, *events, false);
}

// Keys after lastTime up to and including time. After a wrap lastTime is -1,
// which is not a key's time, so the test against the last key is skipped.
void EventTimeline::collect(float lastTime, float time, Vector<Event*>& events, bool wrapped) const {
  const size_t count = _frames.size() < _events.size() ? _frames.size() : _events.size();
  if (count == 0) return;
  if (!wrapped && lastTime >= _frames[count - 1]) return;
  if (time < _frames[0]) return;

  size_t frame = 0;
  if (!(lastTime < _frames[0]) && count > 1) {
    frame = search(_frames, lastTime);
    const float frameTime = _frames[frame];
    while (frame > 0 && _frames[frame - 1] == frameTime) --frame;
  }
  for (; frame < count && time >= _frames[frame]; ++frame)
    if (_events[frame]) events.add(_events[frame]);
}

}  // namespace skel
