/// @class skel::EventData
/// Setup values of a named event that animations fire.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class EventData : public SkelObject {
 public:
  /// An event with zero values; name is how keys refer to it.
  explicit EventData(const String& name);

  /// The event's name.
  const String& getName() const { return _name; }
  /// The setup values each firing starts from: an int, a float and a string
  /// for the game's use, and a sound with its volume and balance.
  /// @{
  int getIntValue() const { return _intValue; }
  void setIntValue(int v) { _intValue = v; }
  float getFloatValue() const { return _floatValue; }
  void setFloatValue(float v) { _floatValue = v; }
  const String& getStringValue() const { return _stringValue; }
  void setStringValue(const String& v) { _stringValue = v; }
  const String& getAudioPath() const { return _audioPath; }
  void setAudioPath(const String& v) { _audioPath = v; }
  float getVolume() const { return _volume; }
  void setVolume(float v) { _volume = v; }
  float getBalance() const { return _balance; }
  void setBalance(float v) { _balance = v; }
  /// @}

 private:
  const String _name;
  int _intValue;
  float _floatValue;
  String _stringValue;
  String _audioPath;
  float _volume;
  float _balance;
};

}  // namespace skel
