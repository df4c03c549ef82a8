// Preloaded into a program: at its first glfwSwapBuffers prints the time
// since TARN_PROBE_T0 (CLOCK_REALTIME nanoseconds, taken by the launcher just
// before exec); after TARN_PROBE_FRAMES swaps prints the peak resident memory
// and ends the process.
#include <GLFW/glfw3.h>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long long NowNs() {
  timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return t.tv_sec * 1000000000LL + t.tv_nsec;
}

long PeakKb() {
  FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
  std::fclose(f);
  return kb;
}

int swaps = 0;

}  // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
  using Swap = void (*)(GLFWwindow*);
  static Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
  real(window);
  if (++swaps == 1) {
    const char* t0 = std::getenv("TARN_PROBE_T0");
    if (t0) std::fprintf(stderr, "probe first-frame-ms %.1f\n", (NowNs() - std::atoll(t0)) / 1e6);
  }
  const char* frames = std::getenv("TARN_PROBE_FRAMES");
  if (swaps >= (frames ? std::atoi(frames) : 60)) {
    std::fprintf(stderr, "probe peak-rss-kb %ld\n", PeakKb());
    std::fflush(stderr);
    _exit(0);
  }
}
