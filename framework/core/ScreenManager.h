/// @class TarnFramework::ScreenManager
/// 32 screen slots, the current screen and a switch deferred to
/// the start of the next frame.
#pragma once

#include <cstdint>

namespace TarnFramework {

class Screen;

class ScreenManager {
 public:
  /// The number of screen slots.
  static constexpr int32_t kSlots = 32;

  ScreenManager() = default;
  ScreenManager(const ScreenManager&) = delete;
  ScreenManager& operator=(const ScreenManager&) = delete;
  virtual ~ScreenManager() = default;

  /// Releases and deletes every registered screen.
  virtual void Release();

  /// Takes ownership of screen in slot index, deleting what the slot held.
  void RegisterScreen(int32_t index, Screen* screen);
  /// Switches at once when nothing is current, otherwise at the next frame start.
  void ChangeScreen(int32_t index);
  /// Slot of the first screen with this name, or -1.
  int32_t FindScreen(const char* name) const;
  /// Frame start: performs a requested switch (OnLeave, then OnEnter).
  void ApplyPendingSwitch();

  /// A switch waits for the next frame start, to this slot.
  /// @{
  bool changeRequested = false;
  int32_t nextScreenIndex = 0;
  /// @}
  /// The screen shown, or null before the first switch.
  Screen* currentScreen = nullptr;
  /// The registered screens, owned; null for an empty slot.
  Screen* screens[kSlots] = {};
};

}  // namespace TarnFramework
