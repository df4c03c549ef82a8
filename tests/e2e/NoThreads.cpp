// Preloaded into the real program: every thread creation fails as in a
// process out of threads, and each refusal is said on standard error so that
// a test knows the program asked.
#include <pthread.h>
#include <unistd.h>

#include <cerrno>

extern "C" int pthread_create(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*) noexcept {
  static const char kSaid[] = "no-threads: pthread_create refused\n";
  const ssize_t said = write(STDERR_FILENO, kSaid, sizeof kSaid - 1);
  (void)said;
  return EAGAIN;
}
