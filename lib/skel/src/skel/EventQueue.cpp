#include "skel/EventQueue.h"

#include "skel/AnimationState.h"
#include "skel/TrackEntry.h"

namespace skel {

EventQueue::EventQueue(AnimationState& state, Pool<TrackEntry>& trackEntryPool)
    : _state(state), _trackEntryPool(trackEntryPool), _drainDisabled(false) {}

EventQueue::~EventQueue() {}

void EventQueue::start(TrackEntry* entry) {
  _entries.add(EventQueueEntry(EventType::start, entry));
  _state._animationsChanged = true;
}

void EventQueue::interrupt(TrackEntry* entry) { _entries.add(EventQueueEntry(EventType::interrupt, entry)); }

void EventQueue::end(TrackEntry* entry) {
  _entries.add(EventQueueEntry(EventType::end, entry));
  _state._animationsChanged = true;
}

void EventQueue::dispose(TrackEntry* entry) { _entries.add(EventQueueEntry(EventType::dispose, entry)); }

void EventQueue::complete(TrackEntry* entry) { _entries.add(EventQueueEntry(EventType::complete, entry)); }

void EventQueue::event(TrackEntry* entry, Event* event) {
  _entries.add(EventQueueEntry(EventType::event, entry, event));
}

void EventQueue::drain() {
  if (_drainDisabled) return;
  _drainDisabled = true;
  // Listeners may queue more (setAnimation from a complete, say): the size is
  // read again every step, and each entry is copied out before the vector can grow.
  for (size_t i = 0; i < _entries.size(); ++i) {
    const EventQueueEntry queued = _entries[i];
    TrackEntry* entry = queued._entry;
    switch (queued._type) {
      case EventType::start:
      case EventType::interrupt:
      case EventType::complete:
      case EventType::event:
        entry->notify(&_state, queued._type, queued._event);
        _state.notify(queued._type, entry, queued._event);
        break;
      case EventType::end:
        entry->notify(&_state, EventType::end, nullptr);
        _state.notify(EventType::end, entry, nullptr);
        // An ended entry is disposed of at once.
        [[fallthrough]];
      case EventType::dispose:
        entry->notify(&_state, EventType::dispose, nullptr);
        _state.notify(EventType::dispose, entry, nullptr);
        entry->reset();
        _trackEntryPool.free(entry);
        break;
    }
  }
  _entries.clear();
  _drainDisabled = false;
}

}  // namespace skel
