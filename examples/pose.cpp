// The runtime alone, without a window or GL: loads a character, poses it at a
// moment of one of its animations and prints every bone's place in the world.
// usage: pose ATLAS SKELETON [ANIMATION [SECONDS]]
#include <cstdio>
#include <cstdlib>

#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s ATLAS SKELETON [ANIMATION [SECONDS]]\n", argv[0]);
    return 2;
  }
  const char* animation = argc > 3 ? argv[3] : "idle";
  const float seconds = argc > 4 ? std::strtof(argv[4], nullptr) : 0.5f;

  // No texture loader: the atlas gives regions, nothing is drawn.
  skel::Atlas atlas(skel::String(argv[1]), nullptr);
  skel::SkeletonJson json(&atlas);
  skel::SkeletonData* data = json.readSkeletonDataFile(skel::String(argv[2]));
  if (!data) {
    std::fprintf(stderr, "%s: %s\n", argv[2], json.getError().buffer());
    return 1;
  }

  int status = 0;
  {
    skel::Skeleton skeleton(data);
    skel::AnimationStateData mixes(data);
    skel::AnimationState state(&mixes);
    if (!state.setAnimation(0, skel::String(animation), true)) {
      std::fprintf(stderr, "%s: no animation \"%s\"\n", argv[2], animation);
      status = 1;
    } else {
      state.update(seconds);
      state.apply(skeleton);
      skeleton.updateWorldTransform();
      std::printf("%s at %.3f s\n", animation, seconds);
      for (skel::Bone* bone : skeleton.getBones()) {
        std::printf("%-14s %9.3f %9.3f %8.2f\n", bone->getData().getName().buffer(), bone->getWorldX(),
                    bone->getWorldY(), bone->getWorldRotationX());
      }
    }
  }
  delete data;
  return status;
}
