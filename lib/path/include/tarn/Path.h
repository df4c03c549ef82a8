/// @file
/// Asset paths are written with a backslash ("gfx\testchar.png"); every file the
/// program, its tools or the skeletal runtime opens goes through these helpers.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace tarn {

/// The largest file any read accepts: far above every real asset (the biggest is
/// under 2 MiB), low enough that a sparse or runaway file is refused, not read.
constexpr size_t kMaxFileSize = size_t{256} << 20;

/// The path with each '\' turned into this platform's separator.
std::string NativePath(const char* path);

/// fopen on the native form of path; null on failure or a null path.
std::FILE* OpenFile(const char* path, const char* mode);

/// Opens path for reading, without blocking on a pipe or device, and only if it
/// is a regular file of at most kMaxFileSize bytes. Returns the descriptor and
/// its size, or -1 with the reason in why (strerror's words, or "Not a regular
/// file", "File too large"). The caller closes the descriptor.
int OpenRegularFile(const char* path, size_t* size, std::string* why = nullptr);

/// Reads fd from where it stands to its end, size being what the file was said
/// to hold (a file under /proc says 0 and holds more). False (out empty, reason
/// in why) on a read error or past kMaxFileSize bytes.
bool ReadOpenFile(int fd, size_t size, std::vector<unsigned char>& out, std::string* why = nullptr);

/// Reads a whole regular file; false (out empty, reason in why) otherwise.
bool ReadFile(const char* path, std::vector<unsigned char>& out, std::string* why = nullptr);

/// True when path names a regular file that could be read (the checks of
/// OpenRegularFile), for libraries that open files themselves.
bool CheckRegularFile(const char* path, std::string* why = nullptr);

}  // namespace tarn
