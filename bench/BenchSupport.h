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

// Generated characters for the scaling benchmarks: `bones` bones in a chain
// (each the child of the one before) or a wide tree (32 children a bone), a
// slot and a region attachment on each, and two animations ("sway", "turn")
// that rotate every bone. The atlas has a region for every attachment on one
// 64 x 64 page named pageName.
enum class ScaleShape { Chain, Wide };
constexpr int kScaleBones[] = {1000, 5000, 20000};
constexpr int kScalePageSize = 64;
const char* ScaleShapeName(ScaleShape shape);
std::string ScaleSkeletonJson(int bones, ScaleShape shape);
std::string ScaleAtlasText(int bones, const char* pageName);
