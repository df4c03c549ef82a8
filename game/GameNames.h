// Names of widgets and keys tell their kind by the part before the first '_'
// ("Panel_CharList" is a "Panel", "CU_3" a unit key).
#pragma once

#include <cstring>

// True when the part of name before its first '_' (or all of it) is kind.
inline bool KindIs(const char* name, const char* kind) {
  if (!name || !kind) return false;
  const char* end = std::strchr(name, '_');
  const size_t length = end ? static_cast<size_t>(end - name) : std::strlen(name);
  return length == std::strlen(kind) && std::strncmp(name, kind, length) == 0;
}

// True when name is exactly text.
inline bool NameIs(const char* name, const char* text) { return name && text && std::strcmp(name, text) == 0; }
