#include "framework/widgets/Panel.h"

namespace TarnFramework {

Panel::Panel(int32_t ignored, int32_t y_, int32_t width_, int32_t height_) : Widget(ignored, y_, width_, height_) {}

}  // namespace TarnFramework
