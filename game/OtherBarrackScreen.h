// OtherBarrackScreen: the list of another barrack (placeholder entries).
#pragma once

#include <cstdint>

#include "framework/core/Screen.h"

namespace TarnFramework {
class SimpleButton;
}

class BarrackListBox;

class OtherBarrackScreen : public TarnFramework::Screen {
 public:
  static constexpr int32_t kEntryCount = 10;

  OtherBarrackScreen();

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  bool Update() override;
  void OnEnter(Screen* previous) override;

  Screen* previousScreen = nullptr;
  TarnFramework::SimpleButton* backButton = nullptr;
  BarrackListBox* barrackList = nullptr;  // a child
};
