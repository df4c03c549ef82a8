#include "skel/DefaultSkelExtension.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "skel/String.h"
#include "tarn/Path.h"

namespace skel {

DefaultSkelExtension::~DefaultSkelExtension() = default;

void* DefaultSkelExtension::allocate(size_t size, const char*, int) {
  if (size == 0) return nullptr;
  return std::malloc(size);
}

void* DefaultSkelExtension::allocateZeroed(size_t size, const char*, int) {
  if (size == 0) return nullptr;
  void* block = std::malloc(size);
  if (block) std::memset(block, 0, size);
  return block;
}

void* DefaultSkelExtension::reallocate(void* block, size_t size, const char*, int) {
  if (size == 0) {
    // The caller drops its pointer, so the old block must not be kept.
    std::free(block);
    return nullptr;
  }
  if (!block) return std::malloc(size);
  return std::realloc(block, size);
}

void DefaultSkelExtension::release(void* block, const char*, int) { std::free(block); }

char* DefaultSkelExtension::readFile(const String& path, size_t* length) {
  std::vector<unsigned char> bytes;
  if (!tarn::ReadFile(path.buffer(), bytes) || bytes.empty()) return nullptr;
  char* data = SkelExtension::alloc<char>(bytes.size(), __FILE__, __LINE__);
  if (!data) return nullptr;
  std::memcpy(data, bytes.data(), bytes.size());
  *length = bytes.size();
  return data;
}

}  // namespace skel
