// Preloaded into the real program: counts the frames it presents and keeps
// the count in the file named by TARN_FRAME_COUNT_FILE, so a test knows how
// many frames a session ran without the program knowing it is watched.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

struct GLFWwindow;

extern "C" void glfwSwapBuffers(GLFWwindow* window);

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
  using Swap = void (*)(GLFWwindow*);
  static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
  static long frames = 0;
  static int file = [] {
    const char* path = std::getenv("TARN_FRAME_COUNT_FILE");
    return path ? open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
  }();
  if (real) real(window);
  ++frames;
  if (file >= 0) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%ld\n", frames);
    if (n > 0 && pwrite(file, text, static_cast<size_t>(n), 0) < 0) file = -1;
  }
}
