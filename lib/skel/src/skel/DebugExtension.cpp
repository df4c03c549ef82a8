#include "skel/DebugExtension.h"

#include <cstdio>
#include <cstdlib>

namespace skel {

DebugExtension::DebugExtension(SkelExtension* extension) : _extension(extension) {}

DebugExtension::~DebugExtension() {
  std::free(_large);
  std::free(_sites);
  std::free(_siteIndex);
}

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

DebugExtension::Record* DebugExtension::Table::find(const void* block) const {
  if (!block || _count == 0) return nullptr;
  for (size_t i = slotOf(block);; i = (i + 1) & (_capacity - 1)) {
    if (_slots[i].address == block) return &_slots[i];
    if (!_slots[i].address) return nullptr;
  }
}

void DebugExtension::Table::grow() {
  const size_t oldCapacity = _capacity;
  Record* old = _slots;
  const size_t capacity = oldCapacity ? oldCapacity * 2 : 1024;
  auto* slots = static_cast<Record*>(std::calloc(capacity, sizeof(Record)));
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

void DebugExtension::Table::put(const Record& a) {
  // At most half full, so probes stay short.
  if ((_count + 1) * 2 > _capacity) grow();
  if (_count + 1 > _capacity) return;
  size_t i = slotOf(a.address);
  while (_slots[i].address && _slots[i].address != a.address) i = (i + 1) & (_capacity - 1);
  if (!_slots[i].address) ++_count;
  _slots[i] = a;
}

void DebugExtension::Table::erase(Record* record) {
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
  _slots[hole] = Record{nullptr, 0, 0};
  --_count;
}

namespace {

size_t siteHash(const char* file, int line) {
  const uint64_t key =
      (static_cast<uint64_t>(reinterpret_cast<uintptr_t>(file)) ^ static_cast<uint32_t>(line)) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(key >> 40);
}

}  // namespace

void DebugExtension::indexSite(uint32_t site) {
  const size_t mask = _siteIndexCapacity - 1;
  size_t i = siteHash(_sites[site].file, _sites[site].line) & mask;
  while (_siteIndex[i] != kNoSite) i = (i + 1) & mask;
  _siteIndex[i] = site;
}

uint32_t DebugExtension::siteOf(const char* file, int line) {
  if (_siteIndexCapacity) {
    const size_t mask = _siteIndexCapacity - 1;
    for (size_t i = siteHash(file, line) & mask; _siteIndex[i] != kNoSite; i = (i + 1) & mask) {
      const Site& site = _sites[_siteIndex[i]];
      if (site.file == file && site.line == line) return _siteIndex[i];
    }
  }
  // A new site. Out of memory it goes unnamed, the block still counted.
  if (_siteCount == kNoSite - 1) return kNoSite;
  if (_siteCount == _siteCapacity) {
    const uint32_t capacity = _siteCapacity ? _siteCapacity * 2 : 256;
    auto* sites = static_cast<Site*>(std::realloc(_sites, capacity * sizeof(Site)));
    if (!sites) return kNoSite;
    _sites = sites;
    _siteCapacity = capacity;
  }
  if ((_siteCount + 1) * 2 > _siteIndexCapacity) {
    const size_t capacity = _siteIndexCapacity ? _siteIndexCapacity * 2 : 512;
    auto* index = static_cast<uint32_t*>(std::malloc(capacity * sizeof(uint32_t)));
    if (!index) return kNoSite;
    for (size_t i = 0; i < capacity; ++i) index[i] = kNoSite;
    std::free(_siteIndex);
    _siteIndex = index;
    _siteIndexCapacity = capacity;
    for (uint32_t k = 0; k < _siteCount; ++k) indexSite(k);
  }
  _sites[_siteCount] = Site{file, line};
  indexSite(_siteCount);
  return _siteCount++;
}

// A failed allocation leaves no record: there is no block to track.
void DebugExtension::record(void* block, size_t size, const char* file, int line) {
  if (!block) return;
  uint32_t small = static_cast<uint32_t>(size);
  if (size >= kLargeSize) {
    if (_largeCount == _largeCapacity) {
      const size_t capacity = _largeCapacity ? _largeCapacity * 2 : 4;
      auto* large = static_cast<Allocation*>(std::realloc(_large, capacity * sizeof(Allocation)));
      // Without room the block is not tracked: it will be told as never handed out.
      if (!large) return;
      _large = large;
      _largeCapacity = capacity;
    }
    _large[_largeCount++] = Allocation{block, size, file, line};
    small = kLargeSize;
  }
  _allocated.put(Record{block, small, siteOf(file, line)});
  _usedMemory += size;
}

void DebugExtension::forget(Record* found) {
  void* block = found->address;
  size_t size = found->size;
  if (found->size == kLargeSize) {
    for (size_t i = 0; i < _largeCount; ++i) {
      if (_large[i].address != block) continue;
      size = _large[i].size;
      _large[i] = _large[--_largeCount];
      break;
    }
  }
  _allocated.erase(found);
  _usedMemory -= size;
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
  if (Record* found = _allocated.find(block)) forget(found);
  record(grown, size, file, line);
  return grown;
}

void DebugExtension::release(void* block, const char* file, int line) {
  if (!block) return;
  std::lock_guard<std::mutex> hold(_lock);
  Record* found = _allocated.find(block);
  if (!found) {
    // Not handed on: for a block released before, that would free it twice.
    std::printf("%s:%i (address %p): Double free or not allocated through SkelExtension\n", file ? file : "(unknown)",
                line, block);
    std::fflush(stdout);
    return;
  }
  _extension->release(block, file, line);
  ++_frees;
  forget(found);
}

char* DebugExtension::readFile(const String& path, size_t* length) { return _extension->readFile(path, length); }

const DebugExtension::Allocation* DebugExtension::find(const void* block) const {
  thread_local Allocation copy;
  std::lock_guard<std::mutex> hold(_lock);
  const Record* found = _allocated.find(block);
  if (!found) return nullptr;
  copy = Allocation{found->address, found->size, nullptr, 0};
  if (found->site != kNoSite) {
    copy.file = _sites[found->site].file;
    copy.line = _sites[found->site].line;
  }
  if (found->size == kLargeSize)
    for (size_t i = 0; i < _largeCount; ++i)
      if (_large[i].address == block) copy.size = _large[i].size;
  return &copy;
}

size_t DebugExtension::getLiveCount() const {
  std::lock_guard<std::mutex> hold(_lock);
  return _allocated.size();
}

}  // namespace skel
