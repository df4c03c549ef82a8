#include "skel/Updatable.h"

namespace skel {

SKEL_RTTI_ROOT_IMPL(Updatable)

Updatable::Updatable() {}

Updatable::~Updatable() {}

}  // namespace skel
