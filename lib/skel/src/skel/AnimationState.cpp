#include "skel/AnimationState.h"

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "skel/Animation.h"
#include "skel/AnimationStateData.h"
#include "skel/AttachmentTimeline.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/EventQueue.h"
#include "skel/EventTimeline.h"
#include "skel/MathUtil.h"
#include "skel/RotateTimeline.h"
#include "skel/SkelExtension.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/TrackEntry.h"

namespace skel {

namespace {

void ignoreNotification(AnimationState*, EventType, TrackEntry*, Event*) {}

float signOf(float v) { return v > 0 ? 1.0f : (v < 0 ? -1.0f : 0.0f); }

double fmodDouble(float x, float y) { return std::fmod(static_cast<double>(x), static_cast<double>(y)); }

bool isExactly(const Timeline& timeline, const RTTI& rtti) { return timeline.getRTTI().isExactly(rtti); }

// A mode the hold computation has not written (it skips additive entries
// mixing out) counts as First: fade out toward the setup pose.
TimelineMode modeAt(const Vector<int>& modes, size_t k) {
  return k < modes.size() ? static_cast<TimelineMode>(modes[k]) : TimelineMode::First;
}

}  // namespace

AnimationState::AnimationState(AnimationStateData* data)
    : _data(data),
      _queue(nullptr),
      _animationsChanged(false),
      _listener(ignoreNotification),
      _listenerObject(nullptr),
      _unkeyedState(0),
      _timeScale(1) {
  OutOfMemoryEndsProgram ends(true);
  _queue = new (__FILE__, __LINE__) EventQueue(*this, _trackEntryPool);
}

AnimationState::~AnimationState() {
  for (size_t i = 0; i < _tracks.size(); ++i) {
    TrackEntry* current = _tracks[i];
    if (!current) continue;
    for (TrackEntry* entry = current->_mixingFrom; entry;) {
      TrackEntry* older = entry->_mixingFrom;
      delete entry;
      entry = older;
    }
    for (TrackEntry* entry = current->_next; entry;) {
      TrackEntry* later = entry->_next;
      delete entry;
      entry = later;
    }
    delete current;
  }
  _tracks.clear();
  delete _queue;
}

void AnimationState::setListener(AnimationStateListener listener) {
  _listener = listener ? listener : ignoreNotification;
}

void AnimationState::setListener(AnimationStateListenerObject* listener) { _listenerObject = listener; }

void AnimationState::notify(EventType type, TrackEntry* entry, Event* event) {
  if (_listenerObject)
    _listenerObject->callback(this, type, entry, event);
  else
    _listener(this, type, entry, event);
}

TrackEntry* AnimationState::getCurrent(size_t trackIndex) const {
  return trackIndex < _tracks.size() ? _tracks[trackIndex] : nullptr;
}

// ---------------------------------------------------------------------------
// Setting animations

TrackEntry* AnimationState::expandToIndex(size_t index, bool& ok) {
  ok = true;
  if (index < _tracks.size()) return _tracks[index];
  _tracks.setSize(index + 1, nullptr);
  ok = index < _tracks.size();
  return nullptr;
}

TrackEntry* AnimationState::setAnimation(size_t trackIndex, const String& animationName, bool loop) {
  OutOfMemoryEndsProgram ends(true);
  SkeletonData* skeletonData = _data ? _data->getSkeletonData() : nullptr;
  Animation* animation = skeletonData ? skeletonData->findAnimation(animationName) : nullptr;
  return animation ? setAnimation(trackIndex, animation, loop) : nullptr;
}

TrackEntry* AnimationState::setAnimation(size_t trackIndex, Animation* animation, bool loop) {
  OutOfMemoryEndsProgram ends(true);
  if (!animation || trackIndex >= MaxTracks) return nullptr;
  bool ok;
  TrackEntry* current = expandToIndex(trackIndex, ok);
  if (!ok) return nullptr;
  bool interrupt = true;
  if (current) {
    if (current->_nextTrackLast == -1) {
      // Never applied: drop it and mix from whatever it was mixing from.
      _tracks[trackIndex] = current->_mixingFrom;
      _queue->interrupt(current);
      _queue->end(current);
      disposeNext(current);
      current = current->_mixingFrom;
      interrupt = false;
    } else {
      disposeNext(current);
    }
  }
  TrackEntry* entry = newTrackEntry(trackIndex, animation, loop, current);
  setCurrent(trackIndex, entry, interrupt);
  _queue->drain();
  return entry;
}

TrackEntry* AnimationState::newTrackEntry(size_t trackIndex, Animation* animation, bool loop, TrackEntry* last) {
  TrackEntry* entry = _trackEntryPool.obtain();
  entry->_trackIndex = static_cast<int>(trackIndex);
  entry->_animation = animation;
  entry->_loop = loop;
  entry->_holdPrevious = false;
  entry->_eventThreshold = 0;
  entry->_attachmentThreshold = 0;
  entry->_drawOrderThreshold = 0;
  entry->_animationStart = 0;
  entry->_animationEnd = animation->getDuration();
  entry->_animationLast = -1;
  entry->_nextAnimationLast = -1;
  entry->_delay = 0;
  entry->_trackTime = 0;
  entry->_trackLast = -1;
  entry->_nextTrackLast = -1;
  entry->_trackEnd = FLT_MAX;
  entry->_timeScale = 1;
  entry->_alpha = 1;
  entry->_interruptAlpha = 1;
  entry->_mixTime = 0;
  entry->_mixDuration = last && _data ? _data->getMix(last->_animation, animation) : 0;
  // A recycled entry must not carry its previous use's blend or fade total.
  entry->_mixBlend = MixBlend::Replace;
  entry->_totalAlpha = 0;
  return entry;
}

void AnimationState::setCurrent(size_t index, TrackEntry* current, bool interrupt) {
  bool ok;
  TrackEntry* from = expandToIndex(index, ok);
  if (!ok) return;
  _tracks[index] = current;
  if (from) {
    if (interrupt) _queue->interrupt(from);
    current->_mixingFrom = from;
    from->_mixingTo = current;
    current->_mixTime = 0;
    // A mix interrupted partway keeps the share it had reached.
    if (from->_mixingFrom && from->_mixDuration > 0) {
      const float share = from->_mixTime / from->_mixDuration;
      current->_interruptAlpha *= share < 1 ? share : 1;
    }
    from->_timelinesRotation.clear();
  }
  _queue->start(current);
}

void AnimationState::disposeNext(TrackEntry* entry) {
  for (TrackEntry* next = entry->_next; next; next = next->_next) _queue->dispose(next);
  entry->_next = nullptr;
}

// ---------------------------------------------------------------------------
// Update

void AnimationState::update(float delta) {
  OutOfMemoryEndsProgram ends(true);
  delta *= _timeScale;
  for (size_t i = 0; i < _tracks.size(); ++i) {
    TrackEntry* current = _tracks[i];
    if (!current) continue;
    current->_animationLast = current->_nextAnimationLast;
    current->_trackLast = current->_nextTrackLast;
    float currentDelta = delta * current->_timeScale;

    if (current->_delay > 0) {
      current->_delay -= currentDelta;
      if (current->_delay > 0) continue;
      currentDelta = -current->_delay;
      current->_delay = 0;
    }

    TrackEntry* next = current->_next;
    if (next) {
      // The queued entry starts once this one's time passes its delay.
      const float nextTime = current->_trackLast - next->_delay;
      if (nextTime >= 0) {
        next->_delay = 0;
        next->_trackTime += current->_timeScale == 0 ? 0 : (nextTime / current->_timeScale + delta) * next->_timeScale;
        current->_trackTime += currentDelta;
        setCurrent(i, next, true);
        for (; next->_mixingFrom; next = next->_mixingFrom) next->_mixTime += delta;
        continue;
      }
    } else if (current->_trackLast >= current->_trackEnd && !current->_mixingFrom) {
      _tracks[i] = nullptr;
      _queue->end(current);
      disposeNext(current);
      continue;
    }

    if (current->_mixingFrom && updateMixingFrom(current, delta)) {
      // The whole chain below has finished mixing out.
      TrackEntry* from = current->_mixingFrom;
      current->_mixingFrom = nullptr;
      if (from) from->_mixingTo = nullptr;
      for (; from; from = from->_mixingFrom) _queue->end(from);
    }
    current->_trackTime += currentDelta;
  }
  _queue->drain();
}

bool AnimationState::updateMixingFrom(TrackEntry* to, float delta) {
  TrackEntry* from = to->_mixingFrom;
  if (!from) return true;
  const bool finished = updateMixingFrom(from, delta);
  from->_animationLast = from->_nextAnimationLast;
  from->_trackLast = from->_nextTrackLast;

  // The mix is complete once it has run its duration (at least one frame).
  if (to->_mixTime > 0 && to->_mixTime >= to->_mixDuration) {
    // Keep an entry that still holds values until nothing of it shows.
    if (from->_totalAlpha == 0 || to->_mixDuration == 0) {
      to->_mixingFrom = from->_mixingFrom;
      if (from->_mixingFrom) from->_mixingFrom->_mixingTo = to;
      to->_interruptAlpha = from->_interruptAlpha;
      _queue->end(from);
    }
    return finished;
  }
  from->_trackTime += delta * from->_timeScale;
  to->_mixTime += delta;
  return false;
}

// ---------------------------------------------------------------------------
// Apply

bool AnimationState::apply(Skeleton& skeleton) {
  OutOfMemoryEndsProgram ends(true);
  if (_animationsChanged) animationsChanged();

  bool applied = false;
  for (size_t i = 0; i < _tracks.size(); ++i) {
    TrackEntry* current = _tracks[i];
    if (!current || current->_delay > 0) continue;
    applied = true;

    // Track 0 is the bottom layer: with nothing under it, unkeyed times fall back to setup.
    const MixBlend blend = i == 0 ? MixBlend::First : current->_mixBlend;
    float mix = current->_alpha;
    if (current->_mixingFrom)
      mix *= applyMixingFrom(current, skeleton, blend);
    else if (current->_trackTime >= current->_trackEnd && !current->_next)
      mix = 0;  // The last application before the track ends returns to setup.

    const float animationLast = current->_animationLast;
    const float animationTime = current->getAnimationTime();
    const Vector<Timeline*>& timelines = current->_animation->getTimelines();
    const size_t timelineCount = timelines.size();

    if ((i == 0 && mix == 1) || blend == MixBlend::Add) {
      for (size_t k = 0; k < timelineCount; ++k) {
        Timeline& timeline = *timelines[k];
        if (isExactly(timeline, AttachmentTimeline::rtti))
          applyAttachmentTimeline(static_cast<AttachmentTimeline&>(timeline), skeleton, animationTime, blend, true);
        else
          timeline.apply(skeleton, animationLast, animationTime, &_events, mix, blend, MixDirection::In);
      }
    } else {
      Vector<float>& rotations = current->_timelinesRotation;
      const bool firstFrame = rotations.size() == 0;
      if (firstFrame) rotations.setSize(timelineCount << 1, 0.0f);
      for (size_t k = 0; k < timelineCount; ++k) {
        Timeline& timeline = *timelines[k];
        const MixBlend timelineBlend =
            modeAt(current->_timelineMode, k) == TimelineMode::Subsequent ? blend : MixBlend::Setup;
        if (isExactly(timeline, RotateTimeline::rtti))
          applyRotateTimeline(static_cast<RotateTimeline&>(timeline), skeleton, animationTime, mix, timelineBlend,
                              rotations, k << 1, firstFrame);
        else if (isExactly(timeline, AttachmentTimeline::rtti))
          applyAttachmentTimeline(static_cast<AttachmentTimeline&>(timeline), skeleton, animationTime, timelineBlend,
                                  true);
        else
          timeline.apply(skeleton, animationLast, animationTime, &_events, mix, timelineBlend, MixDirection::In);
      }
    }
    queueEvents(current, animationTime);
    _events.clear();
    current->_nextAnimationLast = animationTime;
    current->_nextTrackLast = current->_trackTime;
  }

  // Slots no entry keyed this frame go back to their setup attachment.
  const int setupState = _unkeyedState + SetupState;
  for (Slot* slot : skeleton.getSlots()) {
    if (!slot || slot->getAttachmentState() != setupState) continue;
    AttachmentTimeline::setAttachment(skeleton, *slot, slot->getData().getAttachmentName());
  }
  _unkeyedState += 2;
  _queue->drain();
  return applied;
}

float AnimationState::applyMixingFrom(TrackEntry* to, Skeleton& skeleton, MixBlend blend) {
  TrackEntry* from = to->_mixingFrom;
  if (from->_mixingFrom) applyMixingFrom(from, skeleton, blend);

  float mix;
  if (to->_mixDuration == 0) {
    // Over no time from shows at no weight, but with Setup what only it
    // keyed still returns to the setup pose.
    mix = 1;
    if (blend == MixBlend::First) blend = MixBlend::Setup;
  } else {
    mix = to->_mixTime / to->_mixDuration;
    if (mix > 1) mix = 1;
    if (blend != MixBlend::First) blend = from->_mixBlend;
  }

  Vector<Event*>* eventBuffer = mix < from->_eventThreshold ? &_events : nullptr;
  const bool attachments = mix < from->_attachmentThreshold;
  const bool drawOrder = mix < from->_drawOrderThreshold;
  const float animationLast = from->_animationLast;
  const float animationTime = from->getAnimationTime();
  const Vector<Timeline*>& timelines = from->_animation->getTimelines();
  const size_t timelineCount = timelines.size();
  const float alphaHold = from->_alpha * to->_interruptAlpha;
  const float alphaMix = alphaHold * (1 - mix);

  if (blend == MixBlend::Add) {
    for (size_t k = 0; k < timelineCount; ++k)
      timelines[k]->apply(skeleton, animationLast, animationTime, eventBuffer, alphaMix, blend, MixDirection::Out);
  } else {
    Vector<float>& rotations = from->_timelinesRotation;
    const bool firstFrame = rotations.size() == 0;
    if (firstFrame) rotations.setSize(timelineCount << 1, 0.0f);
    from->_totalAlpha = 0;
    for (size_t k = 0; k < timelineCount; ++k) {
      Timeline& timeline = *timelines[k];
      MixBlend timelineBlend;
      float alpha;
      switch (modeAt(from->_timelineMode, k)) {
        case TimelineMode::Subsequent:
          if (!drawOrder && isExactly(timeline, DrawOrderTimeline::rtti)) continue;
          timelineBlend = blend;
          alpha = alphaMix;
          break;
        case TimelineMode::First:
          timelineBlend = MixBlend::Setup;
          alpha = alphaMix;
          break;
        case TimelineMode::HoldSubsequent:
          timelineBlend = blend;
          alpha = alphaHold;
          break;
        case TimelineMode::HoldFirst:
          timelineBlend = MixBlend::Setup;
          alpha = alphaHold;
          break;
        default: {
          timelineBlend = MixBlend::Setup;
          const TrackEntry* holdMix = k < from->_timelineHoldMix.size() ? from->_timelineHoldMix[k] : nullptr;
          float share = 0;
          if (holdMix && holdMix->_mixDuration > 0) share = 1 - holdMix->_mixTime / holdMix->_mixDuration;
          alpha = alphaHold * (share > 0 ? share : 0);
          break;
        }
      }
      from->_totalAlpha += alpha;

      if (isExactly(timeline, RotateTimeline::rtti)) {
        applyRotateTimeline(static_cast<RotateTimeline&>(timeline), skeleton, animationTime, alpha, timelineBlend,
                            rotations, k << 1, firstFrame);
      } else if (isExactly(timeline, AttachmentTimeline::rtti)) {
        applyAttachmentTimeline(static_cast<AttachmentTimeline&>(timeline), skeleton, animationTime, timelineBlend,
                                attachments);
      } else {
        const MixDirection direction =
            drawOrder && timelineBlend == MixBlend::Setup && isExactly(timeline, DrawOrderTimeline::rtti)
                ? MixDirection::In
                : MixDirection::Out;
        timeline.apply(skeleton, animationLast, animationTime, eventBuffer, alpha, timelineBlend, direction);
      }
    }
  }

  if (to->_mixDuration > 0) queueEvents(from, animationTime);
  _events.clear();
  from->_nextAnimationLast = animationTime;
  from->_nextTrackLast = from->_trackTime;
  return mix;
}

// Mixing two rotations by the shorter way round pops when the poses cross:
// the direction taken at the start of the mix is kept by tracking the total
// turn in rotations[i] and the last difference in rotations[i + 1].
void AnimationState::applyRotateTimeline(RotateTimeline& timeline, Skeleton& skeleton, float time, float alpha,
                                         MixBlend blend, Vector<float>& rotations, size_t i, bool firstFrame) {
  if (i + 1 >= rotations.size()) return;
  if (firstFrame) rotations[i] = 0;
  if (alpha == 1) {
    timeline.apply(skeleton, 0, time, nullptr, 1, blend, MixDirection::In);
    return;
  }

  const int boneIndex = timeline.getBoneIndex();
  Vector<Bone*>& bones = skeleton.getBones();
  if (boneIndex < 0 || static_cast<size_t>(boneIndex) >= bones.size()) return;
  Bone* bone = bones[static_cast<size_t>(boneIndex)];
  const Vector<float>& frames = timeline.getFrames();
  const size_t count = timeline.getFrameCount();
  if (!bone || !bone->isActive() || count == 0) return;
  const float setup = bone->getData().getRotation();

  float r1, r2;
  if (time < frames[0]) {
    switch (blend) {
      case MixBlend::Setup: bone->setRotation(setup); return;
      case MixBlend::First:
        r1 = bone->getRotation();
        r2 = setup;
        break;
      default: return;
    }
  } else {
    r1 = blend == MixBlend::Setup ? setup : bone->getRotation();
    const size_t last = (count - 1) * RotateTimeline::Entries;
    if (Timeline::atOrAfter(time, frames[last])) {
      r2 = setup + frames[last + 1];
    } else {
      const size_t frame = Timeline::search(frames, time, RotateTimeline::Entries);
      const float prev = frames[frame - 1];
      const float percent = timeline.percentBetween(frame, time);
      r2 = MathUtil::wrapDegrees(prev + MathUtil::wrapDegrees(frames[frame + 1] - prev) * percent + setup);
    }
  }

  const float diff = MathUtil::wrapDegrees(r2 - r1);
  float total;
  if (diff == 0) {
    total = rotations[i];
  } else {
    float lastTotal, lastDiff;
    if (firstFrame) {
      lastTotal = 0;
      lastDiff = diff;
    } else {
      lastTotal = rotations[i];
      lastDiff = rotations[i + 1];
    }
    const bool current = diff > 0;
    bool dir = lastTotal >= 0;
    // The difference changed sign near 0: the poses crossed.
    if (signOf(lastDiff) != signOf(diff) && std::fabs(lastDiff) <= 90) {
      if (std::fabs(lastTotal) > 180) lastTotal += 360 * signOf(lastTotal);
      dir = current;
    }
    total = diff + lastTotal - static_cast<float>(fmodDouble(lastTotal, 360));
    if (dir != current) total += 360 * signOf(lastTotal);
    rotations[i] = total;
  }
  rotations[i + 1] = diff;
  bone->setRotation(MathUtil::wrapDegrees(r1 + total * alpha));
}

void AnimationState::applyAttachmentTimeline(AttachmentTimeline& timeline, Skeleton& skeleton, float time,
                                             MixBlend blend, bool attachments) {
  const int slotIndex = timeline.getSlotIndex();
  Vector<Slot*>& slots = skeleton.getSlots();
  if (slotIndex < 0 || static_cast<size_t>(slotIndex) >= slots.size()) return;
  Slot* slot = slots[static_cast<size_t>(slotIndex)];
  if (!slot || !slot->getBone().isActive()) return;

  const Vector<float>& frames = timeline.getFrames();
  if (frames.size() > 0) {
    if (time < frames[0]) {
      if (blend == MixBlend::Setup || blend == MixBlend::First)
        setAttachment(skeleton, *slot, slot->getData().getAttachmentName(), attachments);
    } else if (const String* name = timeline.keyedName(time)) {
      setAttachment(skeleton, *slot, *name, attachments);
    }
  }
  // Not keyed by anyone yet this frame: apply restores the setup attachment
  // unless a later entry keys it.
  if (slot->getAttachmentState() <= _unkeyedState) slot->setAttachmentState(_unkeyedState + SetupState);
}

void AnimationState::setAttachment(Skeleton& skeleton, Slot& slot, const String& attachmentName, bool attachments) {
  AttachmentTimeline::setAttachment(skeleton, slot, attachmentName);
  if (attachments) slot.setAttachmentState(_unkeyedState + CurrentState);
}

void AnimationState::queueEvents(TrackEntry* entry, float animationTime) {
  const float animationStart = entry->_animationStart, animationEnd = entry->_animationEnd;
  const float duration = animationEnd - animationStart;
  const float trackLastWrapped = static_cast<float>(fmodDouble(entry->_trackLast, duration));

  // Events up to the end of the animation, before complete.
  size_t i = 0;
  const size_t n = _events.size();
  for (; i < n; ++i) {
    Event* event = _events[i];
    if (event->getTime() < trackLastWrapped) break;
    if (event->getTime() > animationEnd) continue;
    _queue->event(entry, event);
  }

  bool complete;
  if (entry->_loop)
    complete = duration == 0 || trackLastWrapped > static_cast<float>(fmodDouble(entry->_trackTime, duration));
  else
    complete = animationTime >= animationEnd && entry->_animationLast < animationEnd;
  if (complete) _queue->complete(entry);

  // Events after the wrap.
  for (; i < n; ++i) {
    Event* event = _events[i];
    if (event->getTime() < animationStart) continue;
    _queue->event(entry, event);
  }
}

// ---------------------------------------------------------------------------
// Timeline modes

// Describes the chain the modes are worked out over (oldest entry first on
// each track, tracks in order) with everything they depend on: each entry's
// animation and its timeline count, and the flags computeHold reads. False
// when memory ran out.
bool AnimationState::describeHoldChain() {
  _chain.clear();
  _chainEntries.clear();
  for (size_t i = 0; i < _tracks.size(); ++i) {
    TrackEntry* entry = _tracks[i];
    if (!entry) continue;
    if (!_chain.add(~static_cast<unsigned long long>(i))) return false;
    while (entry->_mixingFrom) entry = entry->_mixingFrom;
    do {
      const unsigned long long flags = (entry->_mixingTo ? 1u : 0u) | (entry->_mixBlend == MixBlend::Add ? 2u : 0u) |
                                       (entry->_holdPrevious ? 4u : 0u) | (entry->_mixDuration > 0 ? 8u : 0u);
      const unsigned long long animation = reinterpret_cast<uintptr_t>(entry->_animation);
      if (!_chain.add(animation) || !_chain.add(entry->_animation->getTimelines().size()) || !_chain.add(flags) ||
          !_chainEntries.add(entry))
        return false;
      entry = entry->_mixingTo;
    } while (entry);
  }
  return true;
}

// The kept modes for a chain described as the last one was; false when there
// are none (or memory ran out copying them).
bool AnimationState::copyHeldModes() {
  const size_t count = _chainEntries.size();
  if (count == 0 || _chain != _holdChain || _holdModes.size() != count || _holdMixAt.size() != count) return false;
  for (size_t p = 0; p < count; ++p) {
    TrackEntry* entry = _chainEntries[p];
    if (entry->_mixingTo && entry->_mixBlend == MixBlend::Add) continue;
    const Vector<int>& at = _holdMixAt[p];
    entry->_timelineMode = _holdModes[p];
    entry->_timelineHoldMix.setSize(at.size(), nullptr);
    if (entry->_timelineMode.size() != _holdModes[p].size() || entry->_timelineHoldMix.size() != at.size())
      return false;
    for (size_t k = 0; k < at.size(); ++k)
      entry->_timelineHoldMix[k] = at[k] < 0 ? nullptr : _chainEntries[static_cast<size_t>(at[k])];
  }
  return true;
}

// Keeps the modes just worked out, hold entries as positions in the chain.
void AnimationState::keepModes(bool described) {
  _holdChain.clear();
  _holdModes.clear();
  _holdMixAt.clear();
  const size_t count = _chainEntries.size();
  if (!described) return;
  _holdModes.setSize(count, Vector<int>());
  _holdMixAt.setSize(count, Vector<int>());
  if (_holdModes.size() != count || _holdMixAt.size() != count) return;
  for (size_t p = 0; p < count; ++p) {
    const TrackEntry* entry = _chainEntries[p];
    _holdModes[p] = entry->_timelineMode;
    Vector<int>& at = _holdMixAt[p];
    at.setSize(entry->_timelineHoldMix.size(), -1);
    if (_holdModes[p].size() != entry->_timelineMode.size() || at.size() != entry->_timelineHoldMix.size()) {
      _holdModes.clear();
      _holdMixAt.clear();
      return;
    }
    for (size_t k = 0; k < at.size(); ++k) {
      const TrackEntry* hold = entry->_timelineHoldMix[k];
      for (size_t q = 0; hold && q < count; ++q)
        if (_chainEntries[q] == hold) at[k] = static_cast<int>(q);
    }
  }
  _holdChain = _chain;
  if (_holdChain.size() != _chain.size()) _holdChain.clear();
}

void AnimationState::animationsChanged() {
  _animationsChanged = false;
  const bool described = describeHoldChain();
  if (described && copyHeldModes()) return;

  _propertyIDs.clear();
  // Oldest entry first on each track, tracks in order: the first entry to key
  // a property owns it.
  for (size_t i = 0; i < _tracks.size(); ++i) {
    TrackEntry* entry = _tracks[i];
    if (!entry) continue;
    while (entry->_mixingFrom) entry = entry->_mixingFrom;
    do {
      if (!entry->_mixingTo || entry->_mixBlend != MixBlend::Add) computeHold(entry);
      entry = entry->_mixingTo;
    } while (entry);
  }
  keepModes(described);
}

void AnimationState::computeHold(TrackEntry* entry) {
  TrackEntry* to = entry->_mixingTo;
  const Vector<Timeline*>& timelines = entry->_animation->getTimelines();
  const size_t count = timelines.size();
  Vector<int>& modes = entry->_timelineMode;
  Vector<TrackEntry*>& holdMix = entry->_timelineHoldMix;
  modes.setSize(count, 0);
  holdMix.setSize(count, nullptr);
  if (modes.size() != count || holdMix.size() != count) return;

  if (to && to->_holdPrevious) {
    for (size_t k = 0; k < count; ++k) {
      const int id = timelines[k]->getPropertyId();
      const bool seen = !_propertyIDs.insert(id);
      modes[k] = static_cast<int>(seen ? TimelineMode::HoldSubsequent : TimelineMode::HoldFirst);
      holdMix[k] = nullptr;
    }
    return;
  }

  for (size_t k = 0; k < count; ++k) {
    const Timeline& timeline = *timelines[k];
    const int id = timeline.getPropertyId();
    holdMix[k] = nullptr;
    if (!_propertyIDs.insert(id)) {
      modes[k] = static_cast<int>(TimelineMode::Subsequent);
      continue;
    }
    if (!to || isExactly(timeline, AttachmentTimeline::rtti) || isExactly(timeline, DrawOrderTimeline::rtti) ||
        isExactly(timeline, EventTimeline::rtti) || !to->_animation->hasTimeline(id)) {
      modes[k] = static_cast<int>(TimelineMode::First);
      continue;
    }
    // The next entry also keys it: hold this value under it, fading the
    // hold with the first later entry that does not key it.
    modes[k] = static_cast<int>(TimelineMode::HoldFirst);
    for (TrackEntry* next = to->_mixingTo; next; next = next->_mixingTo) {
      if (next->_animation->hasTimeline(id)) continue;
      if (next->_mixDuration > 0) {
        modes[k] = static_cast<int>(TimelineMode::HoldMix);
        holdMix[k] = next;
      }
      break;
    }
  }
}

}  // namespace skel
