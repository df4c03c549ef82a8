#include "ScreenReturn.h"

#include "framework/core/Screen.h"
#include "framework/core/ScreenManager.h"

using namespace TarnFramework;

void ReturnToScreen(Screen* self, Screen* target, const char* fallback) {
  if (!target) {
    self->ChangeScreen(fallback);
    return;
  }
  ScreenManager* manager = self->manager;
  if (!manager) return;
  for (int32_t i = 0; i < ScreenManager::kSlots; ++i) {
    if (manager->screens[i] == target) {
      manager->ChangeScreen(i);
      return;
    }
  }
}
