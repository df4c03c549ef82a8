#include "framework/widgets/WidgetTrackBar.h"

#include "framework/core/SystemBase.h"
#include "framework/graphics/FoundationDraw.h"
#include "framework/graphics/FoundationDraw_RimRich.h"

namespace TarnFramework {

Widget* HitTest(Widget* root, int32_t px, int32_t py) {
  if (!root) return nullptr;
  for (int32_t i = root->children.count - 1; i >= 0; --i) {
    if (Widget* hit = HitTest(root->children[i], px, py)) return hit;
  }
  return root->Contains(px, py) ? root : nullptr;
}

WidgetTrackBar::WidgetTrackBar(int32_t width_, int32_t height_) {
  width = width_;
  height = height_;
  anchor = kAnchorTopRight;
  trackPainter = new FoundationDraw;
  thumbPainter = new FoundationDraw_RimRich(FoundationDraw::kDefaultStyle, 2);
}

WidgetTrackBar::~WidgetTrackBar() { FreePainters(); }

void WidgetTrackBar::FreePainters() {
  delete trackPainter;
  trackPainter = nullptr;
  delete thumbPainter;
  thumbPainter = nullptr;
}

void WidgetTrackBar::Release() {
  Widget::Release();
  FreePainters();
}

void WidgetTrackBar::Axis(int32_t* start, int32_t* length, int32_t* cursor) const {
  Rect r = GetRect();
  *start = vertical ? r.y : r.x;
  *length = vertical ? r.height : r.width;
  *cursor = vertical ? g_system->mouseY : g_system->mouseX;
}

bool WidgetTrackBar::Update() {
  int32_t start = 0, length = 0, cursor = 0;
  if (!g_system->leftButton.down) {
    if (dragging) {
      dragging = false;
      if (handler) handler->OnEvent(kEventDragEnded, this, -1, -1, 0);
    }
  } else if (!dragging) {
    Widget* hit = HitTest(parent, g_system->mouseX, g_system->mouseY);
    if ((hit == this || !hit) && Contains(g_system->mouseX, g_system->mouseY)) {
      dragging = true;
      Axis(&start, &length, &cursor);
      dragOffset = start + thumbLength / 2 + static_cast<int32_t>(value * (length - thumbLength)) - cursor;
    }
  }
  if (dragging) {
    Axis(&start, &length, &cursor);
    const int32_t thumbStart = start + thumbLength / 2;
    const int32_t range = length - thumbLength;
    const int64_t p = int64_t{cursor} + dragOffset;
    if (p <= thumbStart) {
      value = 0.0;
    } else if (p >= int64_t{thumbStart} + range) {
      value = 1.0;
    } else {
      value = static_cast<double>(p - thumbStart) / range;
    }
  }
  return Widget::Update();
}

bool WidgetTrackBar::Draw() {
  const bool ok = Widget::Draw();
  Rect r = GetRect();
  if (trackPainter) trackPainter->DrawBox(r.x, r.y, r.width, r.height);
  if (thumbPainter) {
    if (vertical) {
      thumbPainter->DrawBox(r.x, r.y + static_cast<int32_t>((r.height - thumbLength) * value), r.width, thumbLength);
    } else {
      thumbPainter->DrawBox(r.x + static_cast<int32_t>((r.width - thumbLength) * value), r.y, thumbLength, r.height);
    }
  }
  return ok;
}

}  // namespace TarnFramework
