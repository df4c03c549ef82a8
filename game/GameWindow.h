// How the game's window presents itself on the desktop: the X11 class its
// desktop entry names (StartupWMClass=tarn), the smallest size its layout
// holds at, and its icon, built into the program from assets/icons.
#pragma once

#include "framework/core/StartUp.h"

// The design size: at it no widget overlaps another and every list line can
// be reached. The window may grow beyond it, never shrink below it.
constexpr int kGameMinWidth = 1280;
constexpr int kGameMinHeight = 720;
// WM_CLASS, instance and class alike.
constexpr const char kGameWindowClass[] = "tarn";

// The request for StartUpWindow: class, minimum size and the three icon
// sizes (48, 128 and 256 pixels square) as PNG files.
TarnFramework::WindowRequest GameWindowRequest();
