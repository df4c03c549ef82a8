/// @class TarnFramework::SystemBase
/// The framework's one system object. It owns the window (through
/// the graphic manager), the screens, and the input state the callbacks write.
#pragma once

#include <cstdint>

#include "framework/core/FramePacer.h"
#include "framework/core/Key.h"
#include "framework/core/ScreenManager.h"
#include "framework/graphics/GraphicManager.h"

namespace TarnFramework {

/// One mouse button as the frame sees it.
struct MouseButtonState {
  bool pressed = false;   ///< Went down since the last frame end.
  bool down = false;      ///< Held down now.
  bool released = false;  ///< Went up since the last frame end.
  /// Where the cursor was when the button last went down, and when it last went up.
  /// @{
  int32_t pressX = 0;
  int32_t pressY = 0;
  int32_t releaseX = 0;
  int32_t releaseY = 0;
  /// @}
};

class SystemBase final {
 public:
  /// The value of mouseX and mouseY while the cursor has not been seen in the window.
  static constexpr int32_t kNoCursor = 2147483647;

  SystemBase();
  SystemBase(const SystemBase&) = delete;
  SystemBase& operator=(const SystemBase&) = delete;

  /// Releases every screen (while the context still exists), then the window.
  virtual void Release();

  /// Runs frames until the window closes or a screen asks to stop.
  void MainLoop();
  /// One pass of the frame loop; false when the loop has to end before it ran.
  /// While the window is iconified a pass draws nothing: it waits for the
  /// next window event (a restore, a close) instead.
  bool RunFrame();
  /// Clears the one-frame input edges (run after the swap, before polling).
  void EndFrameInput();

  /// The window and its drawing state, and the screens.
  /// @{
  GraphicManager graphicManager;
  ScreenManager screenManager;
  /// @}
  /// The window's size in pixels, following resizes.
  /// @{
  int32_t windowWidth = 1280;
  int32_t windowHeight = 720;
  /// @}

  /// 1 when the last mouse button event was a press, 0 for a release.
  int32_t lastButtonAction = 0;
  /// The cursor in window pixels, or kNoCursor.
  /// @{
  int32_t mouseX = kNoCursor;
  int32_t mouseY = kNoCursor;
  /// @}
  /// Wheel steps this frame.
  /// @{
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  /// @}
  /// Frames the cursor has not moved for.
  int32_t mouseStillFrames = 0;
  /// The cursor at the last frame end, which mouseStillFrames compares with.
  /// @{
  int32_t prevMouseX = -2147483647 - 1;
  int32_t prevMouseY = -2147483647 - 1;
  /// @}
  /// The three mouse buttons, and the keyboard.
  /// @{
  MouseButtonState leftButton;
  MouseButtonState middleButton;
  MouseButtonState rightButton;
  Key keyboard;
  /// @}

  /// Set to end the frame loop after this frame.
  bool quitRequested = false;

  /// After each swap, sleep out the rest of 1/60 s (FramePacer). On by
  /// default; the whole-frame benchmark and the tests that run frames by the
  /// hundred turn it off to run frames back to back.
  bool framePacing = true;
  /// The pacer framePacing uses.
  FramePacer pacer;
  /// The window is iconified (minimised): set by the window's iconify callback.
  bool iconified = false;
};

/// The one system object; set by its constructor.
extern SystemBase* g_system;

}  // namespace TarnFramework
