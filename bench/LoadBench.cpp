// Loading Char01 and the generated characters of the scaling benchmarks, and
// reading a large JSON text with the runtime. This file is
// built twice: against the runtime as the game links it (tracking allocation
// layer) and against a copy with the plain layer, named by LOAD_VARIANT.
#include <benchmark/benchmark.h>

#include <string>

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

// Atlas and skeleton text to the skeleton's data; ./bench.sh divides the
// time by the bones.
void LoadScaled(benchmark::State& state, int bones, ScaleShape shape) {
  const std::string atlasText = ScaleAtlasText(bones, "scale.png");
  const std::string jsonText = ScaleSkeletonJson(bones, shape);
  NullTextureLoader loader;
  for (auto _ : state) {
    auto* atlas = new skel::Atlas(atlasText.data(), atlasText.size(), skel::String(""), &loader);
    skel::SkeletonData* data = skel::SkeletonJson(atlas).readSkeletonData(jsonText.c_str());
    state.PauseTiming();
    const bool loaded = data != nullptr;
    delete data;
    delete atlas;
    state.ResumeTiming();
    if (!loaded) {
      state.SkipWithError("the generated character did not load");
      break;
    }
  }
}

const int registered = [] {
  for (ScaleShape shape : {ScaleShape::Chain, ScaleShape::Wide})
    for (int bones : kScaleBones) {
      const std::string name =
          std::string("Scale_Load/") + ScaleShapeName(shape) + "/" + std::to_string(bones) + "/" LOAD_VARIANT;
      benchmark::RegisterBenchmark(name.c_str(), LoadScaled, bones, shape)->Unit(benchmark::kMillisecond);
    }
  return 0;
}();

}  // namespace

BENCHMARK(LoadChar01)->Name("Load_Char01/" LOAD_VARIANT)->Unit(benchmark::kMicrosecond);
BENCHMARK(JsonReader)->Name("JsonParse/skel_" LOAD_VARIANT)->Unit(benchmark::kMillisecond);
