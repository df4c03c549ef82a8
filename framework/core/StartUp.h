/// @file
/// The window half of the program's start-up: GLFW, the window (1280 x 720
/// unless asked otherwise) and its context, GLEW, the fixed-function state and
/// the input callbacks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace TarnFramework {

class SystemBase;

/// What a program asks of its window. The default is the game's: 1280 x 720,
/// titled "OpenGL", otherwise as GLFW makes it.
struct WindowRequest {
  /// The window's size, which the viewport and the pixel projection follow.
  /// @{
  int width = 1280;
  int height = 720;
  /// @}
  /// The window's title.
  std::string title = "OpenGL";
  /// A PNG file in memory (built into the program).
  struct Png {
    /// The file's bytes and their number.
    /// @{
    const unsigned char* bytes;
    size_t size;
    /// @}
  };
  /// The X11 class and instance name (WM_CLASS), by which docks and task
  /// switchers match the window to its desktop entry's StartupWMClass; empty:
  /// GLFW's default ("OpenGL" under the default title).
  std::string x11Class;
  /// The smallest size the window manager lets the window take; 0: no limit.
  /// @{
  int minWidth = 0;
  int minHeight = 0;
  /// @}
  /// The window's icon, one picture per size (the window manager picks one).
  std::vector<Png> icons;
};

/// Sets a Japanese character-type locale, falling back to UTF-8; failure is harmless.
void SetProgramLocale();

/// Opens the window the request describes, with its context and input callbacks.
/// On failure everything created so far is released and false returned; the
/// reason (with what GLFW said) goes to why, or without why to the log as an
/// error. An icon that does not decode is left out with a warning; the
/// window opens without it.
bool StartUpWindow(SystemBase& system, const WindowRequest& request = WindowRequest(), std::string* why = nullptr);

}  // namespace TarnFramework
