/// @class skel::EventTimeline
/// Keys that fire events; the timeline owns its events.
#pragma once

#include "skel/Timeline.h"

namespace skel {

class EventTimeline : public Timeline {
 public:
  /// A timeline of frameCount keys, each without an event yet.
  explicit EventTimeline(size_t frameCount);
  ~EventTimeline() override;

  SKEL_RTTI_DECL

 public:
  /// Appends the events keyed after lastTime up to and including time; when
  /// time is before lastTime the animation wrapped, and the keys up to the
  /// end come first. Alpha, blend and direction do not matter.
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Takes the event, keyed at its own time; an event already at the key is deleted.
  void setFrame(size_t frameIndex, Event* event);

  /// The event of each key, in key order.
  /// @{
  Vector<Event*>& getEvents() { return _events; }
  const Vector<Event*>& getEvents() const { return _events; }
  /// @}

 private:
  void collect(float lastTime, float time, Vector<Event*>& events, bool wrapped) const;

  Vector<Event*> _events;
};

}  // namespace skel
