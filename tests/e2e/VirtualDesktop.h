// A desktop of its own for tests and benchmarks that need a window manager:
// a fresh virtual X server (Xvfb, on the first free display) with openbox
// managing its windows. While it lives, DISPLAY names it, so the programs a
// ProgramHarness starts, the harness's own X connection (made after the
// desktop) and xdotool all use it.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarn_test {

class VirtualDesktop {
 public:
  // A screen of width x height pixels, 24-bit colour.
  explicit VirtualDesktop(int width = 2560, int height = 1440);
  // Ends openbox and the server, and gives DISPLAY its old value back.
  ~VirtualDesktop();
  VirtualDesktop(const VirtualDesktop&) = delete;
  VirtualDesktop& operator=(const VirtualDesktop&) = delete;

  // Both run and openbox manages the screen; else Why() says what failed.
  bool Ready() const { return ready_; }
  const std::string& Why() const { return why_; }
  const std::string& DisplayName() const { return display_; }
  pid_t ServerPid() const { return server_; }

 private:
  bool StartServer(int width, int height);
  bool StartWindowManager();

  pid_t server_ = -1;
  pid_t manager_ = -1;
  std::string display_;
  std::string previousDisplay_;
  bool hadDisplay_ = false;
  bool ready_ = false;
  std::string why_;
};

// Window-manager views of a client window, read from its properties.
// WM_STATE: 1 normal, 3 iconic, 0 withdrawn, -1 none.
int WmState(Display* display, Window window);
// Waits until WM_STATE is state; false on timeout.
bool WaitForWmState(Display* display, Window window, int state, double seconds);
// The window's size as the server has it; false when it has none.
bool WindowSize(Display* display, Window window, int& width, int& height);
// Where the window's top-left corner is on the screen; false when it has none.
bool WindowPosition(Display* display, Window window, int& x, int& y);
// WM_NORMAL_HINTS: the smallest size asked for (0 x 0 when none) and whether a
// largest one is; false without the property.
bool SizeLimits(Display* display, Window window, int& minWidth, int& minHeight, bool& hasMax);
// WM_CLASS: instance and class name; false without the property.
bool ClassHint(Display* display, Window window, std::string& instance, std::string& windowClass);
// WM_NAME.
std::string Title(Display* display, Window window);
// _NET_WM_ICON as 32-bit values: width, height, then width x height ARGB
// pixels, for each icon in turn; empty without the property.
std::vector<uint32_t> IconProperty(Display* display, Window window);
// CPU time used by a process so far (user and system, all threads), seconds.
double ProcessCpuSeconds(pid_t pid);

}  // namespace tarn_test
