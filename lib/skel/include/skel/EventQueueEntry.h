/// @class skel::EventQueueEntry
/// One notification waiting in an EventQueue.
#pragma once

#include "skel/EventType.h"
#include "skel/SkelObject.h"

namespace skel {

class Event;
class TrackEntry;

class EventQueueEntry : public SkelObject {
 public:
  /// A notification of type about entry, with the event for EventType::event; or a copy.
  /// @{
  EventQueueEntry(EventType type = EventType::start, TrackEntry* entry = nullptr, Event* event = nullptr)
      : _type(type), _entry(entry), _event(event) {}
  EventQueueEntry(const EventQueueEntry& other)
      : SkelObject(), _type(other._type), _entry(other._entry), _event(other._event) {}
  /// @}
  /// Copies the three fields.
  EventQueueEntry& operator=(const EventQueueEntry& other) {
    _type = other._type;
    _entry = other._entry;
    _event = other._event;
    return *this;
  }

  /// The notification's type, its entry and its event (null but for EventType::event).
  /// @{
  EventType _type;
  TrackEntry* _entry;
  Event* _event;
  /// @}
};

}  // namespace skel
