#pragma once

#include <cstdint>

namespace skel {

/// How a timeline's keyed value meets the value already in the skeleton.
/// Setup: against the setup pose. First: toward the keyed value from the
/// current pose, falling back to setup before the first key. Replace: toward
/// the keyed value, nothing before the first key. Add: on top of the current.
enum class MixBlend : int32_t { Setup = 0, First = 1, Replace = 2, Add = 3 };

}  // namespace skel
