// Preloaded into the real program: every setenv is said on standard error
// with whether a thread had been started before it (setenv is not safe while
// another thread may read the environment). LP_NUM_THREADS starts unset, so
// the program sets it.
#include <dlfcn.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>

namespace {

std::atomic<bool> g_threadStarted{false};

__attribute__((constructor)) void StartWithoutTheChoice() { unsetenv("LP_NUM_THREADS"); }

}  // namespace

extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*run)(void*),
                              void* argument) noexcept {
  using Create = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
  static const auto real = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "pthread_create"));
  g_threadStarted = true;
  return real(thread, attributes, run, argument);
}

extern "C" int setenv(const char* name, const char* value, int overwrite) noexcept {
  using Set = int (*)(const char*, const char*, int);
  static const auto real = reinterpret_cast<Set>(dlsym(RTLD_NEXT, "setenv"));
  const std::string said =
      std::string("setenv-watch: ") + name + (g_threadStarted ? " after a thread started\n" : " before any thread\n");
  const ssize_t written = write(STDERR_FILENO, said.data(), said.size());
  (void)written;
  return real(name, value, overwrite);
}
