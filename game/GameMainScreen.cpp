#include "GameMainScreen.h"

#include "CharGraphic.h"
#include "CharList.h"
#include "CharUnit.h"
#include "GameKeys.h"
#include "GameNames.h"
#include "GameSystem.h"
#include "SubPanelCharList.h"
#include "framework/core/SystemBase.h"
#include "framework/text/Font.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetAnimeBase.h"

using namespace TarnFramework;

namespace {

constexpr uint32_t kLabelColor = 0xFFFFFFFF;
constexpr int32_t kPanelOpenFrames = 10;
constexpr int32_t kPanelCloseFrames = 30;

struct MenuButton {
  const char* name;
  const char16_t* label;
};

constexpr MenuButton kMenuButtons[] = {
    {"UP_B01", u"キャラ"}, {"UP_B02", u"交配"}, {"UP_B03", u"市場"},
    {"UP_B04", u"施設"},   {"UP_B05", u"大会"}, {"UP_B06", u"ライバル"},
};

}  // namespace

GameMainScreen::GameMainScreen() {
  width = g_system->windowWidth;
  height = g_system->windowHeight;
  BuildWidgets();
}

void GameMainScreen::StartSound() {
  // Without a device the screen still runs; the button is then silent.
  sound.Init();
  sound.clips[0].Load("sound\\test_mono.wav");
}

GameMainScreen::~GameMainScreen() {
  GameMainScreen::Release();
  if (reservedSprite) {
    reservedSprite->Release();
    delete reservedSprite;
  }
}

void GameMainScreen::Release() {
  background.Release();
  Screen::Release();
}

void GameMainScreen::BuildWidgets() {
  Release();

  static const char16_t* const kNames[] = {u"test01", u"test02", u"test03", u"test04", u"test05"};
  for (int32_t i = 0; i < 5; ++i) {
    CharUnit* unit = new CharUnit;
    unit->status.SetName(kNames[i]);
    unit->graphicIndex = i;
    g_game->barrack.units.Add(unit);
  }

  background.LoadImage("gfx\\3_blacksmith_a.png");
  const float s = g_game->uiScale;
  barRect = {0, 0, g_system->graphicManager.viewportWidth, static_cast<int32_t>(32 * s)};

  const int32_t gap = static_cast<int32_t>(10 * s);
  const int32_t top = static_cast<int32_t>(2 * s);
  const int32_t buttonWidth = static_cast<int32_t>(100 * s);
  const int32_t buttonHeight = static_cast<int32_t>((16 - static_cast<int32_t>(2 * s)) * 2 * s);
  Font* font = g_game->fonts[0];
  auto addButton = [&](const char* buttonName, TextString* label, int32_t bx, int32_t by, int32_t bw, int32_t bh,
                       int32_t buttonAnchor) {
    SimpleButton* button = new SimpleButton(bx, by, bw, bh, buttonAnchor);
    button->SetLabel(label);
    button->SetName(buttonName);
    button->handler = this;
    AddChild(button);
    return button;
  };
  auto text = [font](const char16_t* label) { return font ? font->CreateTextW(label, kLabelColor) : nullptr; };

  // Menu buttons run rightwards from the top-left corner.
  int32_t nextX = gap;
  for (const MenuButton& b : kMenuButtons) {
    addButton(b.name, text(b.label), nextX, top, buttonWidth, buttonHeight, kAnchorTopLeft);
    nextX += buttonWidth + gap;
  }

  // Status buttons run leftwards from the top-right corner.
  const int32_t nextSide = static_cast<int32_t>(64 * s);
  SimpleButton* next = addButton("UP_Next", text(u"Next"), 0, 0, nextSide, nextSide, kAnchorTopRight);
  SimpleButton* money = addButton("UP_BMoney", font ? font->CreateText("123456 G", kLabelColor) : nullptr,
                                  next->x + next->width + gap, top, buttonWidth, buttonHeight, kAnchorTopRight);
  addButton("UP_BHome", text(u"カモメ兵舎"), money->x + money->width + gap, top, 2 * buttonWidth, buttonHeight,
            kAnchorTopRight);
}

void GameMainScreen::OpenCharPanel() {
  for (int32_t i = 0; i < children.count; ++i) {
    if (KindIs(children[i]->name, "Panel")) children[i]->Close();
  }

  const int32_t panelY = barRect.y + barRect.height;
  SubPanelCharList* panel =
      new SubPanelCharList(0, panelY, static_cast<int32_t>(g_system->graphicManager.viewportWidth * 0.3),
                           g_system->windowHeight - panelY, true);
  panel->charList->source = &g_game->barrack.units;
  panel->charList->Rebuild();
  panel->charList->wheelScroll = false;
  panel->SetName("Panel_CharList");
  panel->closingAnimation = new WidgetAnimeBase(0, -width, kPanelCloseFrames, true);
  panel->SetAnimation(new WidgetAnimeBase(-panel->width, 0, kPanelOpenFrames, false));
  panel->handler = this;
  AddChild(panel);

  sound.clips[0].Play();
}

void GameMainScreen::CloseCharPanel() {
  // As its × does; a panel already sliding out goes on sliding.
  for (int32_t i = 0; i < children.count; ++i) {
    auto* panel = dynamic_cast<SubPanel*>(children[i]);
    if (panel && KindIs(panel->name, "Panel") && panel->closingAnimation) panel->Close();
  }
}

bool GameMainScreen::OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) {
  if (kind != kEventLeftClick || !sender) return false;
  const char* senderName = sender->name;
  if (NameIs(senderName, "UP_B01")) {
    OpenCharPanel();
  } else if (NameIs(senderName, "Panel_CharList")) {
    auto* panel = dynamic_cast<SubPanelCharList*>(sender);
    const char* key = panel ? panel->SelectedKey() : nullptr;
    if (IsUnitKey(key)) selectedUnit = g_game->barrack.units.FindByKey(key);
  } else if (NameIs(senderName, "UP_B02")) {
    ChangeScreen("CharMattingScreen");
  } else if (NameIs(senderName, "UP_B05")) {
    ChangeScreen("TournamentSelectScreen");
  } else if (NameIs(senderName, "UP_B06")) {
    ChangeScreen("OtherBarrackScreen");
  }
  return false;
}

void GameMainScreen::OnResize(int32_t, int32_t) { barRect.width = g_system->graphicManager.viewportWidth; }

bool GameMainScreen::Update() {
  if (EscapePressed()) CloseCharPanel();
  if (selectedUnit) {
    ++frameCount;
  } else {
    frameCount = 0;
  }
  return Screen::Update();
}

bool GameMainScreen::Draw() {
  const int32_t windowWidth = g_system->windowWidth;
  const int32_t windowHeight = g_system->windowHeight;
  // In floating point: an integer ratio is 0 for any picture wider than the window.
  if (background.GetWidth() > 0) {
    background.DrawScaledUniform(0, 0, static_cast<double>(windowWidth) / background.GetWidth());
  }

  CharGraphic* graphic = selectedUnit ? g_game->charGraphics.Find(selectedUnit->graphicIndex) : nullptr;
  if (graphic) graphic->DrawFull(frameCount, windowWidth / 2, windowHeight, windowHeight / 720.0);

  barPainter.DrawRect(barRect);
  return Screen::Draw();
}
