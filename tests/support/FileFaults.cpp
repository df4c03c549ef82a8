#include "FileFaults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <vector>

namespace {

std::atomic<tarn_test::FileFaults*> g_watched{nullptr};
// Descriptors open on the watched file; touched only while one is watched.
std::vector<int> g_descriptors;
bool g_interrupted = false;  // the last watched call was interrupted

template <class Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// True when this call is to fail with EINTR: every other watched call.
bool Interrupt(tarn_test::FileFaults& faults) {
  if (!faults.interrupt) return false;
  g_interrupted = !g_interrupted;
  if (g_interrupted) ++faults.interruptions;
  return g_interrupted;
}

}  // namespace

namespace tarn_test {

WatchFile::WatchFile(FileFaults& faults) {
  g_descriptors.clear();
  g_interrupted = false;
  g_watched = &faults;
}

WatchFile::~WatchFile() { g_watched = nullptr; }

}  // namespace tarn_test

extern "C" int open(const char* path, int flags, ...) {
  static const auto real = Next<int (*)(const char*, int, ...)>("open");
  mode_t mode = 0;
  if (flags & (O_CREAT | O_TMPFILE)) {
    va_list args;
    va_start(args, flags);
    mode = va_arg(args, mode_t);
    va_end(args);
  }
  tarn_test::FileFaults* faults = g_watched;
  if (!faults || faults->path != path) return real(path, flags, mode);
  if (faults->onOpen) {
    const std::function<void()> step = std::move(faults->onOpen);
    faults->onOpen = nullptr;
    step();
  }
  if (Interrupt(*faults)) {
    errno = EINTR;
    return -1;
  }
  const int fd = real(path, flags, mode);
  if (fd >= 0) {
    ++faults->opens;
    g_descriptors.push_back(fd);
  }
  return fd;
}

extern "C" ssize_t read(int fd, void* buffer, size_t count) {
  static const auto real = Next<ssize_t (*)(int, void*, size_t)>("read");
  tarn_test::FileFaults* faults = g_watched;
  if (!faults || std::find(g_descriptors.begin(), g_descriptors.end(), fd) == g_descriptors.end())
    return real(fd, buffer, count);
  if (Interrupt(*faults)) {
    errno = EINTR;
    return -1;
  }
  if (faults->bytesRead >= faults->failReadsAfter) {
    errno = EIO;
    return -1;
  }
  const ssize_t n = real(fd, buffer, std::min(count, faults->failReadsAfter - faults->bytesRead));
  if (n > 0) faults->bytesRead += static_cast<size_t>(n);
  return n;
}

extern "C" int close(int fd) {
  static const auto real = Next<int (*)(int)>("close");
  if (g_watched) g_descriptors.erase(std::remove(g_descriptors.begin(), g_descriptors.end(), fd), g_descriptors.end());
  return real(fd);
}
