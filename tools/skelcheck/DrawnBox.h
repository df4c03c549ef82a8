// The box of what a character draws: the corners of its regions and the
// vertices of its meshes, in world units. skelcheck holds the header's box to
// it, assetgen writes the header from it and skelview fits its frames to it.
#pragma once

#include <cfloat>

namespace skel {
class Skeleton;
class SkeletonData;
}  // namespace skel

namespace skelcheck {

struct DrawnBox {
  float minX = FLT_MAX, minY = FLT_MAX, maxX = -FLT_MAX, maxY = -FLT_MAX;
  bool Empty() const { return minX > maxX; }
};

// Grows box by every region and mesh the skeleton shows in its current
// world pose; false when it shows none.
bool AddPose(skel::Skeleton& skeleton, DrawnBox& box);

// Every skin's setup pose and every animation sampled at the header's frame
// rate (a large character more sparsely, so it takes seconds, not minutes).
DrawnBox MeasureAnimations(skel::SkeletonData& data);

}  // namespace skelcheck
