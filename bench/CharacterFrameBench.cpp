// One skeletal character's frame without GL: the same calls the game makes
// for the full-body drawing, up to the vertices handed to the sprite.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "BenchSupport.h"
#include "CharacterFrame.h"
#include "NullTextureLoader.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"
#include "skel/Slot.h"

namespace {

using TarnFramework::Graphic2D;

struct Character {
  NullTextureLoader loader;
  skel::Atlas* atlas = nullptr;
  skel::SkeletonData* data = nullptr;
  TarnSkel::SkelAnimation* animation = nullptr;

  Character() {
    EnterWorkdir();
    atlas = new skel::Atlas(skel::String("skel_data\\Char01.atlas"), &loader);
    skel::SkeletonJson json(atlas);
    data = json.readSkeletonDataFile(skel::String("skel_data\\Char01.json"));
    if (!data) return;
    animation = new TarnSkel::SkelAnimation(data);
    animation->skeleton->setSkin(data->findSkin(skel::String("0_1")));
  }
  ~Character() {
    delete animation;
    delete data;
    delete atlas;
  }
};

}  // namespace

static void BM_CharacterFrame(benchmark::State& state) {
  Character character;
  if (!character.animation) {
    state.SkipWithError("Char01 did not load");
    return;
  }
  int32_t frame = 0;
  size_t built = 0;
  for (auto _ : state) {
    built = CharacterFrame(*character.animation, frame++);
    benchmark::DoNotOptimize(built);
  }
  state.counters["vertices"] = static_cast<double>(built);
  state.counters["chars_per_16.7ms"] =
      benchmark::Counter(16.7e-3 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CharacterFrame);
