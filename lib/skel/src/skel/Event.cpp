#include "skel/Event.h"

#include "skel/EventData.h"

namespace skel {

Event::Event(float time, const EventData& data)
    : _data(data),
      _time(time),
      _intValue(data.getIntValue()),
      _floatValue(data.getFloatValue()),
      _stringValue(data.getStringValue()),
      _volume(1),
      _balance(0) {}

Event::~Event() {}

}  // namespace skel
