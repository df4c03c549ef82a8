#pragma once

#include <cstdint>

namespace skel {

/// How the gaps between bones on a path are measured. Stored as a 32-bit integer in the data.
enum class SpacingMode : int32_t { Length = 0, Fixed = 1, Percent = 2 };

}  // namespace skel
