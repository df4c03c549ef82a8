// The five GLFW callbacks. They only write state on g_system; widgets poll it
// during the next frame.
#pragma once

struct GLFWwindow;

namespace TarnFramework {

void OnMouseButton(GLFWwindow* window, int button, int action, int mods);
void OnCursorPos(GLFWwindow* window, double x, double y);
void OnScroll(GLFWwindow* window, double xOffset, double yOffset);
void OnKey(GLFWwindow* window, int key, int scancode, int action, int mods);
void OnWindowSize(GLFWwindow* window, int width, int height);

// Registers the five callbacks on window, in the order above.
void RegisterInputCallbacks(GLFWwindow* window);

}  // namespace TarnFramework
