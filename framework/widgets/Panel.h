/// @class TarnFramework::Panel
/// A plain widget that carries the five-colour widget style, the base
/// of the game's framed, closable panels.
#pragma once

#include <cstdint>

#include "framework/core/Widget.h"

namespace TarnFramework {

class Panel : public Widget {
 public:
  /// A panel of the given size at (0, y).
  /// The first argument is ignored, as for every widget made this way.
  Panel(int32_t x, int32_t y, int32_t width, int32_t height);

  /// The style: fill, frame and three colours of the panel's own use (as FoundationDraw::Style).
  uint32_t colors[5] = {0xff967878, 0xff783c0a, 0xffa06464, 0xff785a5a, 0x80a57864};
  /// Not read by the framework; kept for panels that store their own settings.
  /// @{
  bool reservedFlag = false;
  int32_t reserved[2] = {120, 30};
  /// @}
};

}  // namespace TarnFramework
