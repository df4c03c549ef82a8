// Runs a given number of character frames and exits: the instruction count
// per frame is the difference of two runs under callgrind, which cancels the
// loading.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchSupport.h"
#include "CharacterFrame.h"
#include "NullTextureLoader.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Atlas.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"

int main(int argc, char** argv) {
  const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100;
  EnterWorkdir();
  NullTextureLoader loader;
  auto* atlas = new skel::Atlas(skel::String("skel_data\\Char01.atlas"), &loader);
  skel::SkeletonData* data;
  {
    skel::SkeletonJson json(atlas);
    data = json.readSkeletonDataFile(skel::String("skel_data\\Char01.json"));
  }
  if (!data) return 1;
  auto* animation = new TarnSkel::SkelAnimation(data);
  animation->skeleton->setSkin(data->findSkin(skel::String("0_1")));
  size_t built = 0;
  for (long i = 0; i < frames; ++i) built += CharacterFrame(*animation, static_cast<int32_t>(i));
  std::printf("%zu\n", built);
  delete animation;
  delete data;
  delete atlas;
  return 0;
}
