// CharSelectScreen: the character picker any screen can open. It returns to
// the screen that opened it, which reads selectedUnit in its OnEnter.
#pragma once

#include <cstdint>

#include "framework/core/Screen.h"

namespace TarnFramework {
class SimpleButton;
}

class CharUnit;
class SubPanelCharList;

class CharSelectScreen : public TarnFramework::Screen {
 public:
  // Lists the barrack's characters as they are now.
  CharSelectScreen();

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  bool Update() override;
  bool Draw() override;
  // Remembers previous and starts without a pick.
  void OnEnter(Screen* previous) override;

  Screen* previousScreen = nullptr;
  TarnFramework::SimpleButton* backButton = nullptr;
  TarnFramework::SimpleButton* selectButton = nullptr;
  CharUnit* selectedUnit = nullptr;  // not owned
  int32_t frameCount = 0;

 private:
  SubPanelCharList* listPanel = nullptr;  // a child
};
