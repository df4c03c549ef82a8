#include "GameKeys.h"

#include <GLFW/glfw3.h>

#include "framework/core/FullscreenToggle.h"
#include "framework/core/SystemBase.h"

using namespace TarnFramework;

namespace {

GLFWkeyfun g_frameworkKeys = nullptr;
FullscreenToggle g_fullscreen;

void OnGameKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
  if (g_frameworkKeys) g_frameworkKeys(window, key, scancode, action, mods);
  if (IsFullscreenKey(key, action, mods)) g_fullscreen.Toggle(window);
}

}  // namespace

void InstallGameKeys(GLFWwindow* window) {
  if (!window) return;
  GLFWkeyfun previous = glfwSetKeyCallback(window, OnGameKey);
  if (previous != OnGameKey) g_frameworkKeys = previous;
}

bool IsFullscreenKey(int key, int action, int mods) {
  // A held key repeats; only its first press toggles.
  if (action != GLFW_PRESS) return false;
  return key == GLFW_KEY_F11 || ((key == GLFW_KEY_ENTER || key == GLFW_KEY_KP_ENTER) && (mods & GLFW_MOD_ALT));
}

bool EscapePressed() { return g_system && g_system->keyboard.pressed.flags[KeyTable::NamedSlot(GLFW_KEY_ESCAPE)] != 0; }
