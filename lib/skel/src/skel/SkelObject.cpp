#include "skel/SkelObject.h"

#include "skel/SkelExtension.h"

namespace skel {

SkelObject::~SkelObject() { SkelExtension::getInstance()->beforeRelease(this); }

void* SkelObject::operator new(size_t size) noexcept { return operator new(size, __FILE__, __LINE__); }

// Zero-filled, so that fields a constructor leaves alone start out cleared.
void* SkelObject::operator new(size_t size, const char* file, int line) noexcept {
  return SkelExtension::calloc<char>(size, file, line);
}

void* SkelObject::operator new(size_t, void* where) noexcept { return where; }

void SkelObject::operator delete(void* block) { SkelExtension::free(block, __FILE__, __LINE__); }

void SkelObject::operator delete(void* block, const char* file, int line) { SkelExtension::free(block, file, line); }

void SkelObject::operator delete(void*, void*) {}

}  // namespace skel
