// The GLFW callbacks: the five of input and the window's size, and the
// window's iconify state. They only write state on g_system; widgets and the
// frame loop read it during the next frame.
#pragma once

struct GLFWwindow;

namespace TarnFramework {

void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
void OnCursorPos(GLFWwindow* window, double x, double y);
void OnScroll(GLFWwindow* window, double xOffset, double yOffset);
void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void OnWindowSize(GLFWwindow* window, int width, int height);
// iconified: GLFW_TRUE when the window was minimised, GLFW_FALSE when restored.
void OnWindowIconify(GLFWwindow* window, int iconified);

// Registers the six callbacks on window, in the order above.
void RegisterInputCallbacks(GLFWwindow* window);

}  // namespace TarnFramework
