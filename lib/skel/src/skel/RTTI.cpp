#include "skel/RTTI.h"

#include <cstring>

namespace skel {

RTTI::RTTI(const char* className) : _className(className), _base(nullptr) {}

RTTI::RTTI(const char* className, const RTTI& baseRTTI) : _className(className), _base(&baseRTTI) {}

bool RTTI::instanceOf(const RTTI& rtti) const {
  for (const RTTI* record = this; record; record = record->_base)
    if (record->isExactly(rtti)) return true;
  return false;
}

}  // namespace skel
