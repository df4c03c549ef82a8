// CharUnitManager: every character of a barrack, owned, in the order added.
#pragma once

#include <cstdint>

#include "framework/core/VArray.h"

class CharUnit;

class CharUnitManager {
 public:
  CharUnitManager() = default;
  CharUnitManager(const CharUnitManager&) = delete;
  CharUnitManager& operator=(const CharUnitManager&) = delete;
  virtual ~CharUnitManager();
  // Releases and deletes every unit.
  virtual void Clear();

  // The manager owns unit from now on; null is ignored.
  void Add(CharUnit* unit);
  // The first unit whose key equals key as a whole; null when none has it.
  CharUnit* FindByKey(const char* key) const;

  int32_t Count() const { return units.count; }
  // Null outside 0 to Count() - 1.
  CharUnit* At(int32_t index) const;

  TarnFramework::VArray<CharUnit> units;
};
