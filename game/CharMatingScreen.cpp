#include "CharMatingScreen.h"

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

CharMatingScreen::CharMatingScreen() {
  width = g_system->windowWidth;
  height = g_system->windowHeight;
  const int32_t pickX = width / 4 - 64;
  backButton = AddLabelledButton(this, 0, 0, 64, 64, kAnchorTopRight, u"戻る");
  pickButtons[0] = AddLabelledButton(this, pickX, 32, 128, 64, kAnchorBottomLeft, u"キャラを選択");
  pickButtons[1] = AddLabelledButton(this, pickX, 32, 128, 64, kAnchorBottomRight, u"キャラを選択");
  mateButton = AddLabelledButton(this, 0, 32, 128, 64, kAnchorBottomCentre, u"交配");
}

void CharMatingScreen::OnEnter(Screen* previous) {
  auto* picker =
      previous && NameIs(previous->name, "CharSelectScreen") ? dynamic_cast<CharSelectScreen*>(previous) : nullptr;
  if (!picker) {
    pairUnits[0] = pairUnits[1] = nullptr;
    return;
  }
  if (pendingPlace == 0 || pendingPlace == 1) {
    pairUnits[pendingPlace] = picker->selectedUnit;
    pendingPlace = -1;
  }
}

bool CharMatingScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind != kEventLeftClick || !sender) return false;
  if (sender == backButton) {
    ChangeScreen("GameMainScreen");
  } else if (sender == pickButtons[0] || sender == pickButtons[1]) {
    pendingPlace = sender == pickButtons[0] ? 0 : 1;
    ChangeScreen("CharSelectScreen");
  }
  return false;
}

bool CharMatingScreen::Update() {
  // Escape is 戻る.
  if (EscapePressed()) OnEvent(kEventLeftClick, backButton, 0, 0, 0);
  ++frameCount;
  return Screen::Update();
}

bool CharMatingScreen::Draw() {
  const int32_t w = g_system->windowWidth;
  const int32_t h = g_system->windowHeight;
  const double s = h / 720.0 * 0.8;
  const int32_t ground = h - mateButton->height - mateButton->y;
  // The right character runs 20 frames ahead so the two do not move in step.
  const int32_t frames[2] = {frameCount, frameCount + 20};
  const int32_t xs[2] = {w / 4, 3 * (w / 4)};
  for (int i = 0; i < 2; ++i) {
    CharGraphic* graphic = pairUnits[i] ? g_game->charGraphics.Find(pairUnits[i]->graphicIndex) : nullptr;
    if (graphic) graphic->DrawFull(frames[i], xs[i], ground, s);
  }
  return Screen::Draw();
}
