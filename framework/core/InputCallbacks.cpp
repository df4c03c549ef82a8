#include "framework/core/InputCallbacks.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdint>

#include "framework/core/Screen.h"
#include "framework/core/SystemBase.h"

namespace TarnFramework {

namespace {

// Truncation toward zero, saturated so a wild value cannot overflow.
int32_t ToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
  int64_t sum = int64_t{a} + b;
  if (sum > 2147483647) return 2147483647;
  if (sum < -2147483647 - 1) return -2147483647 - 1;
  return static_cast<int32_t>(sum);
}

}  // namespace

void OnMouseButton(GLFWwindow*, int button, int action, int) {
  SystemBase* s = g_system;
  MouseButtonState* state = nullptr;
  switch (button) {
    case GLFW_MOUSE_BUTTON_LEFT: state = &s->leftButton; break;
    case GLFW_MOUSE_BUTTON_RIGHT: state = &s->rightButton; break;
    case GLFW_MOUSE_BUTTON_MIDDLE: state = &s->middleButton; break;
    default: return;
  }
  if (action == GLFW_PRESS) {
    state->pressX = s->mouseX;
    state->pressY = s->mouseY;
    s->lastButtonAction = 1;
    state->pressed = true;
    state->down = true;
  } else if (action == GLFW_RELEASE) {
    state->releaseX = s->mouseX;
    state->releaseY = s->mouseY;
    // A press in the same poll (a quick click, a touchpad tap) stays visible,
    // so the next frame still sees a click.
    state->down = false;
    state->released = true;
    s->lastButtonAction = 0;
  }
}

void OnCursorPos(GLFWwindow*, double x, double y) {
  g_system->mouseX = ToInt32(x);
  g_system->mouseY = ToInt32(y);
}

void OnScroll(GLFWwindow*, double xOffset, double yOffset) {
  g_system->scrollX = SaturatingAdd(g_system->scrollX, ToInt32(xOffset));
  g_system->scrollY = SaturatingAdd(g_system->scrollY, ToInt32(yOffset));
}

void OnKey(GLFWwindow*, int key, int, int action, int) {
  Key& keys = g_system->keyboard;
  if (action == GLFW_PRESS) {
    Key::SetKey(&keys.down, key, 1);
    Key::SetKey(&keys.pressed, key, 1);
  } else if (action == GLFW_RELEASE) {
    Key::SetKey(&keys.down, key, 0);
    Key::SetKey(&keys.released, key, 1);
  }
}

void OnWindowSize(GLFWwindow*, int width, int height) {
  SystemBase* s = g_system;
  s->windowWidth = width;
  s->windowHeight = height;
  s->graphicManager.viewportWidth = width;
  s->graphicManager.viewportHeight = height;
  for (Screen* screen : s->screenManager.screens) {
    if (!screen) continue;
    screen->SetSize(width, height);
    screen->OnResize(width, height);
    screen->PropagateResize(width, height);
  }
}

void OnWindowIconify(GLFWwindow*, int iconified) { g_system->iconified = iconified == GLFW_TRUE; }

void RegisterInputCallbacks(GLFWwindow* window) {
  glfwSetMouseButtonCallback(window, OnMouseButton);
  glfwSetCursorPosCallback(window, OnCursorPos);
  glfwSetScrollCallback(window, OnScroll);
  glfwSetKeyCallback(window, OnKey);
  glfwSetWindowSizeCallback(window, OnWindowSize);
  glfwSetWindowIconifyCallback(window, OnWindowIconify);
}

}  // namespace TarnFramework
