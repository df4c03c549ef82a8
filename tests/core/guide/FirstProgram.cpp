// The first program the reference's main page walks through, piece by piece
// (between the "//! [name]" markers). A test builds and runs it, so the
// guide's code compiles and does what the guide says.
#include "FirstProgram.h"

#include <cstdio>
#include <string>

#include "framework/core/Screen.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/skel/SkelData.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Report.h"

namespace {

//! [screen]
// One screen: the frame loop calls Update, then Draw, once per displayed frame.
class StageScreen : public TarnFramework::Screen {
 public:
  StageScreen(TarnSkel::SkelAnimation& shown, int frames) : character(shown), framesLeft(frames) {}

  bool Update() override {
    character.Update(1.0f / 60);  // seconds; starts what AddAnimation queued
    return --framesLeft != 0;     // false ends the loop (-1: until the window closes)
  }
  bool Draw() override {
    // Window pixels, y down: the skeleton's origin goes to (640, 650), half size.
    character.DrawAt(640, 650, 0.5f);
    return Screen::Draw();
  }

 private:
  TarnSkel::SkelAnimation& character;
  int framesLeft;
};
//! [screen]

//! [errors]
void ToMyLog(tarn::LogLevel level, const char* message, void*) {
  std::fprintf(stderr, "[%s] %s\n", level == tarn::LogLevel::Error ? "error" : "warning", message);
}
//! [errors]

}  // namespace

int CountBones(const char* atlasPath, const char* skeletonPath) {
  //! [runtime]
  // The runtime alone (no window): an atlas without a texture loader and the skeleton.
  skel::Atlas atlas(skel::String(atlasPath), nullptr);
  skel::SkeletonJson json(&atlas);
  json.setScale(1);  // the default: skeleton units are pixels
  skel::SkeletonData* skeletonData = json.readSkeletonDataFile(skel::String(skeletonPath));
  if (!skeletonData) {
    std::fprintf(stderr, "cannot read %s: %s\n", skeletonPath, json.getError().buffer());
    return -1;
  }
  const int bones = static_cast<int>(skeletonData->getBones().size());
  delete skeletonData;  // the caller owns it
  //! [runtime]
  return bones;
}

int RunFirstProgram(const char* atlasPath, const char* skeletonPath, int frames, std::string& why) {
  //! [log]
  tarn::SetLogCallback(ToMyLog);  // or leave it: standard error, under the program's name
  //! [log]

  //! [window]
  TarnFramework::SystemBase system;
  TarnFramework::WindowRequest request;  // 1280 x 720
  request.title = "My game";
  if (!TarnFramework::StartUpWindow(system, request, &why)) return 1;
  //! [window]

  //! [load]
  // Paths are written with '\' or '/'; the atlas's pages are found beside it.
  TarnSkel::SkelData data;
  if (!data.Load(atlasPath, skeletonPath, &why)) {
    system.Release();
    return 1;
  }
  //! [load]

  int result = 0;
  {
    //! [mix]
    TarnSkel::SkelAnimation character(data.skeletonData);  // plays the first animation, looping
    character.stateData->setDefaultMix(0.2f);              // 0 unless set: a cut, no cross-fade
    character.stateData->setMix(skel::String("idle"), skel::String("wave"), 0.5f);  // this pair
    character.AddAnimation("wave", false, 0);  // when idle's loop ends, fading in over 0.5 s
    character.AddAnimation("idle", true, 0);   // then back, fading over the default 0.2 s
    //! [mix]

    //! [run]
    system.screenManager.RegisterScreen(0, new StageScreen(character, frames));
    system.screenManager.ChangeScreen(0);
    system.MainLoop();
    //! [run]
    result = character.currentAnimation;
    // The screen holds the character: screens go before it does.
    system.screenManager.Release();
  }
  system.Release();
  tarn::SetLogCallback(nullptr);
  return result == 1 ? 2 : 0;
}
