/// @struct TarnFramework::Rect
/// A rectangle in pixels: a widget's box, a source cell of a texture, a fill.
#pragma once

#include <cstdint>

namespace TarnFramework {

struct Rect {
  /// The top-left corner and the size.
  /// @{
  int32_t x, y, width, height;
  /// @}
};

}  // namespace TarnFramework
