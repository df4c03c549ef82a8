/// @class skel::EventQueue
/// Notifications of an AnimationState, collected while it works and delivered
/// to the listeners in order by drain.
#pragma once

#include "skel/EventQueueEntry.h"
#include "skel/Pool.h"
#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

class AnimationState;
class TrackEntry;

class EventQueue : public SkelObject {
 public:
  /// A queue for the state; disposed entries go back to the pool.
  EventQueue(AnimationState& state, Pool<TrackEntry>& trackEntryPool);
  EventQueue(const EventQueue&) = delete;
  EventQueue& operator=(const EventQueue&) = delete;
  ~EventQueue() override;

  /// Queues one notification of each type about entry.
  /// Start and end also tell the state that its set of entries changed.
  /// @{
  void start(TrackEntry* entry);
  void interrupt(TrackEntry* entry);
  void end(TrackEntry* entry);
  void dispose(TrackEntry* entry);
  void complete(TrackEntry* entry);
  void event(TrackEntry* entry, Event* event);
  /// @}

  /// Delivers every queued notification, including those listeners queue
  /// meanwhile; disposed entries go back to the pool. A nested call returns at once.
  void drain();

  /// Notifications waiting to be delivered.
  size_t size() const { return _entries.size(); }

 private:
  Vector<EventQueueEntry> _entries;
  AnimationState& _state;
  Pool<TrackEntry>& _trackEntryPool;
  bool _drainDisabled;
};

}  // namespace skel
