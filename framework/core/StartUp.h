// The window half of the program's start-up: GLFW, the 1280 x 720 window and
// its context, GLEW, the fixed-function state and the input callbacks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace TarnFramework {

class SystemBase;

// What a program asks of its window on the desktop beyond GLFW's defaults.
// An empty request leaves the window as GLFW makes it.
struct WindowRequest {
  // A PNG file in memory (built into the program).
  struct Png {
    const unsigned char* bytes;
    size_t size;
  };
  // The X11 class and instance name (WM_CLASS), by which docks and task
  // switchers match the window to its desktop entry's StartupWMClass; empty:
  // GLFW's default ("OpenGL" under the default title).
  std::string x11Class;
  // The smallest size the window manager lets the window take; 0: no limit.
  int minWidth = 0;
  int minHeight = 0;
  // The window's icon, one picture per size (the window manager picks one).
  std::vector<Png> icons;
};

// Japanese character-type locale, falling back to UTF-8; failure is harmless.
void SetProgramLocale();

// On failure everything created so far is released, the reason is said on
// standard error (with what GLFW said) and false returned. An icon that does
// not decode is left out with a warning; the window opens without it.
bool StartUpWindow(SystemBase& system, const WindowRequest& request = WindowRequest());

}  // namespace TarnFramework
