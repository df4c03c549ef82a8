// CharUnit: one character of the game. Lists and screens refer to it by its
// key, "CU_" and the serial number handed out by the game system.
#pragma once

#include <cstdint>

class CharUnit {
 public:
  static constexpr int kKeySize = 32;
  static constexpr int kMaxNameLength = 256;

  // The character's display data.
  class Status {
   public:
    Status() = default;
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    virtual ~Status();
    virtual void Release();

    // Stores a copy of text, cut after kMaxNameLength characters; null clears.
    void SetName(const char16_t* text);

    char16_t* name = nullptr;  // owned
  };

  // Takes the next serial number from g_game.
  CharUnit();
  CharUnit(const CharUnit&) = delete;
  CharUnit& operator=(const CharUnit&) = delete;
  virtual ~CharUnit() = default;
  virtual void Release() {}

  Status status;
  int32_t graphicIndex = 0;
  int32_t id = -1;
  char key[kKeySize] = {};
};

// The check screens make before looking a list key up: not empty, and the
// part before the first '_' (or the whole key) is exactly "CU".
bool IsUnitKey(const char* key);
