#include "SubPanel.h"

#include "framework/graphics/Primitives.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetAnimeBase.h"

using namespace TarnFramework;

SubPanel::~SubPanel() { SubPanel::Release(); }

void SubPanel::Release() {
  Widget::Release();
  closeButton = nullptr;
  delete closingAnimation;
  closingAnimation = nullptr;
}

bool SubPanel::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind == kEventLeftClick && sender && sender == closeButton) Close();
  return false;
}

bool SubPanel::Draw() {
  const Rect r = GetRect();
  DrawFramedBox(r.x, r.y, r.width, r.height, 1, colors[0], colors[1]);
  return Widget::Draw();
}

void SubPanel::Close() {
  if (closingAnimation) {
    SetAnimation(closingAnimation);
    closingAnimation = nullptr;
  } else if (parent) {
    parent->RemoveChild(this);
  }
}
