#include "skel/DebugExtension.h"

#include <cstdio>
#include <cstdlib>

namespace skel {

DebugExtension::DebugExtension(SkelExtension* extension) : _extension(extension) {}

DebugExtension::~DebugExtension() = default;

DebugExtension::Table::~Table() { std::free(_slots); }

size_t DebugExtension::Table::slotOf(const void* block) const {
  // Blocks of one 4 KB page keep their order within a window of 256 slots,
  // so a run of allocations touches a few cache lines of the table instead
  // of one each; the windows of pages are spread by a mixed page number, as
  // runs of neighbouring pages would otherwise pile up (thousands of probes
  // for a large rig).
  const uint64_t address = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(block));
  const uint64_t page = (address >> 12) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>((page >> 32) + ((address >> 4) & 255)) & (_capacity - 1);
}

DebugExtension::Allocation* DebugExtension::Table::find(const void* block) const {
  if (!block || _count == 0) return nullptr;
  for (size_t i = slotOf(block);; i = (i + 1) & (_capacity - 1)) {
    if (_slots[i].address == block) return &_slots[i];
    if (!_slots[i].address) return nullptr;
  }
}

void DebugExtension::Table::grow() {
  const size_t oldCapacity = _capacity;
  Allocation* old = _slots;
  const size_t capacity = oldCapacity ? oldCapacity * 2 : 1024;
  auto* slots = static_cast<Allocation*>(std::calloc(capacity, sizeof(Allocation)));
  // Without room the table stays as it is, only fuller.
  if (!slots) return;
  _slots = slots;
  _capacity = capacity;
  for (size_t i = 0; i < oldCapacity; ++i) {
    if (!old[i].address) continue;
    size_t j = slotOf(old[i].address);
    while (_slots[j].address) j = (j + 1) & (_capacity - 1);
    _slots[j] = old[i];
  }
  std::free(old);
}

void DebugExtension::Table::put(const Allocation& a) {
  // At most half full, so probes stay short.
  if ((_count + 1) * 2 > _capacity) grow();
  if (_count + 1 > _capacity) return;
  size_t i = slotOf(a.address);
  while (_slots[i].address && _slots[i].address != a.address) i = (i + 1) & (_capacity - 1);
  if (!_slots[i].address) ++_count;
  _slots[i] = a;
}

void DebugExtension::Table::erase(Allocation* record) {
  // Backward shift: later members of the probe run move into the hole, so
  // lookups never need tombstones.
  size_t hole = static_cast<size_t>(record - _slots);
  const size_t mask = _capacity - 1;
  for (size_t i = (hole + 1) & mask; _slots[i].address; i = (i + 1) & mask) {
    const size_t home = slotOf(_slots[i].address);
    // Movable when its home is not inside (hole, i] cyclically.
    if (((i - home) & mask) >= ((i - hole) & mask)) {
      _slots[hole] = _slots[i];
      hole = i;
    }
  }
  _slots[hole] = Allocation{nullptr, 0, nullptr, 0};
  --_count;
}

// A failed allocation leaves no record: there is no block to track.
void DebugExtension::record(void* block, size_t size, const char* file, int line) {
  if (!block) return;
  _allocated.put(Allocation{block, size, file, line});
  _usedMemory += size;
}

void* DebugExtension::allocate(size_t size, const char* file, int line) {
  std::lock_guard<std::mutex> hold(_lock);
  void* block = _extension->allocate(size, file, line);
  ++_allocations;
  record(block, size, file, line);
  return block;
}

void* DebugExtension::allocateZeroed(size_t size, const char* file, int line) {
  std::lock_guard<std::mutex> hold(_lock);
  void* block = _extension->allocateZeroed(size, file, line);
  ++_allocations;
  record(block, size, file, line);
  return block;
}

void* DebugExtension::reallocate(void* block, size_t size, const char* file, int line) {
  std::lock_guard<std::mutex> hold(_lock);
  void* grown = _extension->reallocate(block, size, file, line);
  ++_reallocations;
  // A failed re-allocation leaves the old block live and recorded.
  if (!grown && size != 0) return nullptr;
  if (block) {
    if (Allocation* found = _allocated.find(block)) {
      _usedMemory -= found->size;
      _allocated.erase(found);
    }
  }
  record(grown, size, file, line);
  return grown;
}

void DebugExtension::release(void* block, const char* file, int line) {
  if (!block) return;
  std::lock_guard<std::mutex> hold(_lock);
  Allocation* found = _allocated.find(block);
  if (!found) {
    // Not handed on: for a block released before, that would free it twice.
    std::printf("%s:%i (address %p): Double free or not allocated through SkelExtension\n", file ? file : "(unknown)",
                line, block);
    std::fflush(stdout);
    return;
  }
  _extension->release(block, file, line);
  ++_frees;
  _usedMemory -= found->size;
  _allocated.erase(found);
}

char* DebugExtension::readFile(const String& path, size_t* length) { return _extension->readFile(path, length); }

// The record is read under the lock; the caller keeps a pointer into the table,
// good until the next allocation.
const DebugExtension::Allocation* DebugExtension::find(const void* block) const {
  std::lock_guard<std::mutex> hold(_lock);
  return _allocated.find(block);
}

size_t DebugExtension::getLiveCount() const {
  std::lock_guard<std::mutex> hold(_lock);
  return _allocated.size();
}

}  // namespace skel
