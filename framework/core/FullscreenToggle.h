/// @class TarnFramework::FullscreenToggle
/// Takes a window to fullscreen on the monitor it is on and back to the
/// window it was: the same position and size, maximised again if it was.
/// The window-size callback then lays the screens out for the new size, as
/// for any resize.
#pragma once

struct GLFWwindow;
struct GLFWmonitor;

namespace TarnFramework {

class FullscreenToggle {
 public:
  /// Fullscreen when windowed, windowed when fullscreen.
  void Toggle(GLFWwindow* window);
  /// Whether the window is fullscreen now.
  static bool IsFullscreen(GLFWwindow* window);
  /// The monitor holding most of the window (the primary one when the
  /// window is on none); null without monitors.
  static GLFWmonitor* MonitorOf(GLFWwindow* window);

 private:
  /// The window as it was before it went fullscreen.
  /// @{
  int x_ = 0;
  int y_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool maximised_ = false;
  /// @}
};

}  // namespace TarnFramework
