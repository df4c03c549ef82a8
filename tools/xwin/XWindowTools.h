// Small X11 helpers for driving the game from outside: find its window,
// close it as a window manager would, and capture it to a PNG.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace tarn_xwin {

// The first window with this title, searching depth-first from the root; when
// pid > 0 only a window whose _NET_WM_PID is pid. 0 when none.
Window FindWindowByTitle(Display* display, const char* title, pid_t pid = -1);

// The close button of a window manager: a WM_DELETE_WINDOW client message.
void SendDeleteWindow(Display* display, Window window);

// The window's current content as RGBA rows, top row first; false on failure.
bool CaptureWindowPixels(Display* display, Window window, std::vector<unsigned char>& rgba, unsigned& width,
                         unsigned& height);

// Writes the window's current content as an RGBA PNG; false on failure.
bool CaptureWindow(Display* display, Window window, const std::string& pngPath);

}  // namespace tarn_xwin
