/// @class skel::AnimationStateListenerObject
/// Receivers of animation-state notifications: a plain function or an object.
#pragma once

#include "skel/EventType.h"

namespace skel {

class AnimationState;
class Event;
class TrackEntry;

/// A function told of animation-state notifications.
/// event is set for EventType::event only.
using AnimationStateListener = void (*)(AnimationState* state, EventType type, TrackEntry* entry, Event* event);

class AnimationStateListenerObject {
 public:
  virtual ~AnimationStateListenerObject() {}
  /// Told of every notification the listener was set for; event as for AnimationStateListener.
  virtual void callback(AnimationState* state, EventType type, TrackEntry* entry, Event* event) = 0;
};

}  // namespace skel
