#include "CharUnitManager.h"

#include <cstring>

#include "CharUnit.h"

CharUnitManager::~CharUnitManager() { CharUnitManager::Clear(); }

void CharUnitManager::Clear() {
  for (int32_t i = 0; i < units.count; ++i) {
    CharUnit* unit = units[i];
    unit->Release();
    delete unit;
  }
  units.Clear();
}

void CharUnitManager::Add(CharUnit* unit) {
  if (unit) units.Push(unit);
}

CharUnit* CharUnitManager::FindByKey(const char* key) const {
  if (!key) return nullptr;
  for (int32_t i = 0; i < units.count; ++i) {
    if (std::strcmp(units[i]->key, key) == 0) return units[i];
  }
  return nullptr;
}

CharUnit* CharUnitManager::At(int32_t index) const {
  return index >= 0 && index < units.count ? units[index] : nullptr;
}
