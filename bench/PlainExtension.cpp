// The runtime's allocation layer without tracking, for the copy of the
// runtime that the loading benchmarks compare against.
#include "skel/DefaultSkelExtension.h"
#include "skel/SkelExtension.h"

namespace skel {

SkelExtension::~SkelExtension() = default;

void SkelExtension::beforeRelease(SkelObject*) {}

SkelExtension* SkelExtension::getInstance() {
  static SkelExtension* instance = new DefaultSkelExtension();
  return instance;
}

}  // namespace skel
