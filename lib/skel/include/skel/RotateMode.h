#pragma once

#include <cstdint>

namespace skel {

/// How bones laid along a path are turned. Stored as a 32-bit integer in the data.
enum class RotateMode : int32_t { Tangent = 0, Chain = 1, ChainScale = 2 };

}  // namespace skel
