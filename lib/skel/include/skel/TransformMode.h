#pragma once

#include <cstdint>

namespace skel {

/// How a bone inherits its parent's transform. Stored as a 32-bit integer in the data.
enum class TransformMode : int32_t {
  Normal = 0,
  OnlyTranslation = 1,
  NoRotationOrReflection = 2,
  NoScale = 3,
  NoScaleOrReflection = 4
};

}  // namespace skel
