#include "framework/core/Screen.h"

#include "framework/core/ScreenManager.h"

namespace TarnFramework {

void Screen::OnEnter(Screen*) {}

void Screen::OnLeave(Screen*) {}

void Screen::ChangeScreen(const char* screenName) {
  if (!manager) return;
  int32_t index = manager->FindScreen(screenName);
  if (index >= 0) manager->ChangeScreen(index);
}

}  // namespace TarnFramework
