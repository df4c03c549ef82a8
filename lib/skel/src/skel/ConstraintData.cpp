#include "skel/ConstraintData.h"

namespace skel {

ConstraintData::ConstraintData(const String& name) : _name(name), _order(0), _skinRequired(false) {}

}  // namespace skel
