#pragma once

#include <cstdint>

namespace skel {

/// How a slot is composited over what is drawn before it. Stored as a 32-bit integer in the data.
enum class BlendMode : int32_t { Normal = 0, Additive = 1, Multiply = 2, Screen = 3 };

}  // namespace skel
