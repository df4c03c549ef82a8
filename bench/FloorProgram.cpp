// The floor of a frame: a window of the game's size whose frames only clear
// and swap, with the game's swap interval.
#include <GLFW/glfw3.h>

int main() {
  if (!glfwInit()) return -1;
  GLFWwindow* window = glfwCreateWindow(1280, 720, "OpenGL", nullptr, nullptr);
  if (!window) {
    glfwTerminate();
    return -1;
  }
  glfwMakeContextCurrent(window);
  glfwSwapInterval(1);
  while (!glfwWindowShouldClose(window)) {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    glfwPollEvents();
  }
  glfwTerminate();
  return 0;
}
