#include "framework/widgets/Listbox.h"

#include <cstring>

#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/Drawer.h"
#include "framework/graphics/Primitives.h"
#include "framework/widgets/WidgetTrackBar.h"

namespace TarnFramework {

namespace {

bool Inside(int32_t px, int32_t py, int32_t x, int32_t y, int32_t w, int32_t h) {
  return int64_t{x} <= px && px <= int64_t{x} + w && int64_t{y} <= py && py <= int64_t{y} + h;
}

}  // namespace

Listbox::Listbox(int32_t ignored, int32_t y_, int32_t width_, int32_t height_) : Widget(ignored, y_, width_, height_) {
  canvas.SetRenderTarget(width, height);
  canvas.Create();
  scrollBar = new WidgetTrackBar(scrollBarWidth, height);
  scrollBar->vertical = true;
  scrollBar->handler = this;
  AddChild(scrollBar);
}

Listbox::~Listbox() {
  ClearItems();
  canvas.Release();
}

void Listbox::Release() {
  ClearItems();
  canvas.Release();
  Widget::Release();
  scrollBar = nullptr;
}

void Listbox::SetSize(int32_t newWidth, int32_t newHeight) {
  Widget::SetSize(newWidth, newHeight);
  canvas.SetRenderTarget(newWidth, newHeight);
  canvas.Create();
}

void Listbox::AddItem(Drawer* drawer, const char* key) {
  Item* item = new Item;
  item->drawer = drawer;
  item->height = drawer ? drawer->GetHeight() : 32;
  if (key) std::strncpy(item->key, key, kKeySize - 1);
  items.Add(item);
}

void Listbox::ClearItems() {
  for (int32_t i = 0; i < items.count; ++i) {
    Item* item = items[i];
    if (item->owned && item->drawer) {
      item->drawer->Release();
      delete item->drawer;
    }
    delete item;
  }
  items.Clear();
  // The key pointed into a record that is gone.
  selectedKey = nullptr;
}

int64_t Listbox::TotalHeight() const {
  int64_t total = 0;
  for (int32_t i = 0; i < items.count; ++i) total += items[i]->height;
  return total;
}

bool Listbox::Update() {
  const int64_t total = TotalHeight();
  if (scrollBar && wheelScroll && total > height && total > 0) {
    const int32_t last = items.count - 1;
    // Lines may have changed since the last frame: a list scrolled to its end
    // and refilled with fewer lines must not point past its last line.
    if (topIndex > last) topIndex = last;
    if (topIndex < 0) topIndex = 0;
    if (!(scrollBar->value >= 0.0)) scrollBar->value = 0.0;
    if (scrollBar->value > 1.0) scrollBar->value = 1.0;
    const int32_t wheel = g_system->scrollY;
    if (wheel != 0) {
      if (wheel < 0 && topIndex < last) ++topIndex;
      if (wheel > 0 && topIndex > 0) --topIndex;
      if (!scrollBar->dragging) {
        scrollBar->value = topIndex > 0 ? static_cast<double>(topIndex) / last : 0.0;
      }
    } else {
      topIndex = static_cast<int32_t>(last * scrollBar->value);
    }
    scrollBar->visible = true;
    scrollBar->thumbLength = static_cast<int32_t>(static_cast<double>(height) / total * height);
  } else {
    topIndex = 0;
    if (scrollBar) {
      scrollBar->visible = false;
      // Back at the top, so a list that grows again starts there.
      if (!scrollBar->dragging) scrollBar->value = 0.0;
    }
  }
  return Widget::Update();
}

bool Listbox::CursorInHitArea(const Rect& r) const {
  const int32_t hitWidth = scrollBar && scrollBar->visible ? r.width - scrollBar->width : r.width;
  return Inside(g_system->mouseX, g_system->mouseY, r.x, r.y, hitWidth, r.height);
}

bool Listbox::Input() {
  const Rect r = GetRect();
  const bool barDragging = scrollBar && scrollBar->dragging;
  if (!barDragging && CursorInHitArea(r)) {
    hoverIndex = -1;
    Item* hovered = nullptr;
    int64_t bottom = lineGap;
    for (int32_t i = topIndex; i >= 0 && i < items.count; ++i) {
      bottom += items[i]->height + lineGap;
      if (g_system->mouseY - r.y < bottom) {
        hoverIndex = i;
        hovered = items[i];
        break;
      }
    }
    const MouseButtonState& left = g_system->leftButton;
    const int32_t hitWidth = scrollBar && scrollBar->visible ? r.width - scrollBar->width : r.width;
    if (left.released && Inside(left.pressX, left.pressY, r.x, r.y, hitWidth, r.height)) {
      selectedIndex = hoverIndex;
      selectedKey = hovered ? hovered->key : nullptr;
    }
  }
  return Widget::Input();
}

bool Listbox::Draw() {
  int32_t ax = 0;
  int32_t ay = 0;
  GetPosition(&ax, &ay);

  canvas.BeginRender();
  ClearTarget(g_system->graphicManager.clearColor);
  FillRect(Rect{0, 0, width, height}, colors[0]);

  const bool cursorInside = Inside(g_system->mouseX, g_system->mouseY, ax, ay, width, height);
  int32_t lineY = lineGap;
  for (int32_t i = topIndex; i >= 0 && i < items.count; ++i) {
    Item* item = items[i];
    const Rect band{0, lineY - lineGap, width, item->height + 2 * lineGap};
    if (i == selectedIndex) {
      FillRect(band, colors[2]);
    } else if (i == hoverIndex && cursorInside) {
      FillRect(band, colors[3]);
    }
    if (item->drawer) item->drawer->Draw(lineX, lineY);
    lineY += item->height + lineGap;
    // Lines wholly below the canvas would be cut away entirely.
    if (lineY - lineGap > height) break;
  }
  OutlineRect(Rect{1, 1, width - 1, height - 1}, colors[1]);
  EndRender();
  canvas.Draw(ax, ay);

  return Widget::Draw();
}

}  // namespace TarnFramework
