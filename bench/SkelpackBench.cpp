// skelpack on generated folders of pictures with clear margins, the way an
// artist exports a character's parts: how full its pages come out, and how
// long a thousand pictures take from the files to the written atlas.
#include <benchmark/benchmark.h>
#include <lodepng.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "Pack.h"

namespace {

namespace fs = std::filesystem;

// A folder of count pictures, written once per count: mostly small parts,
// some middling and a few large, each with a clear margin of 0 to 12 pixels
// on every side around a drawn shape.
const std::string& PictureFolder(int count) {
  static std::vector<std::pair<int, std::string>> made;
  for (const auto& m : made)
    if (m.first == count) return m.second;
  const fs::path folder = fs::temp_directory_path() / ("tarn-skelpack-bench-" + std::to_string(count));
  fs::remove_all(folder);
  fs::create_directories(folder);
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t below) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % below;
  };
  auto side = [&]() {
    const uint32_t kind = next(10);
    return static_cast<unsigned>(kind < 6 ? 12 + next(52) : kind < 9 ? 64 + next(64) : 128 + next(92));
  };
  for (int i = 0; i < count; ++i) {
    const unsigned w = side(), h = side();
    const unsigned l = next(13), t = next(13), r = next(13), b = next(13);
    const unsigned width = w + l + r, height = h + t + b;
    std::vector<unsigned char> rgba(size_t{width} * height * 4, 0);
    for (unsigned y = t; y < t + h; ++y)
      for (unsigned x = l; x < l + w; ++x) {
        unsigned char* p = &rgba[(size_t{y} * width + x) * 4];
        p[0] = static_cast<unsigned char>(i * 37), p[1] = static_cast<unsigned char>(x * 5);
        p[2] = static_cast<unsigned char>(y * 3), p[3] = 255;
      }
    lodepng::encode((folder / ("part" + std::to_string(i) + ".png")).string(), rgba, width, height);
  }
  made.emplace_back(count, folder.string());
  return made.back().second;
}

// The whole run, from the folder to the written atlas and pages; the fill is
// the pictures' trimmed area against the pages' area.
void Pack(benchmark::State& state, int count, int maxSize) {
  skelpack::Options options;
  options.input = PictureFolder(count);
  options.output = (fs::temp_directory_path() / ("tarn-skelpack-bench-out-" + std::to_string(count))).string();
  options.maxSize = maxSize;
  skelpack::Packed packed;
  for (auto _ : state) {
    std::string error;
    if (skelpack::Run(options, error, &packed) != 0) {
      state.SkipWithError(error.c_str());
      return;
    }
  }
  long long pages = 0;
  for (const skelpack::Page& page : packed.pages) pages += static_cast<long long>(page.width) * page.height;
  state.counters["fill_percent"] = 100.0 * static_cast<double>(packed.keptArea) / static_cast<double>(pages);
  state.counters["pages"] = static_cast<double>(packed.pages.size());
}

void BM_SkelpackFill80(benchmark::State& state) { Pack(state, 80, 512); }
void BM_Skelpack1000(benchmark::State& state) { Pack(state, 1000, 2048); }

}  // namespace

BENCHMARK(BM_SkelpackFill80)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Skelpack1000)->Unit(benchmark::kMillisecond);
