#include "framework/core/ScreenManager.h"

#include <cstring>

#include "framework/core/Screen.h"

namespace TarnFramework {

void ScreenManager::Release() {
  for (Screen*& screen : screens) {
    if (!screen) continue;
    if (screen == currentScreen) currentScreen = nullptr;
    screen->Release();
    delete screen;
    screen = nullptr;
  }
}

void ScreenManager::RegisterScreen(int32_t index, Screen* screen) {
  if (index < 0 || index >= kSlots) return;
  Screen*& slot = screens[index];
  if (slot && slot != screen) {
    if (slot == currentScreen) currentScreen = nullptr;
    slot->Release();
    delete slot;
  }
  if (screen) screen->manager = this;
  slot = screen;
}

void ScreenManager::ChangeScreen(int32_t index) {
  if (currentScreen) {
    changeRequested = true;
    nextScreenIndex = index;
    return;
  }
  currentScreen = index >= 0 && index < kSlots ? screens[index] : nullptr;
  if (currentScreen) currentScreen->OnEnter(nullptr);
}

int32_t ScreenManager::FindScreen(const char* name) const {
  if (!name) return -1;
  for (int32_t i = 0; i < kSlots; ++i) {
    if (screens[i] && std::strcmp(screens[i]->name, name) == 0) return i;
  }
  return -1;
}

void ScreenManager::ApplyPendingSwitch() {
  if (changeRequested) {
    Screen* previous = currentScreen;
    Screen* next = nextScreenIndex >= 0 && nextScreenIndex < kSlots ? screens[nextScreenIndex] : nullptr;
    if (previous) {
      previous->ApplyPendingChanges();
      previous->OnLeave(next);
    }
    currentScreen = next;
    if (currentScreen) currentScreen->OnEnter(previous);
  }
  changeRequested = false;
}

}  // namespace TarnFramework
