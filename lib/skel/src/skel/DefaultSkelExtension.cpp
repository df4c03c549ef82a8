#include "skel/DefaultSkelExtension.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>

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
  size_t size = 0;
  int fd = tarn::OpenRegularFile(path.buffer(), &size);
  if (fd < 0) return nullptr;
  char* data = size > 0 ? SkelExtension::alloc<char>(size, __FILE__, __LINE__) : nullptr;
  size_t got = data ? tarn::ReadUpTo(fd, data, size) : 0;
  ::close(fd);
  if (data && got == 0) {
    SkelExtension::free(data, __FILE__, __LINE__);
    data = nullptr;
  }
  if (data) *length = got;
  return data;
}

}  // namespace skel
