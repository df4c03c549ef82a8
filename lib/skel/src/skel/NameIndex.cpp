#include "skel/NameIndex.h"

#include <cstdint>

namespace skel {

void NameIndex::clear() const {
  _slots.clear();
  _indexed = 0;
  _named = 0;
}

size_t NameIndex::hashName(const String& name) {
  uint64_t h = 14695981039346656037ull;
  const char* bytes = name.buffer();
  for (size_t i = 0; i < name.length(); ++i) {
    h ^= static_cast<unsigned char>(bytes[i]);
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h ^ (h >> 32));
}

}  // namespace skel
