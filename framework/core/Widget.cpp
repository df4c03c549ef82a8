#include "framework/core/Widget.h"

#include <cstring>

#include "framework/core/SystemBase.h"
#include "framework/widgets/WidgetAnimeBase.h"

namespace TarnFramework {

Widget::Widget(int32_t, int32_t y_, int32_t width_, int32_t height_) : y(y_), width(width_), height(height_) {}

Widget::~Widget() { Widget::Release(); }

bool Widget::OnEvent(int32_t, Widget*, int32_t, int32_t, int64_t) { return true; }

void Widget::OnResize(int32_t, int32_t) {}

void Widget::SetSize(int32_t newWidth, int32_t newHeight) {
  width = newWidth;
  height = newHeight;
}

void Widget::SetName(const char* text) {
  std::memset(name, 0, sizeof name);
  if (text) std::strncpy(name, text, sizeof name - 1);
}

void Widget::SetAnimation(WidgetAnimeBase* anime) {
  if (animation == anime) return;
  if (animation) {
    animation->Release();
    delete animation;
  }
  animation = anime;
}

void Widget::AddChild(Widget* child) {
  if (!child) return;
  child->parent = this;
  children.Add(child);
}

void Widget::Release() {
  ApplyPendingChanges();
  for (int32_t i = 0; i < children.count; ++i) {
    Widget* child = children[i];
    child->Release();
    delete child;
  }
  children.Clear();
  SetAnimation(nullptr);
}

void ApplyAnchor(int32_t anchor, const Rect& p, const Rect& c, int32_t* outX, int32_t* outY) {
  const int32_t left = p.x + c.x;
  const int32_t centreX = p.x + (p.width - c.width) / 2 + c.x;
  const int32_t right = p.x + p.width - c.width - c.x;
  const int32_t top = p.y + c.y;
  const int32_t middleY = p.y + (p.height - c.height) / 2 + c.y;
  const int32_t bottom = p.y + p.height - c.height - c.y;
  switch (anchor) {
    case kAnchorTopLeft:
      *outX = left;
      *outY = top;
      break;
    case kAnchorTopCentre:
      *outX = centreX;
      *outY = top;
      break;
    case kAnchorTopRight:
      *outX = right;
      *outY = top;
      break;
    case kAnchorRightCentre:
      *outX = right;
      *outY = middleY;
      break;
    case kAnchorBottomRight:
      *outX = right;
      *outY = bottom;
      break;
    case kAnchorBottomCentre:
      *outX = centreX;
      *outY = bottom;
      break;
    case kAnchorBottomLeft:
      *outX = left;
      *outY = bottom;
      break;
    case kAnchorLeftCentre:
      *outX = left;
      *outY = middleY;
      break;
    case kAnchorCentre:
      *outX = centreX;
      *outY = middleY;
      break;
    default:
      *outX = p.x;
      *outY = p.y;
      break;
  }
}

void Widget::GetPosition(int32_t* outX, int32_t* outY) const {
  Rect parentRect = parent ? parent->GetRect()
                           : Rect{0, 0, g_system ? g_system->windowWidth : 0, g_system ? g_system->windowHeight : 0};
  int32_t ax = 0;
  int32_t ay = 0;
  ApplyAnchor(anchor, parentRect, Rect{x, y, width, height}, &ax, &ay);
  if (animation) {
    ax += animation->CurrentX();
    ay += animation->CurrentY();
  }
  *outX = ax;
  *outY = ay;
}

Rect Widget::GetRect() const {
  Rect rect{0, 0, width, height};
  GetPosition(&rect.x, &rect.y);
  return rect;
}

bool Widget::Contains(int32_t px, int32_t py) const {
  Rect r = GetRect();
  // Both edges inclusive; 64-bit so a far-off cursor cannot overflow.
  return int64_t{r.x} <= px && px <= int64_t{r.x} + r.width && int64_t{r.y} <= py && py <= int64_t{r.y} + r.height;
}

bool Widget::SendEvent(int32_t kind, int32_t atX, int32_t atY) {
  Widget* receiver = handler ? handler : this;
  return receiver->OnEvent(kind, this, atX, atY, 0);
}

bool Widget::Input() {
  if (!enabled) return true;
  for (int32_t i = children.count - 1; i >= 0; --i) {
    Widget* child = children[i];
    if (child->visible && !child->Input()) return false;
  }
  const bool inside = Contains(g_system->mouseX, g_system->mouseY);

  // A release always disarms, so an old press cannot combine with a later
  // press outside into a click. Where the button went down and up is
  // decided from the positions recorded then: the cursor may have moved on
  // within the same poll.
  struct Button {
    const MouseButtonState& state;
    bool& armed;
    int32_t kind;
  } buttons[] = {{g_system->leftButton, leftArmed, kEventLeftClick},
                 {g_system->rightButton, rightArmed, kEventRightClick}};
  for (Button& button : buttons) {
    const MouseButtonState& state = button.state;
    if (state.down) {
      if (inside) button.armed = true;
    } else if (state.released) {
      // Pressed and released within one poll: the button was never seen
      // held, so arm on where it went down.
      if (state.pressed && Contains(state.pressX, state.pressY)) button.armed = true;
      const bool fire = button.armed && Contains(state.releaseX, state.releaseY);
      button.armed = false;
      // A left and a right click in one poll are both delivered.
      if (fire && !SendEvent(button.kind, state.releaseX, state.releaseY)) return false;
    }
  }
  return true;
}

bool Widget::Update() {
  if (animation) {
    animation->Advance();
    if (animation->AtEnd() && animation->removeAtEnd && parent) parent->RemoveChild(this);
  }
  bool ok = true;
  for (int32_t i = 0; i < children.count; ++i) {
    Widget* child = children[i];
    if (child->visible) ok = child->Update() && ok;
  }
  return ok;
}

bool Widget::Draw() {
  bool ok = true;
  for (int32_t i = 0; i < children.count; ++i) {
    Widget* child = children[i];
    if (child->visible) ok = child->Draw() && ok;
  }
  return ok;
}

void Widget::Close() {
  if (parent) parent->RemoveChild(this);
}

bool Widget::RemoveChild(Widget* target) {
  if (!target) return false;
  bool found = false;
  for (int32_t i = 0; i < children.count; ++i) {
    Widget* child = children[i];
    if (child == target) {
      pendingDelete.Push(child);
      child->visible = false;
      found = true;
    } else if (child->RemoveChild(target)) {
      return true;
    }
  }
  return found;
}

void Widget::ApplyPendingChanges() {
  for (int32_t i = 0; i < children.count; ++i) children[i]->ApplyPendingChanges();
  for (int32_t i = 0; i < pendingDelete.count; ++i) {
    Widget* doomed = pendingDelete[i];
    // A widget queued twice is deleted once.
    if (!children.Remove(doomed)) continue;
    doomed->Release();
    delete doomed;
  }
  pendingDelete.Clear();
  for (int32_t i = 0; i < pendingDetach.count; ++i) children.Remove(pendingDetach[i]);
  pendingDetach.Clear();
}

void Widget::PropagateResize(int32_t newWidth, int32_t newHeight) {
  for (int32_t i = 0; i < children.count; ++i) {
    Widget* child = children[i];
    child->OnResize(newWidth, newHeight);
    child->PropagateResize(newWidth, newHeight);
  }
}

}  // namespace TarnFramework
