// Runs the real tarn program under the current X display and talks to its
// window the way a window manager would.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <string>

namespace tarn_test {

class ProgramHarness {
 public:
  ProgramHarness();
  ~ProgramHarness();
  ProgramHarness(const ProgramHarness&) = delete;
  ProgramHarness& operator=(const ProgramHarness&) = delete;

  // Starts the program in its working directory; false when fork fails.
  // With withDisplay false the program gets no DISPLAY.
  bool Start(bool withDisplay = true);
  // Waits for the program's own window titled "OpenGL".
  bool WaitForWindow(double seconds);
  // The close button: a WM_DELETE_WINDOW client message.
  void SendDeleteWindow();
  // Waits for the process to end; its exit code, or kNoExit on timeout or a signal.
  int WaitForExit(double seconds);
  bool Capture(const std::string& pngPath);

  static constexpr int kNoExit = -1000;

  Display* display() const { return display_; }
  Window window() const { return window_; }

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  pid_t pid_ = -1;
};

}  // namespace tarn_test
