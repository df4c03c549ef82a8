#pragma once

#include <cstdint>

namespace skel {

/// Whether an animation is being mixed in or faded out. Some timelines (the
/// attachment, draw-order and discrete IK keys, the sign of a scale) act only
/// in one direction.
enum class MixDirection : int32_t { In = 0, Out = 1 };

}  // namespace skel
