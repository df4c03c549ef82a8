#include "skel/SkelExtension.h"

#include <atomic>

#include "skel/DebugExtension.h"
#include "skel/DefaultSkelExtension.h"

namespace skel {

SkelExtension::~SkelExtension() = default;

void SkelExtension::beforeRelease(SkelObject*) {}

namespace {

std::atomic<SkelExtension*> installed{nullptr};

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

bool SkelExtension::setInstance(SkelExtension* extension) {
  SkelExtension* expected = nullptr;
  return extension && installed.compare_exchange_strong(expected, extension, std::memory_order_acq_rel);
}

}  // namespace skel
