// GameSystem: the game's own system object, reached through g_game. It owns
// the player's barrack, the character graphics and the fonts.
#pragma once

#include <cstdint>

#include "Barrack.h"
#include "CharGraphicManager.h"
#include "framework/text/AsciiText.h"
#include "framework/text/FontContainer.h"

namespace TarnFramework {
class Font;
}
class GameMainScreen;

class GameSystem {
 public:
  static constexpr int kFontCount = 4;

  // Loads the character graphics: the GL context must be current.
  GameSystem() = default;
  GameSystem(const GameSystem&) = delete;
  GameSystem& operator=(const GameSystem&) = delete;
  virtual ~GameSystem() = default;

  // Asks for the pictures start-up uploads to be decoded ahead; needs no
  // window, so main asks before it opens one.
  static void RequestStartPictures();
  // What waits until the first frame is shown, since doing it sooner would
  // delay that frame: the rest of the pictures (the picture characters') are
  // asked for and the main screen's sound starts.
  void AfterFirstFrame();
  // Loads the fonts, builds and registers the five screens and makes the main
  // screen current. False, after releasing itself, when a font cannot load.
  bool Init();
  // Frees the fonts and the ASCII text renderers.
  virtual void Release();

  Barrack barrack;
  CharGraphicManager charGraphics;
  int32_t nextUnitId = 0;
  TarnFramework::FontContainer fontContainer;
  TarnFramework::AsciiText asciiTexts[kFontCount];
  TarnFramework::Font* fonts[kFontCount] = {};  // borrowed from fontContainer
  int32_t fontSizes[kFontCount] = {20, 16, 24, 32};
  float uiScale = 1.0f;
  GameMainScreen* mainScreen = nullptr;  // owned by the screen manager
};

extern GameSystem* g_game;
