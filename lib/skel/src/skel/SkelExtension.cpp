#include "skel/SkelExtension.h"

#include "skel/DebugExtension.h"
#include "skel/DefaultSkelExtension.h"

namespace skel {

SkelExtension::~SkelExtension() = default;

void SkelExtension::beforeRelease(SkelObject*) {}

SkelExtension* SkelExtension::getInstance() {
  // Never destroyed: runtime objects with static lifetime may still release
  // memory while the process ends.
  static SkelExtension* instance = new DebugExtension(new DefaultSkelExtension());
  return instance;
}

}  // namespace skel
