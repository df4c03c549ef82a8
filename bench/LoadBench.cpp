// Loading Char01 and reading a large JSON text with the runtime. This file is
// built twice: against the runtime as the game links it (tracking allocation
// layer) and against a copy with the plain layer, named by LOAD_VARIANT.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "NullTextureLoader.h"
#include "skel/Atlas.h"
#include "skel/Json.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

namespace {

constexpr size_t kLargeJson = 6 * 1024 * 1024;

void LoadChar01(benchmark::State& state) {
  EnterWorkdir();
  const size_t bytes = FileSize("skel_data/Char01.atlas") + FileSize("skel_data/Char01.json");
  NullTextureLoader loader;
  for (auto _ : state) {
    skel::Atlas atlas(skel::String("skel_data\\Char01.atlas"), &loader);
    skel::SkeletonJson json(&atlas);
    skel::SkeletonData* data = json.readSkeletonDataFile(skel::String("skel_data\\Char01.json"));
    if (!data) {
      state.SkipWithError("Char01 did not load");
      break;
    }
    delete data;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void JsonReader(benchmark::State& state) {
  const std::string& text = SkeletonLikeJson(kLargeJson);
  for (auto _ : state) {
    skel::Json root(text.c_str());
    if (root.getType() != skel::Json::JSON_OBJECT || !root.getChild()) {
      state.SkipWithError("large JSON did not parse");
      break;
    }
    benchmark::DoNotOptimize(root.getChild());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(LoadChar01)->Name("Load_Char01/" LOAD_VARIANT)->Unit(benchmark::kMicrosecond);
BENCHMARK(JsonReader)->Name("JsonParse/skel_" LOAD_VARIANT)->Unit(benchmark::kMillisecond);
