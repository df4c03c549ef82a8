#include "OtherBarrackScreen.h"

#include "BarrackListBox.h"
#include "GameButtons.h"
#include "GameKeys.h"
#include "GameSystem.h"
#include "ScreenReturn.h"
#include "framework/core/SystemBase.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

OtherBarrackScreen::OtherBarrackScreen() {
  width = g_system->windowWidth;
  height = g_system->windowHeight;
  backButton = AddLabelledButton(this, 0, 0, 64, 64, kAnchorTopRight, u"戻る");

  barrackList = new BarrackListBox(0, 0, 300, height);
  barrackList->lineHeight = 100;
  barrackList->lineMargin = 4;
  barrackList->lineX = 4;
  barrackList->lineGap = 4;
  Font* font = g_game->fonts[0];
  for (int32_t i = 0; i < kEntryCount; ++i) {
    TextString* entry = new TextString;
    entry->AppendText(font, "TestBarrack\n", 0xFFFFFFFF);
    entry->AppendText(font, "CharNum : 123", 0xFFFFFFFF);
    barrackList->AddItem(entry, "");
  }
  barrackList->SetName("Panel_Barrack");
  barrackList->handler = this;
  AddChild(barrackList);
}

bool OtherBarrackScreen::Update() {
  // Escape is 戻る.
  if (EscapePressed()) OnEvent(kEventLeftClick, backButton, 0, 0, 0);
  return Screen::Update();
}

void OtherBarrackScreen::OnEnter(Screen* previous) { previousScreen = previous; }

bool OtherBarrackScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind == kEventLeftClick && sender && sender == backButton) {
    ReturnToScreen(this, previousScreen, "GameMainScreen");
  }
  return false;
}
