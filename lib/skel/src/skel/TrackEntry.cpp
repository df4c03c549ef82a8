#include "skel/TrackEntry.h"

#include <cfloat>
#include <cmath>

namespace skel {

namespace {

void ignoreNotification(AnimationState*, EventType, TrackEntry*, Event*) {}

}  // namespace

TrackEntry::TrackEntry()
    : _animation(nullptr),
      _next(nullptr),
      _mixingFrom(nullptr),
      _mixingTo(nullptr),
      _trackIndex(0),
      _loop(false),
      _holdPrevious(false),
      _eventThreshold(0),
      _attachmentThreshold(0),
      _drawOrderThreshold(0),
      _animationStart(0),
      _animationEnd(0),
      _animationLast(-1),
      _nextAnimationLast(-1),
      _delay(0),
      _trackTime(0),
      _trackLast(-1),
      _nextTrackLast(-1),
      _trackEnd(FLT_MAX),
      _timeScale(1),
      _alpha(1),
      _mixTime(0),
      _mixDuration(0),
      _interruptAlpha(1),
      _totalAlpha(0),
      _mixBlend(MixBlend::Replace),
      _listener(ignoreNotification),
      _listenerObject(nullptr) {}

TrackEntry::~TrackEntry() {}

float TrackEntry::getAnimationTime() const {
  if (_loop) {
    const float duration = _animationEnd - _animationStart;
    if (duration == 0) return _animationStart;
    return static_cast<float>(std::fmod(static_cast<double>(_trackTime), static_cast<double>(duration))) +
           _animationStart;
  }
  const float time = _trackTime + _animationStart;
  return time < _animationEnd ? time : _animationEnd;
}

void TrackEntry::setListener(AnimationStateListener listener) { _listener = listener ? listener : ignoreNotification; }

void TrackEntry::setListener(AnimationStateListenerObject* listener) { _listenerObject = listener; }

void TrackEntry::notify(AnimationState* state, EventType type, Event* event) {
  if (_listenerObject)
    _listenerObject->callback(state, type, this, event);
  else
    _listener(state, type, this, event);
}

void TrackEntry::reset() {
  _animation = nullptr;
  _next = nullptr;
  _mixingFrom = nullptr;
  _mixingTo = nullptr;
  setRendererObject(nullptr, nullptr);
  _listener = ignoreNotification;
  _listenerObject = nullptr;
  _timelineMode.clear();
  _timelineHoldMix.clear();
  _timelinesRotation.clear();
}

}  // namespace skel
