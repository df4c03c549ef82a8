#include "skel/DebugExtension.h"

#include <cstdio>

namespace skel {

DebugExtension::DebugExtension(SkelExtension* extension) : _extension(extension) {}

DebugExtension::~DebugExtension() = default;

// A failed allocation leaves no record: there is no block to track.
void DebugExtension::record(void* block, size_t size, const char* file, int line) {
    if (!block) return;
    _allocated[block] = Allocation{block, size, file, line};
    _usedMemory += size;
}

void* DebugExtension::allocate(size_t size, const char* file, int line) {
    void* block = _extension->allocate(size, file, line);
    ++_allocations;
    record(block, size, file, line);
    return block;
}

void* DebugExtension::allocateZeroed(size_t size, const char* file, int line) {
    void* block = _extension->allocateZeroed(size, file, line);
    ++_allocations;
    record(block, size, file, line);
    return block;
}

void* DebugExtension::reallocate(void* block, size_t size, const char* file, int line) {
    void* grown = _extension->reallocate(block, size, file, line);
    ++_reallocations;
    // A failed re-allocation leaves the old block live and recorded.
    if (!grown && size != 0) return nullptr;
    if (block) {
        auto found = _allocated.find(block);
        if (found != _allocated.end()) {
            _usedMemory -= found->second.size;
            _allocated.erase(found);
        }
    }
    record(grown, size, file, line);
    return grown;
}

void DebugExtension::release(void* block, const char* file, int line) {
    if (!block) return;
    auto found = _allocated.find(block);
    if (found == _allocated.end()) {
        // Not handed on: for a block released before, that would free it twice.
        std::printf("%s:%i (address %p): Double free or not allocated through SkelExtension\n",
                    file ? file : "(unknown)", line, block);
        std::fflush(stdout);
        return;
    }
    _extension->release(block, file, line);
    ++_frees;
    _usedMemory -= found->second.size;
    _allocated.erase(found);
}

char* DebugExtension::readFile(const String& path, size_t* length) { return _extension->readFile(path, length); }

const DebugExtension::Allocation* DebugExtension::find(const void* block) const {
    auto found = _allocated.find(block);
    return found == _allocated.end() ? nullptr : &found->second;
}

}  // namespace skel
