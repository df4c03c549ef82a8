#include "Playback.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skelcheck/DrawnBox.h"

namespace skelview {

namespace {

skel::Animation* FindByName(TarnSkel::SkelAnimation& sprite, int index) {
  if (!sprite.skeleton || index < 0 || index >= static_cast<int>(sprite.animationNames.size())) return nullptr;
  return sprite.skeleton->getData()->findAnimation(skel::String(sprite.animationNames[index]));
}

}  // namespace

Playback::Playback(TarnSkel::SkelAnimation& sprite) : sprite_(sprite) {
  Restart();
  Remeasure();
}

Playback::~Playback() {
  if (sprite_.state) sprite_.state->setListener(static_cast<skel::AnimationStateListenerObject*>(nullptr));
}

int Playback::AnimationCount() const { return static_cast<int>(sprite_.animationNames.size()); }

const char* Playback::AnimationName(int index) const {
  return index >= 0 && index < AnimationCount() ? sprite_.animationNames[index] : "";
}

int Playback::FindAnimation(const std::string& name) const {
  for (int i = 0; i < AnimationCount(); ++i) {
    if (name == sprite_.animationNames[i]) return i;
  }
  return -1;
}

double Playback::AnimationDuration(int index) const {
  skel::Animation* animation = FindByName(sprite_, index);
  if (!animation) return 0;
  const double duration = animation->getDuration();
  // A hostile file may claim anything; keep the clock's arithmetic finite.
  return std::isfinite(duration) && duration > 0 ? std::min(duration, 1e6) : 0;
}

void Playback::Select(int index) {
  if (index < 0 || index >= AnimationCount()) return;
  first_ = index;
  if (second_ >= 0) SetMix(second_, mixSeconds_);
  time_ = 0;
  Remeasure();
}

void Playback::SetSkin(const std::string& name) {
  if (!sprite_.skeleton) return;
  sprite_.SetSkin(name.c_str());
  Remeasure();
}

void Playback::SetMix(int index, double seconds) {
  const int before = second_;
  second_ = index >= 0 && index < AnimationCount() ? index : -1;
  mixSeconds_ = std::isfinite(seconds) ? std::max(0.0, seconds) : 0;
  skel::Animation* from = FindByName(sprite_, first_);
  skel::Animation* to = FindByName(sprite_, second_);
  if (from && to && sprite_.stateData) sprite_.stateData->setMix(from, to, static_cast<float>(mixSeconds_));
  // Another length of mix blends the same poses: the bar drags smoothly.
  if (second_ != before)
    Remeasure();
  else
    Seek(time_);
}

void Playback::SetLoop(bool loop) {
  loop_ = loop;
  Seek(time_);
}

double Playback::Duration() const { return Mixing() ? FirstDuration() + AnimationDuration(second_) : FirstDuration(); }

void Playback::Restart() {
  if (!sprite_.skeleton || !sprite_.stateData) return;
  // A new state forgets every entry and mix; properties only an earlier
  // animation keyed go back to the setup pose with the skeleton.
  if (sprite_.state) sprite_.state->setListener(static_cast<skel::AnimationStateListenerObject*>(nullptr));
  delete sprite_.state;
  sprite_.state = new skel::AnimationState(sprite_.stateData);
  sprite_.state->setListener(this);
  sprite_.skeleton->setBonesToSetupPose();
  sprite_.skeleton->setSlotsToSetupPose();
  sprite_.currentAnimation = first_;
  if (skel::Animation* animation = FindByName(sprite_, first_)) {
    // The preview's first run loops, as a game's idle would, so the mix
    // fades out of a moving pose.
    sprite_.state->setAnimation(0, animation, loop_ || Mixing());
  }
}

void Playback::SwitchToSecond() {
  // The first run must have been applied, or the state drops it instead of
  // mixing from it.
  Apply();
  if (skel::Animation* animation = FindByName(sprite_, second_)) {
    sprite_.state->setAnimation(0, animation, loop_);
  }
}

void Playback::Apply() {
  if (sprite_.state && sprite_.skeleton) sprite_.state->apply(*sprite_.skeleton);
}

void Playback::Seek(double t) {
  if (!std::isfinite(t)) t = 0;
  t = std::clamp(t, 0.0, Duration());
  collecting_ = false;
  Restart();
  if (!sprite_.state) return;
  const double firstRun = FirstDuration();
  if (Mixing() && t >= firstRun) {
    sprite_.state->update(static_cast<float>(firstRun));
    SwitchToSecond();
    sprite_.state->update(static_cast<float>(t - firstRun));
  } else {
    sprite_.state->update(static_cast<float>(t));
  }
  // Applied here so the next step fires only the events after t.
  Apply();
  time_ = t;
}

bool Playback::Advance(double seconds) {
  if (!sprite_.state || !(seconds > 0)) return true;
  const double duration = Duration();
  if (duration <= 0) return true;
  double target = time_ + seconds;
  if (target >= duration) {
    if (!loop_) {
      target = duration;
    } else if (Mixing()) {
      // The preview starts over from the first animation.
      Seek(std::fmod(target, duration));
      return true;
    }
  }
  collecting_ = true;
  const double firstRun = FirstDuration();
  if (Mixing() && time_ < firstRun && target >= firstRun) {
    sprite_.state->update(static_cast<float>(firstRun - time_));
    SwitchToSecond();
    sprite_.state->update(static_cast<float>(target - firstRun));
  } else {
    sprite_.state->update(static_cast<float>(target - time_));
  }
  Apply();
  collecting_ = false;
  const bool running = loop_ || target < duration;
  time_ = loop_ && !Mixing() ? std::fmod(target, duration) : target;
  return running;
}

void Playback::Place(const Placement& placement) {
  if (!sprite_.skeleton) return;
  sprite_.skeleton->setX(placement.x);
  sprite_.skeleton->setY(placement.y);
  sprite_.skeleton->setScaleX(placement.scale);
  sprite_.skeleton->setScaleY(placement.scale);
  sprite_.Pose(false, false);
}

std::vector<std::string> Playback::TakeEvents() {
  std::vector<std::string> taken;
  taken.swap(events_);
  return taken;
}

void Playback::callback(skel::AnimationState*, skel::EventType type, skel::TrackEntry*, skel::Event* event) {
  if (!collecting_ || type != skel::EventType::event || !event) return;
  const char* name = event->getData().getName().buffer();
  std::string text = name ? name : "";
  const char* value = event->getStringValue().buffer();
  if (value && *value) text += std::string(" \"") + value + "\"";
  // A run of events in one frame shows the latest few, not a wall of text.
  if (events_.size() < 16) events_.push_back(text);
}

bool Playback::MeasurePoses(int count, double step, PoseBox& box) {
  const double now = time_, duration = Duration();
  skelcheck::DrawnBox drawn;
  for (int k = 0; k < count && sprite_.skeleton; ++k) {
    Seek(duration > 0 ? std::fmod(k * step, duration) : 0);
    Place({0, 0, 1});
    skelcheck::AddPose(*sprite_.skeleton, drawn);
  }
  Seek(now);
  if (drawn.Empty()) return false;
  box = {drawn.minX, drawn.minY, drawn.maxX, drawn.maxY};
  return true;
}

void Playback::Remeasure() {
  // Every frame the game would show, up to a few hundred poses spread over
  // a long animation.
  constexpr int kMostPoses = 240;
  const double duration = Duration();
  const int count = std::clamp(static_cast<int>(std::ceil(duration / kFrameSeconds)), 1, kMostPoses);
  measured_ = MeasurePoses(count, duration / count, poses_);
}

void Playback::Bounds(float& x, float& y, float& width, float& height) const {
  x = y = width = height = 0;
  if (!sprite_.skeleton) return;
  // Skeleton units, y up: the measured box turned over.
  float minX = FLT_MAX, minY = FLT_MAX, maxX = -FLT_MAX, maxY = -FLT_MAX;
  if (measured_) {
    minX = poses_.minX;
    maxX = poses_.maxX;
    minY = -poses_.maxY;
    maxY = -poses_.minY;
  }
  const skel::SkeletonData* data = sprite_.skeleton->getData();
  if (data->getWidth() > 0 && data->getHeight() > 0 && std::isfinite(data->getWidth() + data->getHeight()) &&
      std::isfinite(data->getX() + data->getY())) {
    minX = std::min(minX, data->getX());
    minY = std::min(minY, data->getY());
    maxX = std::max(maxX, data->getX() + data->getWidth());
    maxY = std::max(maxY, data->getY() + data->getHeight());
  }
  if (minX > maxX) return;
  x = minX;
  y = minY;
  width = maxX - minX;
  height = maxY - minY;
}

}  // namespace skelview
