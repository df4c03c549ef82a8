/// @class skel::TrackEntry
/// One animation playing on a track of an AnimationState, with its own clock,
/// and its links to the entries it fades from and into.
#pragma once

#include <cstdint>

#include "skel/AnimationStateListenerObject.h"
#include "skel/HasRendererObject.h"
#include "skel/MixBlend.h"
#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

class Animation;

/// How one timeline of an entry is applied while the entry mixes out.
enum class TimelineMode : int32_t { Subsequent = 0, First = 1, HoldSubsequent = 2, HoldFirst = 3, HoldMix = 4 };

class TrackEntry : public SkelObject, public HasRendererObject {
  friend class AnimationState;
  friend class EventQueue;

 public:
  TrackEntry();
  ~TrackEntry() override;

  /// The animation time for the track time: wrapped into [start, end) when
  /// looping, else held at the end.
  float getAnimationTime() const;

  /// The animation the entry plays.
  Animation* getAnimation() const { return _animation; }
  /// The entry queued after this one, and the entries it mixes from and into (null when none).
  /// @{
  TrackEntry* getNext() const { return _next; }
  TrackEntry* getMixingFrom() const { return _mixingFrom; }
  TrackEntry* getMixingTo() const { return _mixingTo; }
  /// @}
  /// The track the entry plays on.
  int getTrackIndex() const { return _trackIndex; }
  /// Whether the animation repeats; otherwise it holds its last pose.
  /// @{
  bool getLoop() const { return _loop; }
  void setLoop(bool v) { _loop = v; }
  /// @}
  /// Keeps the previous entry's values held under this one instead of mixing them out.
  /// @{
  bool getHoldPrevious() const { return _holdPrevious; }
  void setHoldPrevious(bool v) { _holdPrevious = v; }
  /// @}
  /// While this entry mixes out, its events, attachment keys and draw-order
  /// keys still act as long as the mix is below the threshold.
  /// @{
  float getEventThreshold() const { return _eventThreshold; }
  void setEventThreshold(float v) { _eventThreshold = v; }
  float getAttachmentThreshold() const { return _attachmentThreshold; }
  void setAttachmentThreshold(float v) { _attachmentThreshold = v; }
  float getDrawOrderThreshold() const { return _drawOrderThreshold; }
  void setDrawOrderThreshold(float v) { _drawOrderThreshold = v; }
  /// @}
  /// The part of the animation played (seconds) and the animation time last applied.
  /// @{
  float getAnimationStart() const { return _animationStart; }
  void setAnimationStart(float v) { _animationStart = v; }
  float getAnimationEnd() const { return _animationEnd; }
  void setAnimationEnd(float v) { _animationEnd = v; }
  float getAnimationLast() const { return _animationLast; }
  void setAnimationLast(float v) {
    _animationLast = v;
    _nextAnimationLast = v;
  }
  /// @}
  /// Seconds before the entry starts, once the one before it ends.
  /// @{
  float getDelay() const { return _delay; }
  void setDelay(float v) { _delay = v; }
  /// @}
  /// Seconds the entry has played, and when the track stops playing it.
  /// @{
  float getTrackTime() const { return _trackTime; }
  void setTrackTime(float v) { _trackTime = v; }
  float getTrackEnd() const { return _trackEnd; }
  void setTrackEnd(float v) { _trackEnd = v; }
  /// @}
  /// How fast the entry's clock runs (1 is normal speed) and how strongly it is applied.
  /// @{
  float getTimeScale() const { return _timeScale; }
  void setTimeScale(float v) { _timeScale = v; }
  float getAlpha() const { return _alpha; }
  void setAlpha(float v) { _alpha = v; }
  /// @}
  /// Seconds into the mix from the previous entry, and the mix's length.
  /// @{
  float getMixTime() const { return _mixTime; }
  void setMixTime(float v) { _mixTime = v; }
  float getMixDuration() const { return _mixDuration; }
  void setMixDuration(float v) { _mixDuration = v; }
  /// @}
  /// How far the mix had got when interrupted, and the mix of the whole chain of entries faded from.
  /// @{
  float getInterruptAlpha() const { return _interruptAlpha; }
  float getTotalAlpha() const { return _totalAlpha; }
  /// @}
  /// How the entry's values combine with what lies under them.
  /// @{
  MixBlend getMixBlend() const { return _mixBlend; }
  void setMixBlend(MixBlend v) { _mixBlend = v; }
  /// @}
  /// Per timeline of the animation: its TimelineMode, the entry a held value
  /// mixes with, and the rotation already made towards the target (two floats each).
  /// @{
  const Vector<int>& getTimelineMode() const { return _timelineMode; }
  const Vector<TrackEntry*>& getTimelineHoldMix() const { return _timelineHoldMix; }
  const Vector<float>& getTimelinesRotation() const { return _timelinesRotation; }
  /// @}

  /// Notifications about this entry go here before the state's own listener.
  void setListener(AnimationStateListener listener);
  /// The same with a listener object (not owned), used instead of the function while set.
  void setListener(AnimationStateListenerObject* listener);
  /// The listener function last set (a do-nothing one when none was) and the listener object (null when none).
  /// @{
  AnimationStateListener getListener() const { return _listener; }
  AnimationStateListenerObject* getListenerObject() const { return _listenerObject; }
  /// @}

 private:
  // Back to the state of a pooled entry: links, listeners and renderer object dropped.
  void reset();
  void notify(AnimationState* state, EventType type, Event* event);

  Animation* _animation;
  TrackEntry* _next;
  TrackEntry* _mixingFrom;
  TrackEntry* _mixingTo;
  int _trackIndex;
  bool _loop;
  bool _holdPrevious;
  float _eventThreshold, _attachmentThreshold, _drawOrderThreshold;
  float _animationStart, _animationEnd, _animationLast, _nextAnimationLast;
  float _delay, _trackTime, _trackLast, _nextTrackLast, _trackEnd, _timeScale;
  float _alpha, _mixTime, _mixDuration, _interruptAlpha, _totalAlpha;
  MixBlend _mixBlend;
  Vector<int> _timelineMode;
  Vector<TrackEntry*> _timelineHoldMix;
  Vector<float> _timelinesRotation;
  AnimationStateListener _listener;
  AnimationStateListenerObject* _listenerObject;
};

}  // namespace skel
