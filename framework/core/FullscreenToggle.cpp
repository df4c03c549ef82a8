#include "framework/core/FullscreenToggle.h"

#include <GLFW/glfw3.h>

#include <algorithm>

namespace TarnFramework {

void FullscreenToggle::Toggle(GLFWwindow* window) {
  if (!window) return;
  if (IsFullscreen(window)) {
    glfwSetWindowMonitor(window, nullptr, x_, y_, width_, height_, GLFW_DONT_CARE);
    if (maximised_) glfwMaximizeWindow(window);
    return;
  }
  GLFWmonitor* monitor = MonitorOf(window);
  const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
  if (!mode) return;
  maximised_ = glfwGetWindowAttrib(window, GLFW_MAXIMIZED) == GLFW_TRUE;
  glfwGetWindowPos(window, &x_, &y_);
  glfwGetWindowSize(window, &width_, &height_);
  // The monitor's own mode: the display is not switched, only the window
  // covers it.
  glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
}

bool FullscreenToggle::IsFullscreen(GLFWwindow* window) { return window && glfwGetWindowMonitor(window); }

GLFWmonitor* FullscreenToggle::MonitorOf(GLFWwindow* window) {
  int x = 0, y = 0, w = 0, h = 0;
  glfwGetWindowPos(window, &x, &y);
  glfwGetWindowSize(window, &w, &h);
  int count = 0;
  GLFWmonitor** monitors = glfwGetMonitors(&count);
  GLFWmonitor* best = glfwGetPrimaryMonitor();
  long bestArea = 0;
  for (int i = 0; i < count; ++i) {
    const GLFWvidmode* mode = glfwGetVideoMode(monitors[i]);
    if (!mode) continue;
    int mx = 0, my = 0;
    glfwGetMonitorPos(monitors[i], &mx, &my);
    const long across = std::min(x + w, mx + mode->width) - std::max(x, mx);
    const long down = std::min(y + h, my + mode->height) - std::max(y, my);
    if (across > 0 && down > 0 && across * down > bestArea) {
      bestArea = across * down;
      best = monitors[i];
    }
  }
  return best;
}

}  // namespace TarnFramework
