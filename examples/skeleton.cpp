// A skeleton playing its animations in turn, each blending into the next.
// usage: skeleton ATLAS SKELETON [FRAMES]
//   FRAMES, when given, ends the program after that many frames.
#include <cstdio>
#include <cstdlib>

#include "framework/core/Screen.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/skel/SkelData.h"
#include "skel/AnimationStateData.h"
#include "skel/SkeletonData.h"

using namespace TarnFramework;

class SkeletonScreen : public Screen {
 public:
  explicit SkeletonScreen(skel::SkeletonData* data) : animation(data) {
    // A third of a second from any animation to any other, instead of a cut.
    animation.stateData->setDefaultMix(0.33f);
  }

  bool Update() override {
    // A new animation every two seconds, round the character's list.
    if (++frame % 120 == 0) {
      animation.SetAnimation((animation.currentAnimation + 1) % static_cast<int>(animation.animationNames.size()));
      std::printf("now %s\n", animation.animationNames[animation.currentAnimation]);
    }
    animation.Update(1.0f / 60.0f);
    return Screen::Update();
  }

  bool Draw() override {
    animation.DrawAt(320.0f, 340.0f, 0.25f);
    return Screen::Draw();
  }

  void Release() override {
    animation.Release();
    Screen::Release();
  }

 private:
  TarnSkel::SkelAnimation animation;
  int frame = 0;
};

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s ATLAS SKELETON [FRAMES]\n", argv[0]);
    return 2;
  }
  const long frames = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0;

  SystemBase system;
  WindowRequest request;
  request.width = 640;
  request.height = 360;
  request.title = "Tarn example: skeleton";
  if (!StartUpWindow(system, request)) return 1;

  // The pages' textures need the window's GL context.
  TarnSkel::SkelData data;
  if (!data.Load(argv[1], argv[2]) || data.skeletonData->getAnimations().size() == 0) {
    system.Release();
    return 1;
  }
  system.screenManager.RegisterScreen(0, new SkeletonScreen(data.skeletonData));
  system.screenManager.ChangeScreen(0);
  for (long frame = 1; system.RunFrame(); ++frame) {
    if (frame == frames) break;
  }

  system.Release();  // the screen and its animation before the data it poses
  data.Release();
  return 0;
}
