#include "CharUnit.h"

#include <cstdio>

#include "GameNames.h"
#include "GameSystem.h"

CharUnit::Status::~Status() { Status::Release(); }

void CharUnit::Status::Release() {
  delete[] name;
  name = nullptr;
}

void CharUnit::Status::SetName(const char16_t* text) {
  Release();
  if (!text) return;
  int length = 0;
  while (length < kMaxNameLength && text[length] != 0) ++length;
  name = new char16_t[length + 1];
  for (int i = 0; i < length; ++i) name[i] = text[i];
  name[length] = 0;
}

CharUnit::CharUnit() {
  // A unit made with no game system keeps id -1 rather than touching null.
  if (g_game) id = g_game->nextUnitId++;
  std::snprintf(key, sizeof key, "CU_%d", static_cast<int>(id));
}

bool IsUnitKey(const char* key) { return key && key[0] && KindIs(key, "CU"); }
