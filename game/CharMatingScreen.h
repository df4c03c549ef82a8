// CharMatingScreen: two character places side by side, each filled through
// the picker. Registered under the name "CharMattingScreen".
#pragma once

#include <cstdint>

#include "framework/core/Screen.h"

namespace TarnFramework {
class SimpleButton;
}

class CharUnit;

class CharMatingScreen : public TarnFramework::Screen {
 public:
  CharMatingScreen();

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  bool Update() override;
  bool Draw() override;
  // Back from the picker: fills the place that asked. From anywhere else:
  // both places start empty.
  void OnEnter(Screen* previous) override;

  TarnFramework::SimpleButton* backButton = nullptr;
  TarnFramework::SimpleButton* pickButtons[2] = {};
  TarnFramework::SimpleButton* mateButton = nullptr;
  CharUnit* pairUnits[2] = {};  // not owned
  int32_t pendingPlace = -1;
  int32_t frameCount = 0;
};
