#include "skel/EventData.h"

namespace skel {

EventData::EventData(const String& name)
    : _name(name), _intValue(0), _floatValue(0), _stringValue(), _audioPath(), _volume(1), _balance(0) {}

}  // namespace skel
