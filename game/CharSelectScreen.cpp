#include "CharSelectScreen.h"

#include "CharGraphic.h"
#include "CharList.h"
#include "CharUnit.h"
#include "GameButtons.h"
#include "GameKeys.h"
#include "GameNames.h"
#include "GameSystem.h"
#include "ScreenReturn.h"
#include "SubPanelCharList.h"
#include "framework/core/SystemBase.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

CharSelectScreen::CharSelectScreen() {
  width = g_system->windowWidth;
  height = g_system->windowHeight;
  backButton = AddLabelledButton(this, 0, 0, 64, 64, kAnchorTopRight, u"戻る");
  selectButton = AddLabelledButton(this, 0, 0, 64, 64, kAnchorBottomCentre, u"選択");

  listPanel = new SubPanelCharList(0, 0, 300, height, false);
  listPanel->charList->source = &g_game->barrack.units;
  listPanel->charList->Rebuild();
  listPanel->charList->wheelScroll = false;
  listPanel->SetName("Panel_CharList");
  listPanel->handler = this;
  AddChild(listPanel);
}

void CharSelectScreen::OnEnter(Screen* previous) {
  previousScreen = previous;
  selectedUnit = nullptr;
  // The highlight of the last visit would show a pick that is no longer held.
  if (listPanel && listPanel->charList) {
    listPanel->charList->selectedIndex = -1;
    listPanel->charList->selectedKey = nullptr;
  }
}

bool CharSelectScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind != kEventLeftClick || !sender) return false;
  if (sender == backButton) {
    selectedUnit = nullptr;
    ReturnToScreen(this, previousScreen, "GameMainScreen");
  } else if (sender == selectButton) {
    ReturnToScreen(this, previousScreen, "GameMainScreen");
  } else if (NameIs(sender->name, "Panel_CharList")) {
    auto* panel = dynamic_cast<SubPanelCharList*>(sender);
    const char* key = panel ? panel->SelectedKey() : nullptr;
    if (IsUnitKey(key)) selectedUnit = g_game->barrack.units.FindByKey(key);
  }
  return false;
}

bool CharSelectScreen::Update() {
  // Escape is 戻る.
  if (EscapePressed()) OnEvent(kEventLeftClick, backButton, 0, 0, 0);
  return Screen::Update();
}

bool CharSelectScreen::Draw() {
  if (selectedUnit) {
    CharGraphic* graphic = g_game->charGraphics.Find(selectedUnit->graphicIndex);
    const int32_t w = g_system->windowWidth;
    const int32_t h = g_system->windowHeight;
    if (graphic) graphic->DrawFull(frameCount, w / 2, h, h / 720.0);
    ++frameCount;
  }
  return Screen::Draw();
}
