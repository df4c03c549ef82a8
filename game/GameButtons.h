// The secondary screens' buttons: a SimpleButton with a label in the label
// font, handled by its screen.
#pragma once

#include <cstdint>

namespace TarnFramework {
class SimpleButton;
class Widget;
}  // namespace TarnFramework

// Makes the button, labels it and adds it as a child of screen.
TarnFramework::SimpleButton* AddLabelledButton(TarnFramework::Widget* screen, int32_t x, int32_t y, int32_t width,
                                               int32_t height, int32_t anchor, const char16_t* label);
