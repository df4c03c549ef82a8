// How a frame's costs grow with a character's size, on the generated
// characters (loading them is in LoadBench.cpp). ./bench.sh divides each time
// by the bones to see that it stays flat.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BenchSupport.h"
#include "NullTextureLoader.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Slot.h"

namespace {

// Each character is made and loaded once, for every benchmark that uses it.
struct Loaded {
  NullTextureLoader loader;
  std::unique_ptr<skel::Atlas> atlas;
  std::unique_ptr<skel::SkeletonData> data;

  Loaded(int bones, ScaleShape shape) {
    const std::string atlasText = ScaleAtlasText(bones, "scale.png");
    atlas.reset(new skel::Atlas(atlasText.data(), atlasText.size(), skel::String(""), &loader));
    data.reset(skel::SkeletonJson(atlas.get()).readSkeletonData(ScaleSkeletonJson(bones, shape).c_str()));
  }
};

// Null, with the benchmark skipped, when the character did not load.
skel::SkeletonData* DataOf(benchmark::State& state, int bones, ScaleShape shape) {
  static std::map<std::pair<int, ScaleShape>, std::unique_ptr<Loaded>> loaded;
  auto& slot = loaded[{bones, shape}];
  if (!slot) slot.reset(new Loaded(bones, shape));
  if (!slot->data) state.SkipWithError("the generated character did not load");
  return slot->data.get();
}

// A character one frame into the first animation, with a fade to the second
// set up.
struct Posed {
  std::unique_ptr<skel::Skeleton> skeleton;
  std::unique_ptr<skel::AnimationStateData> stateData;
  std::unique_ptr<skel::AnimationState> state;

  explicit Posed(skel::SkeletonData* data)
      : skeleton(new skel::Skeleton(data)),
        stateData(new skel::AnimationStateData(data)),
        state(new skel::AnimationState(stateData.get())) {
    stateData->setMix(skel::String("sway"), skel::String("turn"), 0.25f);
    state->setAnimation(0, skel::String("sway"), true);
    state->update(0.1f);
    state->apply(*skeleton);
    skeleton->updateWorldTransform();
  }
};

// The cross-fade's first frame, where the state works out which timelines
// the two animations share.
void FirstApply(benchmark::State& state, int bones, ScaleShape shape) {
  skel::SkeletonData* data = DataOf(state, bones, shape);
  if (!data) return;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<Posed> posed(new Posed(data));
    state.ResumeTiming();
    posed->state->setAnimation(0, skel::String("turn"), true);
    posed->state->update(1 / 60.0f);
    posed->state->apply(*posed->skeleton);
    state.PauseTiming();
    posed.reset();
    state.ResumeTiming();
  }
}

void Pose(benchmark::State& state, int bones, ScaleShape shape) {
  skel::SkeletonData* data = DataOf(state, bones, shape);
  if (!data) return;
  Posed posed(data);
  for (auto _ : state) {
    posed.skeleton->updateWorldTransform();
    benchmark::ClobberMemory();
  }
}

// The renderer's vertices of every slot, as CharacterFrame builds them.
void Vertices(benchmark::State& state, int bones, ScaleShape shape) {
  skel::SkeletonData* data = DataOf(state, bones, shape);
  if (!data) return;
  Posed posed(data);
  skel::Vector<skel::Slot*>& drawOrder = posed.skeleton->getDrawOrder();
  std::vector<TarnFramework::Graphic2D::Vertex> vertices;
  for (auto _ : state) {
    size_t built = 0;
    for (size_t i = 0; i < drawOrder.size(); ++i) {
      TarnSkel::BuildSlotVertices(*drawOrder[i], vertices);
      built += vertices.size();
    }
    benchmark::DoNotOptimize(built);
  }
}

const int registered = [] {
  const struct {
    const char* name;
    void (*run)(benchmark::State&, int, ScaleShape);
    benchmark::TimeUnit unit;
  } kinds[] = {{"FirstApply", FirstApply, benchmark::kMillisecond},
               {"Pose", Pose, benchmark::kMicrosecond},
               {"Vertices", Vertices, benchmark::kMicrosecond}};
  for (const auto& kind : kinds)
    for (ScaleShape shape : {ScaleShape::Chain, ScaleShape::Wide})
      for (int bones : kScaleBones) {
        const std::string name =
            std::string("Scale_") + kind.name + "/" + ScaleShapeName(shape) + "/" + std::to_string(bones);
        benchmark::RegisterBenchmark(name.c_str(), kind.run, bones, shape)->Unit(kind.unit);
      }
  return 0;
}();

}  // namespace
