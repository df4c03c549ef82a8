/// @class skel::DefaultSkelExtension
/// The plain extension on the C heap.
#pragma once

#include "skel/SkelExtension.h"

namespace skel {

class DefaultSkelExtension : public SkelExtension {
 public:
  DefaultSkelExtension() = default;
  ~DefaultSkelExtension() override;

  /// malloc, calloc, realloc and free; file and line are not kept.
  /// @{
  void* allocate(size_t size, const char* file, int line) override;
  void* allocateZeroed(size_t size, const char* file, int line) override;
  void* reallocate(void* block, size_t size, const char* file, int line) override;
  void release(void* block, const char* file, int line) override;
  /// @}
  char* readFile(const String& path, size_t* length) override;
};

}  // namespace skel
