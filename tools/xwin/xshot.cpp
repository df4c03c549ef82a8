// xshot: capture or close the game's window from a script.
//   xshot capture OUT.png [TITLE]   writes the window (default "OpenGL") as PNG
//   xshot close [TITLE]             asks the window to close, like its close button
#include <cstdio>
#include <cstring>

#include "XWindowTools.h"

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "capture") == 0 && argc < 3)) {
    std::fprintf(stderr, "usage: xshot capture OUT.png [TITLE] | xshot close [TITLE]\n");
    return 2;
  }
  const bool capture = std::strcmp(argv[1], "capture") == 0;
  const char* title = argc > (capture ? 3 : 2) ? argv[capture ? 3 : 2] : "OpenGL";
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "xshot: cannot open the X display\n");
    return 1;
  }
  Window window = tarn_xwin::FindWindowByTitle(display, title);
  int status = 0;
  if (!window) {
    std::fprintf(stderr, "xshot: no window titled \"%s\"\n", title);
    status = 1;
  } else if (capture) {
    if (!tarn_xwin::CaptureWindow(display, window, argv[2])) {
      std::fprintf(stderr, "xshot: could not capture into %s\n", argv[2]);
      status = 1;
    }
  } else if (std::strcmp(argv[1], "close") == 0) {
    tarn_xwin::SendDeleteWindow(display, window);
  } else {
    std::fprintf(stderr, "xshot: unknown verb %s\n", argv[1]);
    status = 2;
  }
  XCloseDisplay(display);
  return status;
}
