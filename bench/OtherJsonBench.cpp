// The same large text read into the DOMs of two common JSON libraries.
#include <benchmark/benchmark.h>
#include <rapidjson/document.h>

#include <nlohmann/json.hpp>

#include "BenchSupport.h"

namespace {

constexpr size_t kLargeJson = 6 * 1024 * 1024;

void RapidJson(benchmark::State& state) {
  const std::string& text = SkeletonLikeJson(kLargeJson);
  for (auto _ : state) {
    rapidjson::Document document;
    document.Parse(text.c_str(), text.size());
    if (document.HasParseError()) {
      state.SkipWithError("RapidJSON rejected the text");
      break;
    }
    benchmark::DoNotOptimize(document.MemberCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void Nlohmann(benchmark::State& state) {
  const std::string& text = SkeletonLikeJson(kLargeJson);
  for (auto _ : state) {
    nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded()) {
      state.SkipWithError("nlohmann/json rejected the text");
      break;
    }
    benchmark::DoNotOptimize(document.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(RapidJson)->Name("JsonParse/rapidjson")->Unit(benchmark::kMillisecond);
BENCHMARK(Nlohmann)->Name("JsonParse/nlohmann")->Unit(benchmark::kMillisecond);
