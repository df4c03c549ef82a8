#include "framework/widgets/SimpleButton.h"

#include "framework/graphics/Drawer.h"
#include "framework/graphics/Primitives.h"

namespace TarnFramework {

SimpleButton::SimpleButton(int32_t x_, int32_t y_, int32_t width_, int32_t height_, int32_t anchor_) {
  x = x_;
  y = y_;
  width = width_;
  height = height_;
  anchor = anchor_;
}

SimpleButton::~SimpleButton() { SimpleButton::Release(); }

void SimpleButton::Release() {
  Widget::Release();
  SetLabel(nullptr);
}

void SimpleButton::SetLabel(Drawer* newLabel) {
  if (label == newLabel) return;
  if (label) {
    label->Release();
    delete label;
  }
  label = newLabel;
}

bool SimpleButton::Draw() {
  int32_t ax = 0;
  int32_t ay = 0;
  GetPosition(&ax, &ay);
  DrawFramedBox(ax, ay, width, height, frameWidth, colors[0], colors[1]);
  if (label) {
    label->Draw(ax + (width - label->GetWidth()) / 2, ay + (height - label->GetHeight()) / 2);
  }
  return Widget::Draw();
}

}  // namespace TarnFramework
