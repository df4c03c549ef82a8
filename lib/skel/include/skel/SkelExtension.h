/// @class skel::SkelExtension
/// The allocation layer of the skeletal runtime: every block the runtime uses
/// comes from one process-wide extension, tagged with the requesting file and line.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skel {

class SkelObject;
class String;

class SkelExtension {
 public:
  virtual ~SkelExtension();

  /// A new block, or a new block of zero bytes; null when memory runs out.
  /// size 0 gives null.
  /// @{
  virtual void* allocate(size_t size, const char* file, int line) = 0;
  virtual void* allocateZeroed(size_t size, const char* file, int line) = 0;
  /// @}
  /// A null block allocates afresh; size 0 releases the block and gives null;
  /// on failure the old block stays valid.
  virtual void* reallocate(void* block, size_t size, const char* file, int line) = 0;
  /// Gives a block back; null is not passed.
  virtual void release(void* block, const char* file, int line) = 0;
  /// The whole file as a new block (not terminated); null when it cannot be read,
  /// in which case length is left untouched.
  virtual char* readFile(const String& path, size_t* length) = 0;
  /// Told of every object about to be freed; the base does nothing.
  /// Called by every SkelObject destructor.
  virtual void beforeRelease(SkelObject* object);
  /// Called when a request of an operation that has no way to report a
  /// failure (see OutOfMemoryEndsProgram) comes back empty: the animation
  /// state, the mixes. The base writes what failed where to standard error
  /// and aborts; an override may log or save first, and must not return (if
  /// it does, the program is aborted all the same). Loaders never call it:
  /// they fail with an error instead.
  virtual void outOfMemory(size_t size, const char* file, int line);

  /// The process extension. Unless a program installed its own, the tracking
  /// extension over plain malloc is made at the first request; never replaced.
  static SkelExtension* getInstance();
  /// Installs a program's own extension (not owned; it must outlive every
  /// runtime object) before the runtime has used one. False, and nothing
  /// changed, once the runtime has: blocks would otherwise go back through
  /// another allocator than the one they came from.
  static bool setInstance(SkelExtension* extension);

  /// Typed helpers over the process extension. A count whose byte size
  /// overflows gives null. Every request of the runtime goes through them,
  /// so that a failed one is counted (see getFailedRequests).
  /// @{
  template <typename T>
  static T* alloc(size_t count, const char* file, int line) {
    size_t bytes;
    if (!byteSize(count, sizeof(T), bytes)) return static_cast<T*>(failed(SIZE_MAX, file, line));
    void* block = getInstance()->allocate(bytes, file, line);
    return static_cast<T*>(block || !bytes ? block : failed(bytes, file, line));
  }

  template <typename T>
  static T* calloc(size_t count, const char* file, int line) {
    size_t bytes;
    if (!byteSize(count, sizeof(T), bytes)) return static_cast<T*>(failed(SIZE_MAX, file, line));
    void* block = getInstance()->allocateZeroed(bytes, file, line);
    return static_cast<T*>(block || !bytes ? block : failed(bytes, file, line));
  }

  template <typename T>
  static T* realloc(T* block, size_t count, const char* file, int line) {
    size_t bytes;
    if (!byteSize(count, sizeof(T), bytes)) return static_cast<T*>(failed(SIZE_MAX, file, line));
    void* grown = getInstance()->reallocate(block, bytes, file, line);
    return static_cast<T*>(grown || !bytes ? grown : failed(bytes, file, line));
  }
  /// @}

  /// How many requests came back empty on this thread so far. A loader
  /// compares it before and after a step: a copy that silently came out
  /// empty (a name, a list) shows there too.
  static uint64_t getFailedRequests();
  /// Whether a failed request on this thread ends the program through
  /// outOfMemory; sets it and gives what it was before.
  static bool setOutOfMemoryEndsProgram(bool ends);

  /// Gives a block back to the process extension; null is ignored.
  static void free(void* block, const char* file, int line) {
    if (block) getInstance()->release(block, file, line);
  }

  /// The process extension's readFile.
  static char* readFileData(const String& path, size_t* length) { return getInstance()->readFile(path, length); }

 protected:
  SkelExtension() = default;

 private:
  // Counts a failed request, and ends the program there where that is the
  // rule on this thread; gives null.
  static void* failed(size_t size, const char* file, int line);

  static bool byteSize(size_t count, size_t unit, size_t& bytes) {
    if (unit != 0 && count > SIZE_MAX / unit) return false;
    bytes = count * unit;
    return true;
  }
};

/// While one lives, a failed request on this thread ends the program through
/// the extension's outOfMemory (ends true) or is left to the code that made
/// it to report (false). Operations that cannot report a failure hold one
/// with true, so that they never run on with something missing; loaders
/// hold one with false, as they may run inside those (from a listener).
class OutOfMemoryEndsProgram {
 public:
  /// Sets the rule on this thread for as long as this lives.
  explicit OutOfMemoryEndsProgram(bool ends) : _before(SkelExtension::setOutOfMemoryEndsProgram(ends)) {}
  OutOfMemoryEndsProgram(const OutOfMemoryEndsProgram&) = delete;
  OutOfMemoryEndsProgram& operator=(const OutOfMemoryEndsProgram&) = delete;
  /// Puts back the rule that held before.
  ~OutOfMemoryEndsProgram() { SkelExtension::setOutOfMemoryEndsProgram(_before); }

 private:
  bool _before;
};

}  // namespace skel
