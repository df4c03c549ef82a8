#pragma once

#include <cstdint>

namespace skel {

/// Whether a path position is a length or a fraction of the path. Stored as a 32-bit integer in the data.
enum class PositionMode : int32_t { Fixed = 0, Percent = 1 };

}  // namespace skel
