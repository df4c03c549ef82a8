#include "skel/RTTI.h"

#include <cstring>

namespace skel {

RTTI::RTTI(const char* className) : _className(className), _base(nullptr) {}

RTTI::RTTI(const char* className, const RTTI& baseRTTI) : _className(className), _base(&baseRTTI) {}

// The same record or the same text needs no byte comparison.
bool RTTI::isExactly(const RTTI& rtti) const {
    return this == &rtti || _className == rtti._className || std::strcmp(_className, rtti._className) == 0;
}

bool RTTI::instanceOf(const RTTI& rtti) const {
    for (const RTTI* record = this; record; record = record->_base)
        if (record->isExactly(rtti)) return true;
    return false;
}

}  // namespace skel
