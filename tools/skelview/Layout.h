// Where the viewer puts the skeleton: the view area of the window and the
// placement that fits the skeleton's bounds into an area. Shared with the
// render mode, so a rendered frame matches what the viewer shows.
#pragma once

#include <algorithm>
#include <cstdint>

namespace skelview {

// The panel of controls on the right and the time bar below the view.
// Colours both the view and the editing overlay use (0xAABBGGRR).
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFFC0C0C0;
constexpr uint32_t kErrorColor = 0xFF5050FF;  // red

constexpr int32_t kPanelWidth = 300;
constexpr int32_t kTimeBarHeight = 70;

struct Area {
  int32_t x, y, width, height;
};

// The controls: x from the panel's left edge, y from the window's top.
struct Spot {
  int32_t x, y, width, height;
};
constexpr Spot kAnimationList{10, 30, 280, 120};
constexpr Spot kSkinList{10, 180, 280, 72};
constexpr Spot kPlayButton{10, 264, 88, 30};
constexpr Spot kBackButton{106, 264, 88, 30};
constexpr Spot kForwardButton{202, 264, 88, 30};
constexpr Spot kLoopButton{10, 302, 88, 30};
constexpr Spot kBonesButton{106, 302, 88, 30};
constexpr Spot kBoundsButton{202, 302, 88, 30};
constexpr Spot kSpeedBar{10, 370, 280, 20};
constexpr Spot kMixList{10, 424, 280, 72};
constexpr Spot kMixBar{10, 526, 280, 20};
// The time bar runs under the view, inset from its sides, this far above
// the window's bottom edge.
constexpr int32_t kTimeBarInset = 10;
constexpr int32_t kTimeBarBottom = 40;
constexpr int32_t kTimeBarThickness = 20;
// The slot list, shown on request over the view's right edge, this far in
// from it and from the top, below its title.
constexpr int32_t kSlotListInset = 10;
constexpr int32_t kSlotListTop = 36;
constexpr int32_t kSlotListWidth = 220;
// The longest mix the preview's bar offers, in seconds.
constexpr double kMaxMixSeconds = 2.0;

// The part of a window of that size the skeleton is drawn in (at least 1 x 1).
inline Area ViewArea(int32_t windowWidth, int32_t windowHeight) {
  return {0, 0, std::max<int32_t>(1, windowWidth - kPanelWidth), std::max<int32_t>(1, windowHeight - kTimeBarHeight)};
}

// Skeleton position and scale (in the area's own pixels, y down) that put
// the bounds (skeleton units, y up) in the middle of the area with a margin
// of 5% on the tighter side. Empty bounds are placed unscaled.
struct Placement {
  float x, y, scale;
};

// A rectangle in pixels, y down, as its edges.
struct PoseBox {
  float minX, minY, maxX, maxY;
};

inline Placement FitBounds(float boundsX, float boundsY, float boundsWidth, float boundsHeight, int32_t areaWidth,
                           int32_t areaHeight) {
  float scale = 1.0f;
  if (boundsWidth > 0 && boundsHeight > 0) {
    scale = std::min(0.9f * static_cast<float>(areaWidth) / boundsWidth,
                     0.9f * static_cast<float>(areaHeight) / boundsHeight);
  }
  const float centreX = boundsX + boundsWidth / 2, centreY = boundsY + boundsHeight / 2;
  return {static_cast<float>(areaWidth) / 2 - centreX * scale, static_cast<float>(areaHeight) / 2 + centreY * scale,
          scale};
}

// The user's zoom and pan over the fitted placement: a window point p of the
// fitted view shows at zoom * p + pan. The fresh camera shows the fit.
struct Camera {
  float zoom = 1.0f;
  float panX = 0.0f, panY = 0.0f;
};
constexpr float kMinZoom = 1.0f / 16, kMaxZoom = 64.0f;

inline Placement ApplyCamera(const Camera& camera, const Placement& fit) {
  return {camera.zoom * fit.x + camera.panX, camera.zoom * fit.y + camera.panY, camera.zoom * fit.scale};
}

// Zooms by factor (held to the zoom's range) keeping the window point (x, y)
// where it is, so what is under the pointer stays under it.
inline void ZoomAbout(Camera& camera, float factor, float x, float y) {
  const float zoom = std::clamp(camera.zoom * factor, kMinZoom, kMaxZoom);
  const float applied = zoom / camera.zoom;
  camera.panX = x + applied * (camera.panX - x);
  camera.panY = y + applied * (camera.panY - y);
  camera.zoom = zoom;
}

}  // namespace skelview
