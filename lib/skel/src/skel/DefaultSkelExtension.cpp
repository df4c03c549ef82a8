#include "skel/DefaultSkelExtension.h"

#include <cstdio>
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
    std::FILE* file = tarn::OpenFile(path.buffer(), "rb");
    if (!file) return nullptr;
    // A directory opens on some systems and reports a bogus size; reading one
    // byte first tells it apart from a file.
    long size = -1;
    if (std::fgetc(file) != EOF || !std::ferror(file)) {
        if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) != 0) size = -1;
    }
    char* data = nullptr;
    if (size > 0) {
        data = SkelExtension::alloc<char>(static_cast<size_t>(size), __FILE__, __LINE__);
        if (data && std::fread(data, 1, static_cast<size_t>(size), file) != static_cast<size_t>(size)) {
            SkelExtension::free(data, __FILE__, __LINE__);
            data = nullptr;
        }
    }
    std::fclose(file);
    if (data) *length = static_cast<size_t>(size);
    return data;
}

}  // namespace skel
