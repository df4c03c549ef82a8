// What the viewer draws over and under the skeleton: the checkerboard, the
// bones with their joints, the IK targets, the bounds of what is visible.
#pragma once

#include <cstdint>
#include <vector>

#include "Layout.h"

namespace skel {
class Skeleton;
}

namespace skelview {

constexpr uint32_t kCheckerLight = 0xFFC8C8C8;
constexpr uint32_t kCheckerDark = 0xFFA0A0A0;
constexpr int32_t kCheckerCell = 16;

// Fills the area with a neutral checkerboard (cells from its top-left).
void DrawCheckerboard(const Area& area);

// Bones as lines from joint to tip with the joints on top, and a cross on
// each IK constraint's target; skeleton positions are offset by the area's.
void DrawBones(skel::Skeleton& skeleton, const Area& area);

// The rectangle around every visible region and mesh of the posed
// skeleton; false (nothing drawn) when nothing is visible.
// The posed skeleton's slots as the game's renderer draws them, but for
// those marked in hidden (by slot index; a shorter list shows the rest).
void DrawSlots(skel::Skeleton& skeleton, const std::vector<bool>& hidden);
// The same pose as a faint ghost: the normally blended slots only, their
// vertex colours multiplied by the tint (0xAABBGGRR).
void DrawGhost(skel::Skeleton& skeleton, const std::vector<bool>& hidden, uint32_t tint);
// The edges of the triangles of the slot at index.
void OutlineSlot(skel::Skeleton& skeleton, int index, uint32_t color);

bool VisibleBounds(skel::Skeleton& skeleton, float& minX, float& minY, float& maxX, float& maxY);
void DrawBounds(skel::Skeleton& skeleton, const Area& area);

}  // namespace skelview
