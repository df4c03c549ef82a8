// The viewer's clock over one skeletal sprite: which animation plays, the
// time in it, looping, the mix preview (the first animation once, then the
// second set with a mix, as the game would), and the events that fire.
#pragma once

#include <string>
#include <vector>

#include "Layout.h"
#include "skel/AnimationStateListenerObject.h"

namespace TarnSkel {
class SkelAnimation;
}

namespace skelview {

// Seconds of one frame: the game counts time in frames of 1/60 s.
constexpr double kFrameSeconds = 1.0 / 60.0;

class Playback : public skel::AnimationStateListenerObject {
 public:
  // The sprite is not owned and must outlive the playback.
  explicit Playback(TarnSkel::SkelAnimation& sprite);
  ~Playback() override;
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  int AnimationCount() const;
  const char* AnimationName(int index) const;
  // The index of the named animation, or -1.
  int FindAnimation(const std::string& name) const;
  // Seconds of the animation at index (0 when there is none).
  double AnimationDuration(int index) const;

  // Plays the animation at index from its start; an index out of range is ignored.
  void Select(int index);
  int Selected() const { return first_; }
  // The skin of that name (empty or unknown: none); the pose is kept.
  void SetSkin(const std::string& name);
  // The mix preview: after one run of the selected animation, the one at
  // index is set with a mix of seconds. -1 ends the preview.
  void SetMix(int index, double seconds);
  int MixTarget() const { return second_; }
  double MixSeconds() const { return mixSeconds_; }
  void SetLoop(bool loop);
  bool Loop() const { return loop_; }

  // Length of what plays: the animation, or both runs of the mix preview.
  double Duration() const;
  double Time() const { return time_; }
  // Poses what plays at t (held to 0..Duration). Events are not fired.
  void Seek(double t);
  // Moves the clock on by seconds, firing the events met on the way. Without
  // loop the clock stops at the end: false then.
  bool Advance(double seconds);

  // Puts the skeleton at the placement and poses it (the state as it stands).
  void Place(const Placement& placement);
  // Events fired since the last call: the event's name, then its string
  // value in quotes when it has one.
  std::vector<std::string> TakeEvents();

  // The bounds the view fits, in skeleton units (y up): those of what shows
  // over the whole of what plays, held with the data's own box when it has
  // a size (a box that is too small would cut the character off).
  void Bounds(float& x, float& y, float& width, float& height) const;
  // The union of the shown triangles over count poses, step seconds apart
  // from the start (coming round past the end), in pixels of a placement at
  // the origin and scale 1 (y down); false when nothing shows. The clock
  // is left where it was.
  bool MeasurePoses(int count, double step, PoseBox& box);

  void callback(skel::AnimationState* state, skel::EventType type, skel::TrackEntry* entry,
                skel::Event* event) override;

 private:
  // A fresh state with only the selected animation on track 0, over the
  // setup pose.
  void Restart();
  void SwitchToSecond();
  double FirstDuration() const { return AnimationDuration(first_); }
  bool Mixing() const { return second_ >= 0; }
  void Apply();
  // Measures what plays for Bounds, after a change of what plays.
  void Remeasure();

  TarnSkel::SkelAnimation& sprite_;
  int first_ = 0;
  int second_ = -1;
  double mixSeconds_ = 0.2;
  bool loop_ = true;
  double time_ = 0;
  bool collecting_ = false;
  std::vector<std::string> events_;
  bool measured_ = false;
  PoseBox poses_{0, 0, 0, 0};
};

}  // namespace skelview
