/// @class skel::Event
/// One firing of an event key: the event's data with this key's values.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class EventData;

class Event : public SkelObject {
 public:
  /// The values start as the data's; the loader overwrites those the key sets.
  /// Volume and balance start at 1 and 0.
  Event(float time, const EventData& data);
  ~Event() override;

  /// The event fired, and the animation time of its key.
  /// @{
  const EventData& getData() const { return _data; }
  float getTime() const { return _time; }
  /// @}
  /// This firing's values: as in EventData.
  /// @{
  int getIntValue() const { return _intValue; }
  void setIntValue(int v) { _intValue = v; }
  float getFloatValue() const { return _floatValue; }
  void setFloatValue(float v) { _floatValue = v; }
  const String& getStringValue() const { return _stringValue; }
  void setStringValue(const String& v) { _stringValue = v; }
  float getVolume() const { return _volume; }
  void setVolume(float v) { _volume = v; }
  float getBalance() const { return _balance; }
  void setBalance(float v) { _balance = v; }
  /// @}

 private:
  const EventData& _data;
  const float _time;
  int _intValue;
  float _floatValue;
  String _stringValue;
  float _volume;
  float _balance;
};

}  // namespace skel
