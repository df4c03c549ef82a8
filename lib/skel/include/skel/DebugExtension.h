/// @class skel::DebugExtension
/// The tracking extension the framework runs with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "skel/SkelExtension.h"

namespace skel {

/// Wraps another extension, keeps a record of every live block and reports
/// releases of blocks it never handed out. Threads may load and free content
/// at once: every operation holds one lock.
class DebugExtension : public SkelExtension {
 public:
  /// A live block: where it is, its size and the line that asked for it.
  struct Allocation {
    /// The block, its size in bytes, and the file and line that asked for it.
    /// @{
    void* address;
    size_t size;
    const char* file;
    int line;
    /// @}
  };

  /// The wrapped extension is not owned.
  explicit DebugExtension(SkelExtension* extension);
  ~DebugExtension() override;

  void* allocate(size_t size, const char* file, int line) override;
  void* allocateZeroed(size_t size, const char* file, int line) override;
  void* reallocate(void* block, size_t size, const char* file, int line) override;
  void release(void* block, const char* file, int line) override;
  char* readFile(const String& path, size_t* length) override;

  /// Counts since the start: allocations, reallocations, frees, and the bytes live now.
  /// @{
  size_t getAllocations() const { return locked(_allocations); }
  size_t getReallocations() const { return locked(_reallocations); }
  size_t getFrees() const { return locked(_frees); }
  uint64_t getUsedMemory() const { return locked(_usedMemory); }
  /// @}
  /// How many blocks are live.
  size_t getLiveCount() const;
  /// The record of a live block; null when the block is not live. The
  /// record is this thread's copy, good until its next call.
  const Allocation* find(const void* block) const;

 private:
  void record(void* block, size_t size, const char* file, int line);
  struct Record;
  // Forgets a live block and its size; found comes from the table.
  void forget(Record* found);
  uint32_t siteOf(const char* file, int line);
  void indexSite(uint32_t site);
  template <typename T>
  T locked(const T& value) const {
    std::lock_guard<std::mutex> hold(_lock);
    return value;
  }

  // Held across the wrapped call too: a block freed by one thread may be
  // handed to another before its record is gone otherwise.
  mutable std::mutex _lock;

  SkelExtension* _extension;
  // Every runtime allocation passes here: open addressing with linear
  // probing keeps an insert or a lookup to one or two cache lines, where a
  // node-based map allocates a node per block. A record is 16 bytes: a
  // large rig has half a million live blocks.
  struct Record {
    void* address;  // null marks a free slot
    uint32_t size;  // kLargeSize: the size is kept among the large ones
    uint32_t site;  // an index into the sites, or kNoSite
  };
  static constexpr uint32_t kLargeSize = UINT32_MAX;
  static constexpr uint32_t kNoSite = UINT32_MAX;
  class Table {
   public:
    Table() = default;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    ~Table();
    // Inserts or replaces the record of r.address.
    void put(const Record& r);
    Record* find(const void* block) const;
    // record must come from find.
    void erase(Record* record);
    size_t size() const { return _count; }

   private:
    size_t slotOf(const void* block) const;
    void grow();

    Record* _slots = nullptr;
    size_t _capacity = 0;  // a power of two, or 0
    size_t _count = 0;
  };
  Table _allocated;
  // Blocks of 4 GiB and more, whose size a record cannot hold. These lists
  // live on the C heap: growing them through the runtime would come back here.
  Allocation* _large = nullptr;
  size_t _largeCount = 0;
  size_t _largeCapacity = 0;
  // The distinct (file, line) pairs that allocated, and a probed index over
  // them (kNoSite marks a free slot).
  struct Site {
    const char* file;
    int line;
  };
  Site* _sites = nullptr;
  uint32_t _siteCount = 0;
  uint32_t _siteCapacity = 0;
  uint32_t* _siteIndex = nullptr;
  size_t _siteIndexCapacity = 0;  // a power of two, or 0
  size_t _allocations = 0;
  size_t _reallocations = 0;
  size_t _frees = 0;
  uint64_t _usedMemory = 0;
};

}  // namespace skel
