/// @class skel::AnimationState
/// Plays animations on numbered tracks and cross-fades ("mixes") from the
/// entry that was playing when a new one is set. Call update with the elapsed
/// seconds, then apply on a skeleton, once per frame.
#pragma once

#include <cstddef>

#include "skel/AnimationStateListenerObject.h"
#include "skel/HasRendererObject.h"
#include "skel/HashMap.h"
#include "skel/MixBlend.h"
#include "skel/Pool.h"
#include "skel/PropertyIdSet.h"
#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

class Animation;
class AnimationStateData;
class AttachmentTimeline;
class Event;
class EventQueue;
class RotateTimeline;
class Skeleton;
class Slot;
class String;
class TrackEntry;

class AnimationState : public SkelObject, public HasRendererObject {
  friend class EventQueue;

 public:
  /// Track indexes from this value on are refused.
  static constexpr size_t MaxTracks = 1 << 16;

  /// A state without tracks, mixing by the data's durations.
  /// The data is not owned and must outlive the state.
  explicit AnimationState(AnimationStateData* data);
  AnimationState(const AnimationState&) = delete;
  AnimationState& operator=(const AnimationState&) = delete;
  ~AnimationState() override;

  // None of these can report a failed request: one ends the program
  // through the extension's outOfMemory (OutOfMemoryEndsProgram).

  /// Advances every track's clock and the mixes by delta seconds.
  void update(float delta);
  /// Poses the skeleton from every track; true when at least one track applied.
  bool apply(Skeleton& skeleton);

  /// Plays the animation on the track now, mixing from what plays there.
  /// Null for a null animation or a track index of MaxTracks or more.
  TrackEntry* setAnimation(size_t trackIndex, Animation* animation, bool loop);
  /// By name in the data's skeleton data; null when there is no such animation.
  TrackEntry* setAnimation(size_t trackIndex, const String& animationName, bool loop);

  /// The entry playing on the track, or null.
  TrackEntry* getCurrent(size_t trackIndex) const;
  /// The mix durations, the tracks (an entry or null each)
  /// and how fast every track's clock runs (1 is normal speed).
  /// @{
  AnimationStateData* getData() const { return _data; }
  const Vector<TrackEntry*>& getTracks() const { return _tracks; }
  float getTimeScale() const { return _timeScale; }
  void setTimeScale(float v) { _timeScale = v; }
  /// @}

  /// Receives every notification, after the entry's own listener.
  void setListener(AnimationStateListener listener);
  /// The same with a listener object (not owned), used instead of the function while set.
  void setListener(AnimationStateListenerObject* listener);
  /// The listener function last set (a do-nothing one when none was) and the listener object (null when none).
  /// @{
  AnimationStateListener getListener() const { return _listener; }
  AnimationStateListenerObject* getListenerObject() const { return _listenerObject; }
  /// @}

 private:
  // Slot attachment states relative to the unkeyed state.
  static constexpr int SetupState = 1;
  static constexpr int CurrentState = 2;

  void notify(EventType type, TrackEntry* entry, Event* event);
  // The entry on track index, growing the track list when needed.
  TrackEntry* expandToIndex(size_t index, bool& ok);
  TrackEntry* newTrackEntry(size_t trackIndex, Animation* animation, bool loop, TrackEntry* last);
  void setCurrent(size_t index, TrackEntry* current, bool interrupt);
  void disposeNext(TrackEntry* entry);
  bool updateMixingFrom(TrackEntry* to, float delta);
  float applyMixingFrom(TrackEntry* to, Skeleton& skeleton, MixBlend blend);
  void applyRotateTimeline(RotateTimeline& timeline, Skeleton& skeleton, float time, float alpha, MixBlend blend,
                           Vector<float>& timelinesRotation, size_t i, bool firstFrame);
  void applyAttachmentTimeline(AttachmentTimeline& timeline, Skeleton& skeleton, float time, MixBlend blend,
                               bool attachments);
  void setAttachment(Skeleton& skeleton, Slot& slot, const String& attachmentName, bool attachments);
  void queueEvents(TrackEntry* entry, float animationTime);
  void animationsChanged();
  void computeHold(TrackEntry* entry);

  AnimationStateData* _data;
  Pool<TrackEntry> _trackEntryPool;
  Vector<TrackEntry*> _tracks;
  Vector<Event*> _events;
  EventQueue* _queue;
  // The properties keyed so far while the modes are worked out. Refilled
  // whenever the tracks change, which a caller setting the animation each
  // frame makes every frame.
  PropertyIdSet _propertyIDs;
  // The modes depend only on the entries' animations, their order and a
  // few flags; a caller setting the same animation each frame makes the
  // same chain every frame. The last chain's description and its results
  // (hold entries as positions in the chain) are kept and copied when the
  // chain is described the same way again.
  Vector<unsigned long long> _holdChain, _chain;
  Vector<TrackEntry*> _chainEntries;
  Vector<Vector<int>> _holdModes;
  Vector<Vector<int>> _holdMixAt;
  bool describeHoldChain();
  bool copyHeldModes();
  void keepModes(bool described);
  bool _animationsChanged;
  AnimationStateListener _listener;
  AnimationStateListenerObject* _listenerObject;
  int _unkeyedState;
  float _timeScale;
};

}  // namespace skel
