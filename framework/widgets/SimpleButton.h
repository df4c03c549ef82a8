/// @class TarnFramework::SimpleButton
/// A framed, filled rectangle with a centred label. Clicks come
/// from the widget base; the button has no hover or pressed look.
#pragma once

#include <cstdint>

#include "framework/core/Widget.h"

namespace TarnFramework {

class Drawer;

class SimpleButton : public Widget {
 public:
  /// A button at (x, y) from the anchor point, of the size given, without a label.
  SimpleButton(int32_t x, int32_t y, int32_t width, int32_t height, int32_t anchor);
  ~SimpleButton() override;

  /// Deletes the children and the animation, then frees the label.
  void Release() override;
  /// The frame, the fill and the centred label.
  bool Draw() override;

  /// Takes ownership of label (a text or any drawable), freeing the old one.
  void SetLabel(Drawer* newLabel);

  /// The style: fill, frame and three unused colours (as FoundationDraw::Style).
  uint32_t colors[5] = {0xff967878, 0xff783c0a, 0xffa06464, 0xff785a5a, 0x80a57864};
  /// The frame's width in pixels.
  int32_t frameWidth = 1;
  /// The owned label, or null.
  Drawer* label = nullptr;
};

}  // namespace TarnFramework
