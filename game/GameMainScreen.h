// GameMainScreen: the hub. A background, the top bar with the menu and status
// buttons, the slide-in character panel and the picked character drawn large.
#pragma once

#include <cstdint>

#include "framework/core/Rect.h"
#include "framework/core/Screen.h"
#include "framework/graphics/FoundationDraw.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelDataCustom.h"
#include "framework/sound/SoundManager.h"

class CharUnit;

class GameMainScreen : public TarnFramework::Screen {
 public:
  // Makes the five test characters, so g_game and its fonts must be ready.
  GameMainScreen();
  // Opens the sound device and loads the chime; until then the button is
  // silent. The program calls it once the first frame is shown.
  void StartSound();
  ~GameMainScreen() override;

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  void OnResize(int32_t width, int32_t height) override;
  void Release() override;
  bool Update() override;
  bool Draw() override;

  int32_t frameCount = 0;
  TarnFramework::FoundationDraw barPainter;
  TarnFramework::Rect barRect{0, 0, 0, 0};
  TarnFramework::Graphic2D background;
  // Reserved holder and sprite: nothing loads or sets them; freed with the screen.
  TarnSkelCustom::SkelData reservedSkel;
  TarnFramework::Drawer* reservedSprite = nullptr;  // owned
  TarnFramework::SoundManager sound;
  CharUnit* selectedUnit = nullptr;  // not owned

 private:
  void BuildWidgets();
  // Slides any open panel out and a new character panel in.
  void OpenCharPanel();
  // Slides the open character panel out (Escape).
  void CloseCharPanel();
};
