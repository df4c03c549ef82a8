/// @struct TarnFramework::Rect
/// A rectangle in pixels: a widget's box, a source cell of a texture, a fill.
#pragma once

#include <cstdint>

namespace TarnFramework {

struct Rect {
  int32_t x, y, width, height;
};

}  // namespace TarnFramework
