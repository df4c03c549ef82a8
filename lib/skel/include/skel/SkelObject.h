/// @class skel::SkelObject
/// Base of every runtime object: its memory comes from the process extension.
/// Create objects with `new (__FILE__, __LINE__) T(...)` so that every block can be
/// traced to the line that made it; a plain `new T` works too, untagged.
#pragma once

#include <cstddef>

namespace skel {

class SkelObject {
 public:
  SkelObject() = default;
  virtual ~SkelObject();

  /// A block from the process extension, tagged with file and line when given.
  /// Null when memory runs out (the constructor is then not run).
  /// @{
  static void* operator new(size_t size) noexcept;
  static void* operator new(size_t size, const char* file, int line) noexcept;
  static void* operator new(size_t size, void* where) noexcept;
  /// @}
  /// Gives the block back to the process extension; the placement form frees nothing.
  /// @{
  static void operator delete(void* block);
  static void operator delete(void* block, const char* file, int line);
  static void operator delete(void* block, void* where);
  /// @}
};

}  // namespace skel
