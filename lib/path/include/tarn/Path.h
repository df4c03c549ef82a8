// Asset paths are written with a backslash ("gfx\testchar.png"); every file the
// program or the skeletal runtime opens goes through these helpers.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tarn {

// The path with each '\' turned into this platform's separator.
std::string NativePath(const char* path);

// fopen on the native form of path; null on failure or a null path.
std::FILE* OpenFile(const char* path, const char* mode);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFile(const char* path, std::vector<unsigned char>& out);

}  // namespace tarn
