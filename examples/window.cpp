// A window with a picture, a line of text and a button that plays a sound.
// usage: window DATA [FRAMES]
//   DATA holds gfx/, font/ and sound/ (Tarn's installed share/tarn will do);
//   FRAMES, when given, ends the program after that many frames.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/core/Screen.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/sound/SoundManager.h"
#include "framework/text/Font.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

class HelloScreen : public Screen {
 public:
  HelloScreen(const std::string& data, SoundManager& sound) : sound(sound) {
    SetSize(640, 360);
    picture.LoadImage((data + "/gfx/testchar4.png").c_str());
    font.Open((data + "/font/rounded-mplus-2m-medium.ttf").c_str(), 24);
    label = font.CreateText("Hello from Tarn", 0xFFFFFFFF);
    sound.clips[0].Load((data + "/sound/test_mono.wav").c_str());

    button = new SimpleButton(20, 20, 160, 48, kAnchorBottomRight);
    button->SetLabel(font.CreateText("Play", 0xFFFFFFFF));
    button->handler = this;  // its clicks come to OnEvent
    AddChild(button);
  }

  bool OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) override {
    if (kind == kEventLeftClick && sender == button) sound.clips[0].Play();
    return true;
  }

  bool Draw() override {
    picture.DrawScaledUniform(20, 20, 0.4);
    if (label) label->Draw(300, 40);
    return Screen::Draw();  // the children: the button
  }

  void Release() override {
    if (label) {
      label->Release();
      delete label;
      label = nullptr;
    }
    picture.Release();
    Screen::Release();  // deletes the button, which releases its own label
    font.Release();
  }

 private:
  SoundManager& sound;
  Graphic2D picture;
  Font font;
  TextString* label = nullptr;
  SimpleButton* button = nullptr;
};

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DATA [FRAMES]\n", argv[0]);
    return 2;
  }
  const long frames = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 0;

  SystemBase system;
  WindowRequest request;
  request.width = 640;
  request.height = 360;
  request.title = "Tarn example: window";
  if (!StartUpWindow(system, request)) return 1;
  SoundManager sound;
  sound.Init();  // without a sound device the button plays nothing

  system.screenManager.RegisterScreen(0, new HelloScreen(argv[1], sound));
  system.screenManager.ChangeScreen(0);
  for (long frame = 1; system.RunFrame(); ++frame) {
    if (frame == frames) break;
  }

  system.Release();  // the screens, then the window
  sound.Release();
  return 0;
}
