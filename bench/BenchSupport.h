// Shared by the benchmarks; nothing here names the runtime, so the copy of it
// built with the plain allocation layer can use it too.
#pragma once

#include <cstddef>
#include <string>

// The game's working directory, where its asset folders are.
void EnterWorkdir();

// A skeleton-shaped JSON text of at least minBytes: bones, slots, a skin of
// meshes with long number arrays and animations with keyed timelines. Made
// once per size and kept.
const std::string& SkeletonLikeJson(size_t minBytes);

// Bytes of a file, or 0 when it cannot be read.
size_t FileSize(const char* path);
