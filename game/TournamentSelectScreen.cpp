#include "TournamentSelectScreen.h"

#include "CharGraphic.h"
#include "CharSelectScreen.h"
#include "CharUnit.h"
#include "GameButtons.h"
#include "GameKeys.h"
#include "GameNames.h"
#include "GameSystem.h"
#include "framework/core/SystemBase.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

TournamentSelectScreen::TournamentSelectScreen() {
  width = g_system->windowWidth;
  height = g_system->windowHeight;
  backButton = AddLabelledButton(this, 0, 0, 64, 64, kAnchorTopRight, u"戻る");
  pickButton = AddLabelledButton(this, width / 4 - 64, 32, 128, 64, kAnchorBottomRight, u"キャラを選択");
}

void TournamentSelectScreen::OnEnter(Screen* previous) {
  auto* picker =
      previous && NameIs(previous->name, "CharSelectScreen") ? dynamic_cast<CharSelectScreen*>(previous) : nullptr;
  entrant = picker ? picker->selectedUnit : nullptr;
}

bool TournamentSelectScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind != kEventLeftClick || !sender) return false;
  if (sender == backButton) {
    ChangeScreen("GameMainScreen");
  } else if (sender == pickButton) {
    ChangeScreen("CharSelectScreen");
  }
  return false;
}

bool TournamentSelectScreen::Update() {
  // Escape is 戻る.
  if (EscapePressed()) OnEvent(kEventLeftClick, backButton, 0, 0, 0);
  ++frameCount;
  return Screen::Update();
}

bool TournamentSelectScreen::Draw() {
  const int32_t w = g_system->windowWidth;
  const int32_t h = g_system->windowHeight;
  CharGraphic* graphic = entrant ? g_game->charGraphics.Find(entrant->graphicIndex) : nullptr;
  if (graphic) graphic->DrawFull(frameCount + 10, 3 * (w / 4), h, h / 720.0 * 0.8);
  return Screen::Draw();
}
