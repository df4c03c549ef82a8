/// @class TarnSkel::SkelAnimation
/// A framework drawable showing one skeleton: it owns the posed instance, its
/// animation state and mix data, and draws the slots as textured triangles
/// with the atlas page sprites.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/graphics/DrawState.h"
#include "framework/graphics/Drawer.h"
#include "framework/graphics/Graphic2D.h"
#include "skel/AnimationStateListenerObject.h"
#include "skel/BlendMode.h"

namespace skel {
class Animation;
class Slot;
class AnimationState;
class TrackEntry;
class AnimationStateData;
class Skeleton;
class SkeletonData;
}  // namespace skel

namespace TarnSkel {

/// The triangles the renderer draws for the slot's attachment, in window
/// coordinates: six vertices for a region, one per mesh triangle index. Gives
/// the atlas page sprite to draw them with, or null when there is nothing to
/// draw (no attachment, another kind, no page); vertices are replaced.
TarnFramework::Graphic2D* BuildSlotVertices(skel::Slot& slot, std::vector<TarnFramework::Graphic2D::Vertex>& vertices);

/// The framework's blend mode that draws a slot of the runtime's mode.
TarnFramework::BlendMode ToBlendMode(skel::BlendMode mode);

class SkelAnimation : public TarnFramework::Drawer {
 public:
  /// A sprite showing a new skeleton of the data, with its own animation state.
  /// The data is not owned and must outlive this sprite. The first animation
  /// is selected.
  explicit SkelAnimation(skel::SkeletonData* skeletonData);
  ~SkelAnimation() override;

  /// Loops the animation at index on track 0, from its start, cross-fading
  /// from what played by the mix data (stateData: setMix per pair,
  /// setDefaultMix; the default mix is 0, a cut). Drops what AddAnimation
  /// queued. An index out of range is ignored.
  void SetAnimation(int index);
  /// Queues the animation of that name on track 0 after what plays or is
  /// queued there, for Update to start: delay seconds after the animation
  /// before it started, or with delay 0 or less when that one reaches its end
  /// (the end of the loop it is in), early by their mix time and by -delay.
  /// On an empty track it starts at once. False when there is no such
  /// animation. PoseFrame, which selects currentAnimation every frame, drops
  /// the queue.
  bool AddAnimation(const char* name, bool loop, float delay);
  /// Ends what track 0 plays, cross-fade included, and drops the queue. The
  /// next Pose shows the setup pose (in the middle of a cross-fade, the Pose
  /// after the next Update), and the Update after that empties the track.
  void ClearTrack();
  /// The game's per-frame sequence: places the skeleton at (x, y) with the
  /// scale, loops the current animation again from its start, advances the
  /// state to frame (60 per second, wrapped into the animation's length; a
  /// skeleton without animations keeps its setup pose) and poses it unflipped.
  /// DrawPosed then draws it.
  void PoseFrame(int32_t frame, float x, float y, float scale);
  /// Applies the state and computes world transforms. Without flipV the y
  /// scale is negated, as the window's y grows downwards; the scales written
  /// stay in the skeleton.
  void Pose(bool flipH, bool flipV);
  /// Draws every slot of the posed skeleton.
  void DrawPosed();
  /// Pose, then DrawPosed, at the skeleton's own position and scale.
  /// NOTE: Pose writes the y scale it turned over back into the skeleton, so
  /// calling this twice without setting the scales again in between draws
  /// the second time upside down. DrawAt sets them on every call.
  void DrawSkeleton(bool flipH, bool flipV);

  /// Advances the animation state by seconds (looping as the animation was
  /// selected), for programs that count time in seconds rather than frames;
  /// starts what AddAnimation queued when its moment comes.
  void Update(float seconds);
  /// Places the skeleton at (x, y) with the scale, then poses and draws it:
  /// the same picture however often it is called.
  void DrawAt(float x, float y, float scale, bool flipH = false, bool flipV = false);

  /// Wears the skin of that name, or none when the data has no such skin.
  void SetSkin(const char* name);
  /// Poses the skeleton with the state as it stands (after construction: the
  /// first animation's start, unplaced) and gives the bone's world position;
  /// false when there is no such bone.
  bool FindBonePosition(const char* name, float& x, float& y);

  /// Frees the skeleton, its state and mix data; the data stays.
  void Release() override;
  /// A skeleton is not cut: this draws nothing.
  void DrawPart(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                bool flipV, const TarnFramework::Rect& source) override;
  /// Puts the skeleton's bounds at (x, y); angle and pivot are ignored.
  void DrawTransformed(int32_t x, int32_t y, double scale, double angle, int32_t pivotX, int32_t pivotY, bool flipH,
                       bool flipV) override;
  /// Puts the skeleton's bounds at (x, y), scaled on each axis or on both alike.
  /// @{
  void DrawScaled(int32_t x, int32_t y, double scaleX, double scaleY) override;
  void DrawScaledUniform(int32_t x, int32_t y, double scale) override;
  /// @}
  void Draw(int32_t x, int32_t y) override;
  /// The skeleton's size as width and height give it.
  /// @{
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  /// @}
  /// A skeleton has no tint of its own: these do nothing.
  /// @{
  void SetColor(uint32_t) override {}
  void ResetColor() override {}
  /// @}

  /// The owned mix data, posed skeleton and animation state.
  /// @{
  skel::AnimationStateData* stateData = nullptr;
  skel::Skeleton* skeleton = nullptr;
  skel::AnimationState* state = nullptr;
  /// @}
  /// The data's animation names, in order.
  std::vector<char*> animationNames;
  /// The index of the animation SetAnimation selected.
  int currentAnimation = 0;
  /// Seconds per frame for PoseFrame.
  float frameTime = 1.0f / 60.0f;
  /// The setup pose's bounding box: its size and where the skeleton's origin lies in it.
  /// @{
  int width = 0;
  int height = 0;
  int originX = 0;
  int originY = 0;
  /// @}

 private:
  struct Queued {
    skel::Animation* animation;
    bool loop;
    float delay;
    // The track time of the entry before it at which it starts.
    float startAt;
  };
  // Sets the animation on track 0; index is its place among the names, or -1 to find it.
  void Start(skel::Animation* animation, bool loop, int index);
  float StartTime(const skel::TrackEntry& before, const Queued& next) const;
  // Whether a listener is set on the state or the entry.
  bool Listened(const skel::TrackEntry& entry) const;

  std::vector<Queued> queued;
  // The runtime's do-nothing listeners, as a new state and a new entry have them.
  skel::AnimationStateListener quietState = nullptr;
  skel::AnimationStateListener quietEntry = nullptr;
  bool quietEntryKnown = false;
  // The data's animation for currentAnimation, found when it was selected.
  skel::Animation* selected = nullptr;
  int selectedIndex = -1;
  std::vector<TarnFramework::Graphic2D::Vertex> drawVertices;
};

}  // namespace TarnSkel
