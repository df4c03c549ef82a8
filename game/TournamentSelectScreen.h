// TournamentSelectScreen: the character entered for a tournament, picked
// through the picker.
#pragma once

#include <cstdint>

#include "framework/core/Screen.h"

namespace TarnFramework {
class SimpleButton;
}

class CharUnit;

class TournamentSelectScreen : public TarnFramework::Screen {
 public:
  TournamentSelectScreen();

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  bool Update() override;
  bool Draw() override;
  // Takes the picker's pick when coming back from it; else no entrant.
  void OnEnter(Screen* previous) override;

  TarnFramework::SimpleButton* backButton = nullptr;
  TarnFramework::SimpleButton* pickButton = nullptr;
  CharUnit* entrant = nullptr;  // not owned
  int32_t frameCount = 0;
};
