#include "GameSystem.h"

#include <string>

#include "CharMatingScreen.h"
#include "CharSelectScreen.h"
#include "GameMainScreen.h"
#include "OtherBarrackScreen.h"
#include "TournamentSelectScreen.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/PictureDecoder.h"
#include "framework/text/Font.h"
#include "tarn/Report.h"

using namespace TarnFramework;

GameSystem* g_game = nullptr;

namespace {

constexpr const char* kFontPath = "font\\rounded-mplus-2m-medium.ttf";
constexpr const char* kBackgroundPath = "gfx\\3_blacksmith_a.png";

void Register(int32_t slot, Screen* screen, const char* name) {
  screen->SetName(name);
  g_system->screenManager.RegisterScreen(slot, screen);
}

}  // namespace

void GameSystem::RequestStartPictures() {
  // What start-up uploads; the picture characters are taken when first drawn.
  PictureDecoder::Request(kBackgroundPath);
  CharGraphicManager::RequestSkelPage();
}

void GameSystem::AfterFirstFrame() {
  CharGraphicManager::RequestPictures();
  mainScreen->StartSound();
}

bool GameSystem::Init() {
  const int32_t sizes[kFontCount] = {20, 16, 24, 32};
  for (int i = 0; i < kFontCount; ++i) fontSizes[i] = sizes[i];
  g_game = this;

  fontContainer.Release();
  fontContainer.Setup(kFontPath);
  std::string why;
  bool fontsReady = fontContainer.Preload(12, &why);
  for (int i = 0; fontsReady && i < kFontCount; ++i) {
    fonts[i] = fontContainer.GetFont(fontSizes[i], &why);
    fontsReady = asciiTexts[i].Init(fonts[i]);
  }
  if (!fontsReady) {
    tarn::ReportError("cannot read " + tarn::FileName(kFontPath), why);
    PictureDecoder::Finish();
    fontContainer.Release();
    Release();
    return false;
  }

  // The main screen makes the characters, so it comes before the picker,
  // whose list shows the characters present when it is built.
  mainScreen = new GameMainScreen;
  Register(0, mainScreen, "GameMainScreen");
  Register(1, new CharSelectScreen, "CharSelectScreen");
  Register(4, new CharMatingScreen, "CharMattingScreen");
  Register(5, new TournamentSelectScreen, "TournamentSelectScreen");
  Register(6, new OtherBarrackScreen, "OtherBarrackScreen");
  g_system->screenManager.ChangeScreen(0);
  // The decoder goes on with the characters' pictures; Release ends it.
  return true;
}

void GameSystem::Release() {
  PictureDecoder::Finish();
  fontContainer.Release();
  for (int i = 0; i < kFontCount; ++i) {
    asciiTexts[i].Release();
    fonts[i] = nullptr;
  }
}
