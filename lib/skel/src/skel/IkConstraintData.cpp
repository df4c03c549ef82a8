#include "skel/IkConstraintData.h"

namespace skel {

IkConstraintData::IkConstraintData(const String& name)
    : ConstraintData(name),
      _target(nullptr),
      _bendDirection(1),
      _compress(false),
      _stretch(false),
      _uniform(false),
      _mix(1),
      _softness(0) {}

}  // namespace skel
