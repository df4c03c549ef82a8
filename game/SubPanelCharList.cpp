#include "SubPanelCharList.h"

#include "CharList.h"
#include "GameSystem.h"
#include "framework/core/SystemBase.h"
#include "framework/text/Font.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

namespace {

float UiScale() { return g_game ? g_game->uiScale : 1.0f; }

}  // namespace

SubPanelCharList::SubPanelCharList(int32_t ignored, int32_t y_, int32_t width_, int32_t height_, bool withCloseButton)
    : SubPanel(ignored, y_, width_, height_) {
  const float s = UiScale();
  if (withCloseButton) {
    const int32_t side = static_cast<int32_t>(24 * s);
    closeButton =
        new SimpleButton(static_cast<int32_t>(2 * s), static_cast<int32_t>(2 * s), side, side, kAnchorTopRight);
    Font* font = g_game ? g_game->fonts[0] : nullptr;
    if (font) closeButton->SetLabel(font->CreateTextW(u"×", 0xFFFFFFFF));
    closeButton->handler = this;
    AddChild(closeButton);
  }
  const int32_t top = ListTop();
  charList = new CharList(0, static_cast<int32_t>(top + 2 * s), width_, static_cast<int32_t>((height_ - top) - 2 * s));
  charList->handler = this;
  AddChild(charList);
}

SubPanelCharList::~SubPanelCharList() { SubPanelCharList::Release(); }

void SubPanelCharList::Release() {
  SubPanel::Release();
  charList = nullptr;
}

int32_t SubPanelCharList::ListTop() const { return closeButton ? closeButton->y + closeButton->height : 0; }

const char* SubPanelCharList::SelectedKey() const { return charList ? charList->selectedKey : nullptr; }

bool SubPanelCharList::OnEvent(int32_t kind, Widget* sender, int32_t x_, int32_t y_, int64_t param) {
  if (kind != kEventLeftClick || !sender) return false;
  if (sender == charList) {
    if (parent) parent->OnEvent(kind, this, x_, y_, param);
  } else if (sender == closeButton) {
    Close();
  }
  return false;
}

void SubPanelCharList::OnResize(int32_t, int32_t) {
  SetSize(static_cast<int32_t>(g_system->graphicManager.viewportWidth * 0.3), g_system->windowHeight - y);
  if (!charList) return;
  charList->SetSize(width, static_cast<int32_t>((height - ListTop()) - 2 * UiScale()));
  charList->Rebuild();
}
