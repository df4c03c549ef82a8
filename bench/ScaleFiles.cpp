// The scaling benchmarks' characters as files, for what runs a program on
// them (skelcheck), and the memory of loading one as the game does:
//   tarn_scale_files write DIR BONES chain|wide   writes DIR/scale-SHAPE-BONES.atlas, .json and the page image
//   tarn_scale_files load ATLAS JSON              prints the skeleton file's bytes and, in kB, the process's
//                                                 peak resident memory before loading and after, and the
//                                                 heap the loaded character keeps
#include <lodepng.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "NullTextureLoader.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

namespace {

bool Write(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

// A field of /proc/self/status in kB.
long StatusKb(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long kb = -1;
  const size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') kb = std::strtol(line + length + 1, nullptr, 10);
  std::fclose(status);
  return kb;
}

// Freed blocks may stay resident: the heap in use says what is kept.
size_t HeapInUse() {
  const struct mallinfo2 heap = mallinfo2();
  return heap.uordblks + heap.hblkhd;
}

int WriteFiles(const char* dir, int bones, const char* shapeName) {
  const ScaleShape shape = std::strcmp(shapeName, "chain") == 0 ? ScaleShape::Chain : ScaleShape::Wide;
  const std::string base = std::string(dir) + "/scale-" + ScaleShapeName(shape) + "-" + std::to_string(bones);
  std::vector<unsigned char> pixels(kScalePageSize * kScalePageSize * 4, 0xFF), png;
  if (lodepng::encode(png, pixels, kScalePageSize, kScalePageSize) != 0 ||
      !Write(std::string(dir) + "/scale.png", std::string(png.begin(), png.end())) ||
      !Write(base + ".atlas", ScaleAtlasText(bones, "scale.png")) ||
      !Write(base + ".json", ScaleSkeletonJson(bones, shape))) {
    std::perror(base.c_str());
    return 1;
  }
  return 0;
}

int LoadFile(const char* atlasPath, const char* jsonPath) {
  const long baseKb = StatusKb("VmHWM");
  const size_t heapBefore = HeapInUse();
  NullTextureLoader loader;
  auto* atlas = new skel::Atlas(skel::String(atlasPath), &loader);
  skel::SkeletonData* data;
  {
    skel::SkeletonJson json(atlas);
    data = json.readSkeletonDataFile(skel::String(jsonPath));
  }
  if (!data) {
    std::fprintf(stderr, "%s did not load\n", jsonPath);
    return 1;
  }
  std::printf("%zu %ld %ld %zu\n", FileSize(jsonPath), baseKb, StatusKb("VmHWM"), (HeapInUse() - heapBefore) / 1024);
  delete data;
  delete atlas;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "write") == 0) return WriteFiles(argv[2], std::atoi(argv[3]), argv[4]);
  if (argc == 4 && std::strcmp(argv[1], "load") == 0) return LoadFile(argv[2], argv[3]);
  std::fprintf(stderr, "usage: tarn_scale_files write DIR BONES chain|wide | load ATLAS JSON\n");
  return 2;
}
