#include "skel/SkelExtension.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "skel/DebugExtension.h"
#include "skel/DefaultSkelExtension.h"

namespace skel {

SkelExtension::~SkelExtension() = default;

void SkelExtension::beforeRelease(SkelObject*) {}

void SkelExtension::outOfMemory(size_t size, const char* file, int line) {
  std::fprintf(stderr, "skel: out of memory: a request of %zu bytes at %s:%d failed\n", size, file ? file : "?", line);
  std::abort();
}

namespace {

std::atomic<SkelExtension*> installed{nullptr};
thread_local uint64_t failedRequests = 0;
thread_local bool outOfMemoryEnds = false;

// Never destroyed: runtime objects with static lifetime may still release
// memory while the process ends.
SkelExtension* tracking() {
  static SkelExtension* const made = new DebugExtension(new DefaultSkelExtension());
  return made;
}

}  // namespace

SkelExtension* SkelExtension::getInstance() {
  if (SkelExtension* current = installed.load(std::memory_order_acquire)) return current;
  // The first request settles it; a program installing its own at the same
  // moment on another thread wins or loses as a whole.
  SkelExtension* expected = nullptr;
  installed.compare_exchange_strong(expected, tracking(), std::memory_order_acq_rel);
  return installed.load(std::memory_order_acquire);
}

uint64_t SkelExtension::getFailedRequests() { return failedRequests; }

bool SkelExtension::setOutOfMemoryEndsProgram(bool ends) {
  const bool before = outOfMemoryEnds;
  outOfMemoryEnds = ends;
  return before;
}

void* SkelExtension::failed(size_t size, const char* file, int line) {
  ++failedRequests;
  if (outOfMemoryEnds) {
    // Not again from inside the handler, should it allocate.
    outOfMemoryEnds = false;
    getInstance()->outOfMemory(size, file, line);
    std::abort();
  }
  return nullptr;
}

bool SkelExtension::setInstance(SkelExtension* extension) {
  SkelExtension* expected = nullptr;
  return extension && installed.compare_exchange_strong(expected, extension, std::memory_order_acq_rel);
}

}  // namespace skel
