// skelview used the way a content maker uses it: the real binary under the
// virtual display, played with real X input, its pictures held against the
// game's own renderer drawing the same pose.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Layout.h"
#include "PictureReader.h"
#include "Playback.h"
#include "ProgramHarness.h"
#include "TempDir.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/skel/SkelData.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Json.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;
using tarn_test::TempDir;
using Rgb = Screenshot::Rgb;

constexpr int kWindowWidth = 1280, kWindowHeight = 720;
const skelview::Area kView = skelview::ViewArea(kWindowWidth, kWindowHeight);
const std::string kAtlas = std::string(TARN_WORKDIR) + "/skel_data/Char01.atlas";
const std::string kJson = std::string(TARN_WORKDIR) + "/skel_data/Char01.json";
const std::string kPage = std::string(TARN_WORKDIR) + "/skel_data/Char01.png";
// The render mode needs no display: it runs with none here, and its frames
// are held against the renderer drawing in a window.
const std::string kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY ";

std::string Artifact(const std::string& name) {
  mkdir(TARN_E2E_ARTIFACTS, 0755);
  return std::string(TARN_E2E_ARTIFACTS) + "/" + name;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// RGBA rows, top first.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  bool Load(const std::string& path) {
    unsigned w = 0, h = 0;
    if (lodepng::decode(rgba, w, h, path) != 0) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
  }
};

// The game's renderer through the glue: the glue's own loader, SetAnimation,
// the state advanced to t, the pose drawn into a render target placed as the
// viewer places the skeleton's bounds. Its own hidden window.
class Renderer {
 public:
  Renderer() {
    glfwInit();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    ready_ = TarnFramework::StartUpWindow(system_) && data_.Load(kAtlas.c_str(), kJson.c_str());
  }
  ~Renderer() {
    data_.Release();
    system_.Release();
  }
  bool ready() const { return ready_; }

  // Onto a target cleared to backdrop (0xAABBGGRR), transparent by default,
  // placed as the viewer places the animation shown (that one unless named).
  Picture Pose(const char* animation, double t, int width, int height, uint32_t backdrop = 0,
               const char* shown = nullptr) {
    TarnSkel::SkelAnimation sprite(data_.skeletonData);
    sprite.SetAnimation(Index(sprite, animation));
    sprite.state->update(static_cast<float>(t));
    return Draw(sprite, ViewerFit(shown ? shown : animation, nullptr, 0, width, height), width, height, backdrop);
  }

  // The cross-fade the game makes: the first animation played to its end,
  // then the second set with a mix of mixSeconds, t seconds from the start.
  Picture PoseMix(const char* first, const char* second, double mixSeconds, double t, int width, int height) {
    TarnSkel::SkelAnimation sprite(data_.skeletonData);
    skel::SkeletonData& d = *data_.skeletonData;
    skel::Animation* from = d.findAnimation(skel::String(first));
    skel::Animation* to = d.findAnimation(skel::String(second));
    EXPECT_TRUE(from && to);
    sprite.stateData->setMix(from, to, static_cast<float>(mixSeconds));
    sprite.SetAnimation(Index(sprite, first));
    sprite.state->update(from->getDuration());
    sprite.state->apply(*sprite.skeleton);
    sprite.state->setAnimation(0, to, true);
    sprite.state->update(static_cast<float>(t - from->getDuration()));
    return Draw(sprite, ViewerFit(first, second, mixSeconds, width, height), width, height);
  }

 private:
  static int Index(const TarnSkel::SkelAnimation& sprite, const char* animation) {
    for (size_t i = 0; i < sprite.animationNames.size(); ++i) {
      if (std::string(sprite.animationNames[i]) == animation) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no animation " << animation;
    return -1;
  }

  // Where the viewer puts the skeleton while it plays first (then the mix
  // into second): the bounds it measures, fitted to the area.
  skelview::Placement ViewerFit(const char* first, const char* second, double mixSeconds, int width, int height) {
    TarnSkel::SkelAnimation sprite(data_.skeletonData);
    skelview::Playback playback(sprite);
    playback.Select(playback.FindAnimation(first));
    if (second) playback.SetMix(playback.FindAnimation(second), mixSeconds);
    float x, y, w, h;
    playback.Bounds(x, y, w, h);
    return skelview::FitBounds(x, y, w, h, width, height);
  }

  Picture Draw(TarnSkel::SkelAnimation& sprite, const skelview::Placement& at, int width, int height,
               uint32_t backdrop = 0) {
    sprite.skeleton->setX(at.x);
    sprite.skeleton->setY(at.y);
    sprite.skeleton->setScaleX(at.scale);
    sprite.skeleton->setScaleY(at.scale);
    sprite.Pose(false, false);
    TarnFramework::Graphic2D target;
    target.SetRenderTarget(width, height);
    target.BeginRender();
    TarnFramework::ClearTarget(backdrop);
    sprite.DrawPosed();
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(TarnFramework::ReadPixels({0, 0, width, height}, rgba));
    TarnFramework::EndRender();
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgba.assign(rgba.begin(), rgba.end());
    return picture;
  }

  TarnFramework::SystemBase system_;
  TarnSkel::SkelData data_;
  bool ready_ = false;
};

bool Near(int a, int b, int tolerance = 3) { return a - b <= tolerance && b - a <= tolerance; }

// Where the pose is opaque the view must show exactly it; the count of
// opaque pixels that differ, and of opaque pixels at all.
struct Match {
  int opaque = 0, different = 0;
};
Match Compare(const Screenshot& shot, int left, int top, const Picture& pose) {
  Match m;
  for (int y = 0; y < pose.height; ++y) {
    for (int x = 0; x < pose.width; ++x) {
      const unsigned char* p = pose.At(x, y);
      if (p[3] != 255) continue;
      ++m.opaque;
      const Rgb s = shot.At(left + x, top + y);
      if (!Near(s.r, p[0]) || !Near(s.g, p[1]) || !Near(s.b, p[2])) ++m.different;
    }
  }
  return m;
}

bool IsChecker(Rgb p) { return (p.r == 200 && p.g == 200 && p.b == 200) || (p.r == 160 && p.g == 160 && p.b == 160); }
bool IsErrorRed(Rgb p) { return p.r > 200 && p.g < 120 && p.b < 120; }
bool IsGood(Rgb p) { return p.g > 200 && p.r < 140 && p.b < 140; }
// Pixels of the view that are not the checkerboard: the skeleton (and text).
int SkeletonPixels(const Screenshot& s) {
  return s.Count(kView.x, kView.y + 40, kView.width, kView.height - 40, [](Rgb p) { return !IsChecker(p); });
}

// The panel's controls in window pixels.
int PanelX(const skelview::Spot& s) { return kWindowWidth - skelview::kPanelWidth + s.x; }
int CentreX(const skelview::Spot& s) { return PanelX(s) + s.width / 2; }
int CentreY(const skelview::Spot& s) { return s.y + s.height / 2; }
constexpr int kThumb = 16;  // the track bar's thumb length

// The second and third lines of a list (lines of a 16-pixel font are about 20 high).
int SecondLineY(const skelview::Spot& list) { return list.y + 34; }
int ThirdLineY(const skelview::Spot& list) { return list.y + 56; }
// Where a bar's thumb centre sits for a value.
int ThumbAt(int left, int width, double value) {
  return left + kThumb / 2 + static_cast<int>(std::lround(value * (width - kThumb)));
}
bool IsEventText(Rgb p) { return p.r > 200 && p.g > 170 && p.b < 80; }

constexpr int kBarY = kWindowHeight - skelview::kTimeBarBottom - skelview::kTimeBarThickness / 2;
constexpr int kBarLeft = skelview::kTimeBarInset;
const int kBarWidth = kView.width - 2 * skelview::kTimeBarInset;

// A bar's thumb centre, found by what is not the bar's fill (the time bar
// unless told otherwise).
int ThumbCentre(const Screenshot& s, int left = kBarLeft, int width = kBarWidth, int y = kBarY) {
  int first = -1, last = -1;
  for (int x = left + 2; x < left + width - 2; ++x) {
    const Rgb p = s.At(x, y);
    if (p.r == 120 && p.g == 120 && p.b == 150) continue;
    if (first < 0) first = x;
    last = x;
  }
  return first < 0 ? -1 : (first + last) / 2;
}

bool IsSelectedLine(Rgb p) { return p.r == 100 && p.g == 100 && p.b == 160; }
// Selected-line pixels in a list's line (0 the first).
int SelectedIn(const Screenshot& s, const skelview::Spot& list, int line) {
  return s.Count(PanelX(list) + 2, list.y + 6 + 22 * line, list.width - 4, 12, IsSelectedLine);
}

// Three squares of our own art side by side: half-transparent red, opaque
// white, and a grey Multiply square over the white's right half and over
// nothing. The bounds are 200 x 100 round the origin; "shifted" moves it all
// 100 units left.
struct Swatches {
  std::string atlas, json;
};
Swatches WriteSwatches(const TempDir& dir) {
  const unsigned char colours[3][4] = {{255, 0, 0, 128}, {255, 255, 255, 255}, {128, 128, 128, 255}};
  std::vector<unsigned char> page(48 * 16 * 4);
  for (size_t i = 0; i < page.size(); i += 4) std::memcpy(&page[i], colours[(i / 4 % 48) / 16], 4);
  std::vector<unsigned char> png;
  EXPECT_EQ(lodepng::encode(png, page, 48, 16), 0u);
  dir.Write("swatches.png", png);
  std::string atlas = "swatches.png\nsize: 48,16\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
  for (const char* name : {"half", "white", "grey"}) {
    const int x = name[0] == 'h' ? 0 : name[0] == 'w' ? 16 : 32;
    atlas += std::string(name) + "\n  rotate: false\n  xy: " + std::to_string(x) +
             ", 0\n  size: 16, 16\n  orig: 16, 16\n  offset: 0, 0\n  index: -1\n";
  }
  const std::string json = R"({"skeleton": {"version": "tarn-1", "x": -100, "y": -50, "width": 200, "height": 100},
  "bones": [{"name": "root"}],
  "slots": [{"name": "half", "bone": "root", "attachment": "half"},
            {"name": "white", "bone": "root", "attachment": "white"},
            {"name": "shade", "bone": "root", "attachment": "grey", "blend": "multiply"}],
  "skins": [{"name": "default", "attachments": {
    "half": {"half": {"x": -60, "width": 40, "height": 40}},
    "white": {"white": {"width": 40, "height": 40}},
    "shade": {"grey": {"x": 20, "width": 40, "height": 40}}}}],
  "animations": {
    "rest": {"bones": {"root": {"translate": [{"time": 0}, {"time": 1}]}}},
    "shifted": {"bones": {"root": {"translate": [{"time": 0, "x": -100}, {"time": 1, "x": -100}]}}}}})";
  return {dir.Write("swatches.atlas", atlas), dir.Write("swatches.json", json)};
}

class Skelview : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run"; }
  void Launch(const std::vector<std::string>& args, const std::string& title = "skelview - Char01.json") {
    program.SetProgram(SKELVIEW_BINARY, args, title);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20)) << "skelview's window did not appear";
    Screenshot shot = program.ShootWhen([](const Screenshot& s) { return SkeletonPixels(s) > 20000; }, 20);
    ASSERT_GT(SkeletonPixels(shot), 20000) << "no skeleton in the view";
    ASSERT_EQ(shot.width, unsigned(kWindowWidth));
    ASSERT_EQ(shot.height, unsigned(kWindowHeight));
    // It starts playing: the button offers "Pause" (once the panel is drawn).
    pauseLabel_ = LabelPixels(program.ShootWhen([](const Screenshot& s) { return LabelPixels(s) > 0; }, 20));
    ASSERT_GT(pauseLabel_, 0) << "no label on the play button";
  }
  // The white of the play button's label: "Pause" while playing, "Play" not.
  static int LabelPixels(const Screenshot& s) {
    return s.Count(PanelX(skelview::kPlayButton), skelview::kPlayButton.y, skelview::kPlayButton.width,
                   skelview::kPlayButton.height, [](Rgb p) { return p.r > 200 && p.g > 200 && p.b > 200; });
  }
  // Pauses the playing view: waits for it to be playing (a click before may
  // still be on its way), clicks, and waits for the button to offer "Play".
  void Pause() {
    program.ShootWhen([&](const Screenshot& s) { return LabelPixels(s) == pauseLabel_; }, 20);
    Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));
    const Screenshot paused = program.ShootWhen([&](const Screenshot& s) { return LabelPixels(s) != pauseLabel_; }, 20);
    ASSERT_NE(LabelPixels(paused), pauseLabel_) << "the view did not pause";
  }
  void Click(int x, int y) { ASSERT_TRUE(program.Click(x, y)); }
  // Holds the left button from one point to another, moving in steps; the
  // last step and the release come together (one xdotool run), as a quick
  // hand or a loaded machine brings them, in one poll.
  void Drag(int fromX, int fromY, int toX, int toY) {
    ASSERT_TRUE(program.MoveTo(fromX, fromY));
    ProgramHarness::Pause(100);
    ASSERT_TRUE(program.Xdotool({"mousedown", "1"}));
    ProgramHarness::Pause(150);
    for (int step = 1; step < 4; ++step) {
      ASSERT_TRUE(program.MoveTo(fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4));
      ProgramHarness::Pause(80);
    }
    ASSERT_TRUE(program.Xdotool({"mousemove", "--window", std::to_string(program.window()), std::to_string(toX),
                                 std::to_string(toY), "mouseup", "1"}));
    ProgramHarness::Pause(200);
  }
  // A bar's thumb once it has stopped moving: the click before it may not
  // have reached the program yet.
  int StableThumb(int left = kBarLeft, int width = kBarWidth, int y = kBarY) {
    int previous = -2;
    for (int i = 0; i < 40; ++i) {
      const int now = ThumbCentre(program.Shoot(), left, width, y);
      if (now >= 0 && now == previous) return now;
      previous = now;
      ProgramHarness::Pause(150);
    }
    return -1;
  }
  // A shot of the view once it has stopped changing (paused, clicks taken).
  Screenshot StillShot() {
    Screenshot previous = program.Shoot();
    for (int i = 0; i < 40; ++i) {
      ProgramHarness::Pause(150);
      Screenshot now = program.Shoot();
      if (!now.Empty() && !previous.Empty() && now.Differences(previous, 0, 0, kView.width, kView.height) == 0) {
        return now;
      }
      previous = now;
    }
    ADD_FAILURE() << "the view kept changing";
    return previous;
  }
  // A still shot once the view shows what an action should bring: a loaded
  // machine may take a while to draw it, and a still picture before then
  // would be the old one.
  Screenshot StillShotOnce(const std::function<bool(const Screenshot&)>& ready) {
    program.ShootWhen(ready, 20);
    return StillShot();
  }
  // A still shot once the view is no longer the picture before.
  Screenshot StillShotAfter(const Screenshot& before) {
    return StillShotOnce(
        [&](const Screenshot& s) { return s.Differences(before, 0, 0, kView.width, kView.height) > 0; });
  }
  // A still shot once the time bar's thumb stands at x, give or take the
  // pixels of a frame (time lands on whole frames).
  Screenshot ThumbStillAt(int x, int tolerance = 1) {
    return StillShotOnce([=](const Screenshot& s) { return Near(ThumbCentre(s), x, tolerance); });
  }
  // A key, sent to the window wherever the pointer is.
  void Key(const char* name) {
    ASSERT_TRUE(program.Xdotool({"key", "--window", std::to_string(program.window()), name}));
    ProgramHarness::Pause(150);
  }
  void CloseAndExpectExitZero() {
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(20), 0);
  }

  ProgramHarness program;
  int pauseLabel_ = -1;
};

TEST_F(Skelview, ScrubbedToOneSecondShowsWhatTheRendererDrawsForThatPose) {
  Launch({kAtlas, kJson});
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList));  // "wave"
  Pause();
  const int from = StableThumb();
  ASSERT_GE(from, 0) << "no thumb standing on the time bar";
  // The thumb's centre at half the bar's travel: 1 s of the 2 s "wave".
  const int to = kBarLeft + kThumb / 2 + (kBarWidth - kThumb) / 2;
  Drag(from, kBarY, to, kBarY);
  // Still, with the thumb where it was dragged: the events fired before the
  // pause have gone.
  const Screenshot shot = ThumbStillAt(to);
  shot.Save(Artifact("skelview-wave-1s.png"));
  CloseAndExpectExitZero();

  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  const Picture atOne = renderer.Pose("wave", 1.0, kView.width, kView.height);
  const Match match = Compare(shot, kView.x, kView.y, atOne);
  EXPECT_GT(match.opaque, 50000);
  EXPECT_LT(match.different, match.opaque / 200) << "of " << match.opaque << " opaque pixels";
  // The comparison tells poses apart: a tenth of a second off, and the idle
  // animation at the same time, show elsewhere.
  for (const auto& [animation, t] : {std::pair<const char*, double>{"wave", 0.9}, {"idle", 1.0}}) {
    const Match other =
        Compare(shot, kView.x, kView.y, renderer.Pose(animation, t, kView.width, kView.height, 0, "wave"));
    EXPECT_GT(other.different, match.different + 1000) << animation << " at " << t;
  }
  // Around the skeleton the checkerboard shows (below the event lines).
  int clear = 0, checker = 0;
  for (int y = 80; y < kView.height; ++y) {
    for (int x = 0; x < kView.width; ++x) {
      if (atOne.At(x, y)[3] != 0) continue;
      ++clear;
      checker += IsChecker(shot.At(x, y));
    }
  }
  EXPECT_GT(checker, clear * 99 / 100);
}

TEST_F(Skelview, AClickOnTheTimeBarsTrackSeeksThereHoweverShort) {
  Launch({kAtlas, kJson, "--animation", "wave"});
  Pause();
  const int from = StableThumb();
  ASSERT_GE(from, 0);
  // Well away from the thumb, wherever it stopped: 0.5 s or 1.5 s of the 2 s.
  const double value = from < kBarLeft + kBarWidth / 2 ? 0.75 : 0.25;
  const int to = ThumbAt(kBarLeft, kBarWidth, value);
  // Pressed and released at once (one xdotool run), as a quick tap comes:
  // the program sees both in one poll.
  ASSERT_TRUE(program.MoveTo(to, kBarY));
  ProgramHarness::Pause(80);
  ASSERT_TRUE(program.Xdotool({"mousedown", "1", "mouseup", "1"}));
  const Screenshot shot = ThumbStillAt(to);
  EXPECT_NEAR(ThumbCentre(shot), to, 1) << "the thumb did not come to the click";
  shot.Save(Artifact("skelview-track-click.png"));
  CloseAndExpectExitZero();

  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  const Match match = Compare(shot, kView.x, kView.y, renderer.Pose("wave", value * 2, kView.width, kView.height));
  EXPECT_GT(match.opaque, 50000);
  EXPECT_LT(match.different, match.opaque / 200) << "of " << match.opaque << " opaque pixels";
}

// Blended once onto what is behind, as the game draws onto its screen: half
// red over a half-blue background over the checkerboard, Multiply darkening
// the background where nothing of the skeleton is under it.
TEST_F(Skelview, TheViewDrawsTheSkeletonOntoItsBackgroundAsTheGameDoes) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  Launch({art.atlas, art.json, "--background", "20408080"}, "skelview - swatches.json");
  // Launch's test holds for a window not yet drawn: wait for the background.
  program.ShootWhen([](const Screenshot& s) { return s.At(800, 100).b > 100; }, 20);
  const Screenshot shot = StillShot();
  shot.Save(Artifact("skelview-background.png"));
  CloseAndExpectExitZero();

  // 200 x 100 bounds fitted to the view: 4.41 view pixels a unit, the
  // origin in the middle; the squares are 40 units wide.
  const int checkerDark = 160, checkerLight = 200, background[3] = {32, 64, 128};
  auto behind = [&](int x, int y, int c) {
    const int checker = (x / 16 + y / 16) % 2 == 0 ? checkerDark : checkerLight;
    return (checker * 127 + background[c] * 128 + 127) / 255;
  };
  const struct {
    const char* what;
    int left, right;
    int (*expected)(int behind, int channel);
  } areas[] = {
      {"half red", 150, 300, [](int b, int c) { return ((c == 0 ? 255 * 128 : 0) + b * 127 + 127) / 255; }},
      {"white", 415, 480, [](int, int) { return 255; }},
      {"multiply over white", 500, 565, [](int, int) { return 128; }},
      {"multiply over the background", 590, 655, [](int b, int) { return (b * 128 + 127) / 255; }},
      {"background", 700, 900, [](int b, int) { return b; }},
  };
  for (const auto& area : areas) {
    int wrong = 0, seen = 0;
    for (int y = 250; y < 400; y += 3) {
      for (int x = area.left; x < area.right; x += 3) {
        const Rgb p = shot.At(x, y);
        const int got[3] = {p.r, p.g, p.b};
        for (int c = 0; c < 3; ++c) {
          ++seen;
          if (!Near(got[c], area.expected(behind(x, y, c), c))) {
            if (++wrong == 1)
              ADD_FAILURE() << area.what << " at " << x << "," << y << " channel " << c << ": " << got[c]
                            << ", expected " << area.expected(behind(x, y, c), c);
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0) << area.what << ", of " << seen;
  }
}

TEST_F(Skelview, ReloadsChangedFilesAndKeepsTheLastGoodSkeletonWhenTheyBreak) {
  TempDir dir;
  const std::string original = ReadText(kJson);
  const std::string json = dir.Write("Char01.json", original);
  const std::string atlas = dir.Write("Char01.atlas", ReadText(kAtlas));
  dir.Write("Char01.png", ReadText(kPage));
  program.CaptureErrors();
  Launch({atlas, json, "--skin", "0_1"});
  Pause();
  // A reload seeks to where the view stood; a pose reached by playing can
  // differ from it in a few pixels, so the first pose is seeked as well.
  const Screenshot paused = StillShot();
  Key("Right");
  const Screenshot before = StillShotAfter(paused);
  const int big = SkeletonPixels(before);

  // Twice the bounds' height: the view fits the skeleton at half the size.
  std::string taller = original;
  const size_t at = taller.find("\"height\": 1445");
  ASSERT_NE(at, std::string::npos);
  taller.replace(at, 14, "\"height\": 2890");
  dir.Write("Char01.json", taller);
  // Still shots once the change shows: a shot may catch a frame half copied.
  const Screenshot reloaded = StillShotOnce([&](const Screenshot& s) { return SkeletonPixels(s) < big * 7 / 10; });
  reloaded.Save(Artifact("skelview-reloaded.png"));
  EXPECT_LT(SkeletonPixels(reloaded), big * 7 / 10) << "the change was not shown";
  EXPECT_GT(SkeletonPixels(reloaded), big / 10);
  EXPECT_GT(reloaded.Count(kWindowWidth - skelview::kPanelWidth, 560, skelview::kPanelWidth, 160, IsGood), 20)
      << "no \"reloaded\" line";

  dir.Write("Char01.json", taller.substr(0, taller.size() / 2));
  const Screenshot broken =
      StillShotOnce([](const Screenshot& s) { return s.Count(0, 0, kView.width, 30, IsErrorRed) > 50; });
  broken.Save(Artifact("skelview-broken.png"));
  EXPECT_GT(broken.Count(0, 0, kView.width, 30, IsErrorRed), 50) << "no error line";
  // Below the error line the view is what it was: the last good skeleton.
  EXPECT_EQ(broken.Differences(reloaded, 0, 40, kView.width, kView.height - 40), 0);

  // Mended, the error goes and the skeleton is back as it first was.
  dir.Write("Char01.json", original);
  const Screenshot mended =
      StillShotOnce([](const Screenshot& s) { return s.Count(0, 0, kView.width, 30, IsErrorRed) == 0; });
  EXPECT_EQ(mended.Count(0, 0, kView.width, 30, IsErrorRed), 0);
  EXPECT_EQ(mended.Differences(before, 0, 40, kView.width, kView.height - 40), 0);

  // The page image is watched too: with red and blue swapped, the skeleton
  // shows in other colours at once.
  std::vector<unsigned char> page;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(page, w, h, kPage), 0u);
  for (size_t i = 0; i + 3 < page.size(); i += 4) std::swap(page[i], page[i + 2]);
  std::vector<unsigned char> png;
  ASSERT_EQ(lodepng::encode(png, page, w, h), 0u);
  dir.Write("Char01.png", png);
  const Screenshot recoloured = StillShotOnce(
      [&](const Screenshot& s) { return s.Differences(before, 0, 40, kView.width, kView.height - 40) > 20000; });
  EXPECT_GT(recoloured.Differences(before, 0, 40, kView.width, kView.height - 40), 20000)
      << "the new page was not shown";
  EXPECT_EQ(SkeletonPixels(recoloured), SkeletonPixels(before)) << "the same shape, other colours";

  // The animation and the skin being looked at go from the file: the lists
  // mark what shows instead, the first animation and the default skin.
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList));  // "wave", playing
  Pause();
  ASSERT_TRUE(program.MoveTo(400, 300));
  const Screenshot picked = StillShot();
  EXPECT_GT(SelectedIn(picked, skelview::kAnimationList, 1), 500);
  EXPECT_GT(SelectedIn(picked, skelview::kSkinList, 1), 500) << "\"0_1\" is marked";
  std::string renamed = original;
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"    \"wave\": {\n", "    \"waving\": {\n"},
                                 {"\"name\": \"0_1\"", "\"name\": \"0_2\""}}) {
    const size_t found = renamed.find(from);
    ASSERT_NE(found, std::string::npos) << from;
    renamed.replace(found, from.size(), to);
  }
  dir.Write("Char01.json", renamed);
  const Screenshot fellBack =
      program.ShootWhen([](const Screenshot& s) { return SelectedIn(s, skelview::kAnimationList, 0) > 500; }, 15);
  fellBack.Save(Artifact("skelview-fell-back.png"));
  EXPECT_GT(SelectedIn(fellBack, skelview::kAnimationList, 0), 500) << "the first animation is not marked";
  EXPECT_EQ(SelectedIn(fellBack, skelview::kAnimationList, 1), 0);
  EXPECT_GT(SelectedIn(fellBack, skelview::kSkinList, 0), 500) << "the default skin is not marked";
  EXPECT_EQ(SelectedIn(fellBack, skelview::kSkinList, 1), 0);
  CloseAndExpectExitZero();

  // One line on the terminal for each reload and each failed one.
  std::vector<std::string> lines;
  std::istringstream said(program.Errors());
  for (std::string line; std::getline(said, line);) lines.push_back(line);
  const std::string ok = "skelview: reloaded " + json;
  const std::vector<std::string> expected = {
      ok, "skelview: reload failed: " + json + ":", ok, ok,
      // Each reload says its warnings, as the start does.
      json +
          ": warning: no skin named \"0_1\": the game shows this skin and falls back to the default skin "
          "[game-no-skin]",
      ok + "; animation \"wave\" is gone: \"idle\"; skin \"0_1\" is gone: default"};
  ASSERT_EQ(lines.size(), expected.size()) << program.Errors();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (expected[i].back() == ':')
      EXPECT_EQ(lines[i].rfind(expected[i], 0), 0u) << lines[i];
    else
      EXPECT_EQ(lines[i], expected[i]);
  }
}

TEST_F(Skelview, AResizedWindowKeepsThePanelRightAndRefitsTheSkeleton) {
  Launch({kAtlas, kJson});
  Pause();
  ASSERT_TRUE(program.Xdotool({"windowsize", std::to_string(program.window()), "1000", "560"}));
  const skelview::Area view = skelview::ViewArea(1000, 560);
  auto isFrame = [](Rgb p) { return p.r == 10 && p.g == 60 && p.b == 120; };
  // The time bar's frame reaches the new view's right side, less its inset.
  const int barRight = view.width - skelview::kTimeBarInset - 1, barY = 560 - skelview::kTimeBarBottom - 10;
  const Screenshot shot = program.ShootWhen(
      [&](const Screenshot& s) { return s.width == 1000 && s.height == 560 && isFrame(s.At(barRight, barY)); }, 15);
  shot.Save(Artifact("skelview-resized.png"));
  ASSERT_EQ(shot.width, 1000u);
  EXPECT_TRUE(isFrame(shot.At(barRight, barY)));
  // The lists keep to the right edge.
  EXPECT_TRUE(isFrame(shot.At(1000 - skelview::kPanelWidth + skelview::kAnimationList.x, 80)));
  // The skeleton fills the smaller view about as it filled the larger one:
  // the rows it spans stay within the view, centred.
  int top = -1, bottom = -1;
  for (int y = 0; y < view.height; ++y) {
    if (shot.Count(0, y, view.width, 1, [](Rgb p) { return !IsChecker(p); }) > 3) {
      if (top < 0) top = y;
      bottom = y;
    }
  }
  ASSERT_GE(top, 0);
  EXPECT_GT(bottom - top, view.height * 8 / 10);
  EXPECT_LT(bottom, view.height - 5);
  CloseAndExpectExitZero();
}

TEST_F(Skelview, ShowsEventsPreviewsTheGamesMixAndSavesAScreenshotOnS) {
  TempDir dir;
  program.SetWorkingDirectory(dir.path());  // no font here: the build's is found
  Launch({kAtlas, kJson});
  // "wave" fires its events at 0.6 s and 1.1 s; each shows for half a second.
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList));
  const Screenshot event =
      program.ShootWhen([](const Screenshot& s) { return s.Count(0, 0, 400, 80, IsEventText) > 30; }, 10);
  event.Save(Artifact("skelview-event.png"));
  EXPECT_GT(event.Count(0, 0, 400, 80, IsEventText), 30) << "no event shown";
  Pause();
  const Screenshot gone =
      program.ShootWhen([](const Screenshot& s) { return s.Count(0, 0, 400, 80, IsEventText) == 0; }, 5);
  EXPECT_EQ(gone.Count(0, 0, 400, 80, IsEventText), 0) << "the event stayed";

  // idle, then wave with a mix of 1 s: idle's 3 s and half the mix in.
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList) - 22);  // "idle"
  Pause();
  Click(CentreX(skelview::kMixList), ThirdLineY(skelview::kMixList));  // then "wave"
  const int mixLeft = PanelX(skelview::kMixBar), mixY = CentreY(skelview::kMixBar);
  const int mixFrom = StableThumb(mixLeft, skelview::kMixBar.width, mixY);
  ASSERT_GE(mixFrom, 0);
  Drag(mixFrom, mixY, ThumbAt(mixLeft, skelview::kMixBar.width, 1.0 / skelview::kMaxMixSeconds), mixY);
  const int timeFrom = StableThumb();
  ASSERT_GE(timeFrom, 0);
  Drag(timeFrom, kBarY, ThumbAt(kBarLeft, kBarWidth, 3.5 / 5.0), kBarY);
  // 5 s on the bar: a frame is 3 pixels.
  const Screenshot mixed = ThumbStillAt(ThumbAt(kBarLeft, kBarWidth, 3.5 / 5.0), 4);
  mixed.Save(Artifact("skelview-mix.png"));

  // S saves the window as it shows.
  ASSERT_TRUE(program.MoveTo(400, 300));
  ASSERT_TRUE(program.Xdotool({"key", "--window", std::to_string(program.window()), "s"}));
  const std::string saved = dir.File("skelview-001.png");
  Picture file;
  for (int i = 0; i < 100 && !file.Load(saved); ++i) ProgramHarness::Pause(100);
  CloseAndExpectExitZero();
  ASSERT_EQ(file.width, kWindowWidth) << "no screenshot in " << saved;
  ASSERT_EQ(file.height, kWindowHeight);
  int differentFromWindow = 0;
  for (int y = 0; y < kView.height; ++y) {
    for (int x = 0; x < kView.width; ++x) {
      const Rgb p = mixed.At(x, y);
      const unsigned char* q = file.At(x, y);
      differentFromWindow += p.r != q[0] || p.g != q[1] || p.b != q[2];
    }
  }
  EXPECT_EQ(differentFromWindow, 0);

  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  const Match match =
      Compare(mixed, kView.x, kView.y, renderer.PoseMix("idle", "wave", 1.0, 3.5, kView.width, kView.height));
  EXPECT_GT(match.opaque, 50000);
  EXPECT_LT(match.different, match.opaque / 200) << "of " << match.opaque << " opaque pixels";
  // Half way through the mix it is neither animation alone.
  for (const auto& [animation, t] : {std::pair<const char*, double>{"wave", 0.5}, {"idle", 0.0}}) {
    const Match alone =
        Compare(mixed, kView.x, kView.y, renderer.Pose(animation, t, kView.width, kView.height, 0, "idle"));
    EXPECT_GT(alone.different, match.different + 500) << animation << " at " << t;
  }
}

// The rectangle of the view's pixels that are not the checkerboard.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Box NotChecker(const Screenshot& s) {
  Box b;
  for (int y = 0; y < kView.height; ++y) {
    for (int x = 0; x < kView.width; ++x) {
      if (IsChecker(s.At(x, y))) continue;
      b.left = std::min(b.left, x);
      b.right = std::max(b.right, x);
      b.top = std::min(b.top, y);
      b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}
// Where a box of the fitted view goes after a zoom by factor about (px, py),
// cut to the view.
Box Zoomed(const Box& b, double factor, int px, int py) {
  auto at = [&](int v, int p, int limit) {
    return std::clamp(static_cast<int>(std::lround(p + (v - p) * factor)), 0, limit - 1);
  };
  return {at(b.left, px, kView.width), at(b.top, py, kView.height), at(b.right, px, kView.width),
          at(b.bottom, py, kView.height)};
}
void ExpectNear(const Box& got, const Box& want, const char* what) {
  EXPECT_TRUE(Near(got.left, want.left) && Near(got.top, want.top) && Near(got.right, want.right) &&
              Near(got.bottom, want.bottom))
      << what << ": " << got.left << "," << got.top << " - " << got.right << "," << got.bottom << ", expected "
      << want.left << "," << want.top << " - " << want.right << "," << want.bottom;
}

// Content that passes its checks but would not show as meant: a header box
// far smaller than the pose, and no skin named "default". The view shows the
// first skin whole and says so; a long reload error wraps in its band.
TEST_F(Skelview, ShowsTheWholePoseOfTheFirstSkinAndWrapsALongError) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  std::string json = ReadText(art.json);
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"\"width\": 200, \"height\": 100", "\"width\": 20, \"height\": 10"},
        {"\"name\": \"default\"", "\"name\": \"plain\""}}) {
    const size_t at = json.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    json.replace(at, from.size(), to);
  }
  dir.Write("swatches.json", json);
  program.CaptureErrors();
  Launch({art.atlas, art.json}, "skelview - swatches.json");
  Pause();
  const Screenshot shot = StillShot();
  shot.Save(Artifact("skelview-whole.png"));
  // All three squares, 120 x 40 units, inside the view with its margin (the
  // header box, 20 units left of them, held too).
  const Box drawn = NotChecker(shot);
  EXPECT_GT(drawn.left, kView.width / 30);
  EXPECT_LT(drawn.right, kView.width - kView.width / 30);
  EXPECT_GT(drawn.right - drawn.left, kView.width * 7 / 10);
  EXPECT_NEAR((drawn.right - drawn.left) / 3.0, drawn.bottom - drawn.top, 6) << "the squares' shape";

  // A missing bone with a long name: the reason takes several lines, all
  // left of the panel.
  const std::string name(160, 'x');
  const size_t bones = json.find("\"bones\": [{\"name\": \"root\"}");
  ASSERT_NE(bones, std::string::npos);
  json.insert(bones + std::string("\"bones\": [{\"name\": \"root\"}").size(),
              ", {\"name\": \"arm\", \"parent\": \"" + name + "\"}");
  dir.Write("swatches.json", json);
  // The second line of text, below where one line ends.
  auto secondLine = [](const Screenshot& s) { return s.Count(0, 28, kView.width, 30, IsErrorRed); };
  const Screenshot broken = program.ShootWhen([&](const Screenshot& s) { return secondLine(s) > 20; }, 15);
  broken.Save(Artifact("skelview-long-error.png"));
  EXPECT_GT(secondLine(broken), 20) << "the reason is not on several lines";
  EXPECT_EQ(broken.Count(kView.width, 0, kWindowWidth - kView.width, 200, IsErrorRed), 0) << "red under the panel";
  CloseAndExpectExitZero();
  EXPECT_NE(program.Errors().find("skelview: no skin named default: showing the first skin, plain\n"),
            std::string::npos)
      << program.Errors();
}

TEST_F(Skelview, TheWheelZoomsAboutThePointerADragPansAndFFitsAgain) {
  Launch({kAtlas, kJson});
  Pause();
  const Screenshot fit = StillShot();
  const Box fitted = NotChecker(fit);
  ASSERT_GT(fitted.right - fitted.left, 100);

  // Two notches towards the player zoom out by 1.25 each, about the pointer.
  // Each step waits for the view to show the change and keep still (two
  // notches may come a frame apart): under load a still picture taken too
  // soon is the one before.
  const Box expectOut = Zoomed(fitted, 1 / 1.5625, 300, 250);
  ASSERT_TRUE(program.Wheel(300, 250, 2));
  const Box out = NotChecker(StillShotOnce([&](const Screenshot& s) {
    const Box b = NotChecker(s);
    return Near(b.left, expectOut.left) && Near(b.right, expectOut.right);
  }));
  ExpectNear(out, expectOut, "zoomed out");
  // A drag anywhere in the view carries the skeleton with it.
  Drag(600, 400, 700, 350);
  const Screenshot panned = StillShotOnce([&](const Screenshot& s) { return NotChecker(s).left >= out.left + 97; });
  ExpectNear(NotChecker(panned), {out.left + 100, out.top - 50, out.right + 100, out.bottom - 50}, "panned");
  Key("f");
  const Screenshot refit =
      StillShotOnce([&](const Screenshot& s) { return s.Differences(fit, 0, 0, kView.width, kView.height) == 0; });
  EXPECT_EQ(refit.Differences(fit, 0, 0, kView.width, kView.height), 0) << "F did not fit again";
  // A notch away from the player zooms in.
  ASSERT_TRUE(program.Wheel(500, 300, -1));
  const Screenshot in = StillShotAfter(refit);
  in.Save(Artifact("skelview-zoomed-in.png"));
  ExpectNear(NotChecker(in), Zoomed(fitted, 1.25, 500, 300), "zoomed in");

  // B: dark, light, then the checkerboard again (no colour was given).
  auto corner = [](const Screenshot& s, int grey) {
    return s.Count(0, 0, 40, 40, [grey](Rgb p) { return p.r == grey && p.g == grey && p.b == grey; });
  };
  Key("b");
  EXPECT_EQ(corner(StillShotOnce([&](const Screenshot& s) { return corner(s, 40) > 0; }), 40), 1600);
  Key("b");
  EXPECT_EQ(corner(StillShotOnce([&](const Screenshot& s) { return corner(s, 240) > 0; }), 240), 1600);
  Key("b");
  EXPECT_EQ(StillShotOnce([&](const Screenshot& s) {
              return corner(s, 240) == 0;
            }).Differences(in, 0, 0, kView.width, kView.height),
            0);
  CloseAndExpectExitZero();
}

// Clicks on the swatches name the slot under the pointer, the top-most of
// those shown, wherever the view has been zoomed; the slot list hides one.
TEST_F(Skelview, AClickNamesTheSlotAndAttachmentUnderThePointer) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  program.CaptureOutput();
  Launch({art.atlas, art.json}, "skelview - swatches.json");
  // 4.41 view pixels a unit, the origin at the view's middle.
  auto unitX = [](double u) { return static_cast<int>(std::lround(kView.width / 2.0 + u * 4.41)); };
  const int middleY = kView.height / 2;
  size_t seen = 0;
  auto picked = [&]() {
    std::string line;
    for (int i = 0; i < 50 && line.empty(); ++i) {
      const std::string out = program.Output();
      const size_t at = out.find("skelview: picked ", seen);
      const size_t end = at == std::string::npos ? at : out.find('\n', at);
      if (end != std::string::npos) {
        line = out.substr(at + 17, end - at - 17);
        seen = end;
      } else {
        ProgramHarness::Pause(100);
      }
    }
    return line;
  };
  Click(unitX(-10), middleY);
  EXPECT_EQ(picked(), "slot \"white\", attachment \"white\"");
  Click(unitX(-60), middleY);
  EXPECT_EQ(picked(), "slot \"half\", attachment \"half\"");
  Click(unitX(80), middleY);
  EXPECT_EQ(picked(), "nothing");
  Click(unitX(10), middleY);  // white and shade overlap: shade is drawn last
  EXPECT_EQ(picked(), "slot \"shade\", attachment \"grey\"");
  auto yellow = [](Rgb p) { return p.r > 200 && p.g > 200 && p.b < 80; };
  const Screenshot named = StillShot();
  named.Save(Artifact("skelview-pick.png"));
  EXPECT_GT(named.Count(0, 0, 400, 40, yellow), 30) << "no name at the top left";
  // The picked square's edges: its top edge at 20 units up.
  EXPECT_GT(named.Count(unitX(5), middleY - 91, unitX(35) - unitX(5), 5, yellow), 60) << "no outline";

  // Zoomed in about the pointer, the same click lands on what shows there.
  ASSERT_TRUE(program.Wheel(unitX(10), middleY, -2));
  const int zoomedMinusTen = static_cast<int>(std::lround(unitX(10) + (unitX(-10) - unitX(10)) * 1.5625));
  Click(zoomedMinusTen, middleY);
  EXPECT_EQ(picked(), "slot \"white\", attachment \"white\"");

  // L lists the slots over the view's right edge; a click on "shade" (its
  // third line, lines about 20 high) hides it, and the pointer then reaches the white under it.
  const int listLeft = kView.width - skelview::kSlotListInset - skelview::kSlotListWidth;
  auto listShown = [&](const Screenshot& s) {
    const Rgb p = s.At(listLeft, skelview::kSlotListTop + 30);
    return p.r == 10 && p.g == 60 && p.b == 120;  // its frame
  };
  Key("l");
  ASSERT_TRUE(listShown(program.ShootWhen(listShown, 20))) << "no slot list";
  Click(listLeft + skelview::kSlotListWidth / 2, skelview::kSlotListTop + 52);
  Click(unitX(10), middleY);
  EXPECT_EQ(picked(), "slot \"white\", attachment \"white\"");
  Key("l");
  Key("f");
  const Screenshot hidden = StillShotOnce([&](const Screenshot& s) { return !listShown(s); });
  hidden.Save(Artifact("skelview-hidden-slot.png"));
  CloseAndExpectExitZero();
  // Where the shade darkened the checkerboard, the checkerboard shows.
  EXPECT_EQ(hidden.Count(unitX(25), middleY - 60, unitX(35) - unitX(25), 120, IsChecker),
            (unitX(35) - unitX(25)) * 120);
}

TEST_F(Skelview, OnionSkinDrawsThePreviousAndNextFramesFaintlyUnderThePose) {
  Launch({kAtlas, kJson, "--animation", "wave"});
  Pause();
  const int from = StableThumb();
  ASSERT_GE(from, 0);
  const int to = kBarLeft + kThumb / 2 + (kBarWidth - kThumb) / 2;  // 1 s
  Drag(from, kBarY, to, kBarY);
  const Screenshot plain = ThumbStillAt(to);
  Key("o");
  const Screenshot onion = StillShotAfter(plain);
  onion.Save(Artifact("skelview-onion.png"));
  Key("o");
  EXPECT_EQ(StillShotAfter(onion).Differences(plain, 0, 0, kView.width, kView.height), 0) << "O again: as before";
  CloseAndExpectExitZero();

  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  // Where a frame is drawn at all: onto black and onto white, so even a
  // faint dark shadow or a faint light edge shows.
  auto poses = [&](std::initializer_list<double> times) {
    std::vector<Picture> pictures;
    for (double t : times) {
      for (uint32_t backdrop : {0xFF000000u, 0xFFFFFFFFu})
        pictures.push_back(renderer.Pose("wave", t, kView.width, kView.height, backdrop));
    }
    return pictures;
  };
  auto drawn = [](const std::vector<Picture>& pictures, int x, int y) {
    for (const Picture& p : pictures) {
      const int backdrop = p.At(0, 0)[0];  // the corner is bare
      for (int c = 0; c < 3; ++c)
        if (p.At(x, y)[c] != backdrop) return true;
    }
    return false;
  };
  // Two each side, a fifteenth of a second apart.
  const std::vector<Picture> neighbours = poses({1 - 2 / 15.0, 1 - 1 / 15.0, 1 + 1 / 15.0, 1 + 2 / 15.0}),
                             current = poses({1.0});
  // What the ghosts add lies where the poses before and after are, some of
  // it beyond the pose itself, tinted blue for those before and green for
  // those after.
  int added = 0, astray = 0, beyond = 0, blue = 0, green = 0;
  for (int y = 0; y < kView.height; ++y) {
    for (int x = 0; x < kView.width; ++x) {
      const Rgb p = plain.At(x, y), q = onion.At(x, y);
      if (p.r == q.r && p.g == q.g && p.b == q.b) continue;
      ++added;
      astray += !drawn(neighbours, x, y);
      beyond += !drawn(current, x, y);
      blue += q.b > q.r + 20 && q.b > q.g + 10;
      green += q.g > q.r + 20 && q.g > q.b + 20;
    }
  }
  EXPECT_GT(added, 200);
  EXPECT_EQ(astray, 0) << "of " << added;
  // Far enough apart to be seen at the normal zoom, not a fringe.
  EXPECT_GT(beyond, 2000) << "the ghosts only show through the pose's soft edges";
  EXPECT_GT(blue, 20);
  EXPECT_GT(green, 20);
}

// The render mode: its exit code, and the sheet it writes.
int RenderTo(const std::string& out, const std::string& extra) {
  const std::string command = kNoDisplay + SKELVIEW_BINARY + " " + kAtlas + " " + kJson + " --render wave --out " +
                              out + " " + extra + " > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Skelview, RenderModeWritesFrameKAsThePoseAtKOverFps) {
  TempDir dir;
  const std::string out = dir.File("wave.png");
  ASSERT_EQ(RenderTo(out, "--fps 10 --size 200x300"), 0);
  Picture sheet;
  ASSERT_TRUE(sheet.Load(out));
  // 2 s at 10 fps: 20 frames, rows of 8.
  EXPECT_EQ(sheet.width, 8 * 200);
  EXPECT_EQ(sheet.height, 3 * 300);
  auto opaqueIn = [&](int k) {
    int n = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 200; ++x) n += sheet.At((k % 8) * 200 + x, (k / 8) * 300 + y)[3] == 255;
    }
    return n;
  };
  for (int k = 0; k < 24; ++k) {
    if (k < 20)
      EXPECT_GT(opaqueIn(k), 5000) << "frame " << k << " is empty";
    else
      EXPECT_EQ(opaqueIn(k), 0) << "cell " << k << " is past the last frame";
  }
  // Laid over black, each frame is what the game's renderer draws onto a
  // black screen, soft edges and the lantern's added glow included. Over
  // white too, wherever one alpha explains the game's pixel (its channels let
  // the same share of white through; light added over nothing does not).
  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  for (int k : {0, 6, 10, 13, 19}) {
    const Picture black = renderer.Pose("wave", k / 10.0, 200, 300, 0xFF000000);
    const Picture white = renderer.Pose("wave", k / 10.0, 200, 300, 0xFFFFFFFF);
    int differentOverBlack = 0, differentOverWhite = 0, soft = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 200; ++x) {
        const unsigned char* b = black.At(x, y);
        const unsigned char* w = white.At(x, y);
        const unsigned char* s = sheet.At((k % 8) * 200 + x, (k / 8) * 300 + y);
        soft += s[3] != 0 && s[3] != 255;
        const int through[3] = {w[0] - b[0], w[1] - b[1], w[2] - b[2]};
        const bool oneAlpha =
            std::max({through[0], through[1], through[2]}) - std::min({through[0], through[1], through[2]}) <= 2;
        for (int c = 0; c < 3; ++c) {
          differentOverBlack += !Near(b[c], (s[c] * s[3] + 127) / 255);
          if (oneAlpha) differentOverWhite += !Near(w[c], (s[c] * s[3] + 255 * (255 - s[3]) + 127) / 255);
        }
      }
    }
    EXPECT_EQ(differentOverBlack, 0) << "frame " << k;
    EXPECT_EQ(differentOverWhite, 0) << "frame " << k;
    EXPECT_GT(soft, 100) << "frame " << k << ": the art's edges are soft";
  }
  // --frames counts past the end: the animation comes round again.
  ASSERT_EQ(RenderTo(out, "--fps 10 --size 200x300 --frames 21"), 0);
  Picture longer;
  ASSERT_TRUE(longer.Load(out));
  EXPECT_EQ(longer.height, 3 * 300);
  int sameAsFirst = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 200; ++x) sameAsFirst += !std::memcmp(longer.At(4 * 200 + x, 2 * 300 + y), sheet.At(x, y), 4);
  }
  EXPECT_EQ(sameAsFirst, 200 * 300);
}

// Sheets of the swatches, one 200 x 100 frame each: the art's own colour and
// alpha where it stands alone, what the game shows where it is blended.
TEST(SkelviewSheet, PixelsAreStraightAndTheBackgroundAndAnimationAreHonoured) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  const std::string out = dir.File("sheet.png");
  struct Probe {
    int x, y;
    int rgba[4];
  };
  const std::vector<Probe> rest = {{46, 50, {255, 0, 0, 128}},      {90, 50, {255, 255, 255, 255}},
                                   {110, 50, {128, 128, 128, 255}}, {128, 50, {0, 0, 0, 127}},
                                   {180, 50, {0, 0, 0, 0}},         {46, 90, {0, 0, 0, 0}}};
  // Shifted out of the header's box, the pose is fitted whole: the box and
  // the pose together, 280 units wide, centred.
  const std::vector<Probe> shifted = {
      {60, 50, {255, 255, 255, 255}}, {20, 50, {255, 0, 0, 128}}, {110, 50, {0, 0, 0, 0}}};
  const struct {
    std::string args;
    std::vector<Probe> probes;
  } cases[] = {
      {"--render", rest},
      {"--render rest", rest},
      {"--render --animation shifted", shifted},
      {"--render shifted --animation shifted", shifted},
      {"--render --background 0000FF",
       {{46, 50, {128, 0, 127, 255}},
        {110, 50, {128, 128, 128, 255}},
        {128, 50, {0, 0, 128, 255}},
        {180, 50, {0, 0, 255, 255}}}},
      {"--render --background 0000FF80", {{180, 50, {0, 0, 255, 128}}, {90, 50, {255, 255, 255, 255}}}},
      // A scale with the size: the frames' bounds centred at that scale.
      {"--render --scale 0.5", {{104, 50, {255, 255, 255, 255}}, {80, 50, {255, 0, 0, 128}}, {66, 50, {0, 0, 0, 0}}}},
  };
  for (const auto& c : cases) {
    std::remove(out.c_str());
    const std::string command = kNoDisplay + SKELVIEW_BINARY + " " + art.atlas + " " + art.json + " " + c.args +
                                " --fps 1 --size 200x100 --out " + out + " > /dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << c.args;
    Picture sheet;
    ASSERT_TRUE(sheet.Load(out)) << c.args;
    ASSERT_EQ(sheet.width, 200);
    ASSERT_EQ(sheet.height, 100) << c.args << ": one frame";
    for (const Probe& probe : c.probes) {
      const unsigned char* p = sheet.At(probe.x, probe.y);
      for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(Near(p[i], probe.rgba[i], 2)) << c.args << " at " << probe.x << "," << probe.y << ": " << int(p[0])
                                                  << "," << int(p[1]) << "," << int(p[2]) << "," << int(p[3]);
    }
  }
}

// skel's JSON reader over a file skelview wrote; null (with a failure) when
// it does not parse.
struct JsonFile {
  explicit JsonFile(const std::string& path) : text(ReadText(path)), root(text.c_str()) {
    EXPECT_EQ(root.getSyntaxError(), nullptr) << path;
  }
  skel::Json* operator[](const char* name) { return skel::Json::getItem(&root, name); }
  std::string text;
  skel::Json root;
};

// Every kind of output of one animation, rendered where there is no
// display: the sheet's cells are where its data says, and each animated
// picture holds the same frames, each for 1 / fps.
TEST(SkelviewExports, EveryKindHoldsTheSameFramesAndTheDataSaysWhere) {
  TempDir dir;
  mkdir(dir.File("seq").c_str(), 0755);
  const std::string common = kNoDisplay + SKELVIEW_BINARY + " " + kAtlas + " " + kJson + " --render wave --fps 10 ";
  for (const std::string& args :
       {"--scale 0.1 --columns 6 --padding 2 --out " + dir.File("%s.png") + " --data " + dir.File("%s.json"),
        "--scale 0.1 --out " + dir.File("seq/%s_%02d.png"), "--scale 0.1 --out " + dir.File("%s.webp"),
        "--scale 0.1 --out " + dir.File("%s.apng"), "--scale 0.1 --out " + dir.File("%s.gif")}) {
    ASSERT_EQ(std::system((common + args + " > /dev/null").c_str()), 0) << args;
  }
  std::vector<Picture> frames(20);
  for (int k = 0; k < 20; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "seq/wave_%02d.png", k);
    ASSERT_TRUE(frames[k].Load(dir.File(name))) << name;
  }
  const int w = frames[0].width, h = frames[0].height;
  // Fitted once to every frame's pose, so no frame is cut: Char01's art has
  // clear margins inside its triangles, and the canvas's edges stay clear.
  int edges[4] = {};
  for (const Picture& f : frames) {
    ASSERT_EQ(f.width, w);
    ASSERT_EQ(f.height, h);
    for (int y = 0; y < h; ++y) edges[0] += f.At(0, y)[3] > 0, edges[1] += f.At(w - 1, y)[3] > 0;
    for (int x = 0; x < w; ++x) edges[2] += f.At(x, 0)[3] > 0, edges[3] += f.At(x, h - 1)[3] > 0;
  }
  for (int edge = 0; edge < 4; ++edge) EXPECT_EQ(edges[edge], 0) << "edge " << edge;
  EXPECT_NEAR(w, 94, 3) << "Char01 stands about 940 units wide";

  Picture sheet;
  ASSERT_TRUE(sheet.Load(dir.File("wave.png")));
  EXPECT_EQ(sheet.width, 6 * (w + 2) + 2);
  EXPECT_EQ(sheet.height, 4 * (h + 2) + 2);
  JsonFile data(dir.File("wave.json"));
  EXPECT_STREQ(skel::Json::getString(&data.root, "animation", ""), "wave");
  EXPECT_EQ(skel::Json::getInt(&data.root, "width", 0), w);
  EXPECT_EQ(skel::Json::getInt(&data.root, "height", 0), h);
  skel::Json* records = data["frames"];
  ASSERT_NE(records, nullptr);
  ASSERT_EQ(records->getSize(), 20);
  int k = 0;
  for (skel::Json* record = records->getChild(); record; record = record->getNext(), ++k) {
    EXPECT_STREQ(skel::Json::getString(record, "file", ""), dir.File("wave.png").c_str());
    EXPECT_NEAR(skel::Json::getFloat(record, "time", -1), k / 10.0, 1e-6) << k;
    EXPECT_NEAR(skel::Json::getFloat(record, "duration", -1), 0.1, 1e-6) << k;
    const int x = skel::Json::getInt(record, "x", -1), y = skel::Json::getInt(record, "y", -1);
    ASSERT_EQ(skel::Json::getInt(record, "width", 0), w);
    ASSERT_EQ(skel::Json::getInt(record, "height", 0), h);
    ASSERT_TRUE(x >= 0 && y >= 0 && x + w <= sheet.width && y + h <= sheet.height) << k;
    int different = 0;
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col)
        different += std::memcmp(sheet.At(x + col, y + row), frames[k].At(col, row), 4) != 0;
    EXPECT_EQ(different, 0) << "frame " << k << " is not at " << x << "," << y;
    // wave's events: at 0.6 s (int 1) and at 1.1 s (int 2).
    skel::Json* events = skel::Json::getItem(record, "events");
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->getSize(), k == 6 || k == 11 ? 1 : 0) << k;
    if (events->getSize() == 1) {
      EXPECT_STREQ(skel::Json::getString(events->getChild(), "name", ""), "wave");
      EXPECT_EQ(skel::Json::getInt(events->getChild(), "int", 0), k == 6 ? 1 : 2);
      EXPECT_STREQ(skel::Json::getString(events->getChild(), "string", ""), "hello");
    }
  }

  const struct {
    const char* file;
    tarn_test::Animation (*read)(const std::string&);
    bool exact;  // a GIF keeps one bit of alpha and 256 colours a frame
  } animations[] = {{"wave.webp", tarn_test::ReadWebp, true},
                    {"wave.apng", tarn_test::ReadApng, true},
                    {"wave.gif", tarn_test::ReadGif, false}};
  for (const auto& a : animations) {
    const tarn_test::Animation animated = a.read(dir.File(a.file));
    EXPECT_EQ(animated.why, "") << a.file;
    ASSERT_EQ(animated.frames.size(), 20u) << a.file;
    ASSERT_EQ(animated.width, w);
    ASSERT_EQ(animated.height, h);
    for (int f = 0; f < 20; ++f) {
      EXPECT_NEAR(animated.seconds[f], 0.1, 1e-9) << a.file;
      int different = 0, far = 0;
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const unsigned char* p = &animated.frames[f][(static_cast<size_t>(y) * w + x) * 4];
          const unsigned char* q = frames[f].At(x, y);
          if (a.exact) {
            different += std::memcmp(p, q, 4) != 0;
          } else {
            different += (p[3] == 255) != (q[3] >= 128);
            if (p[3] == 255) far += !Near(p[0], q[0], 24) || !Near(p[1], q[1], 24) || !Near(p[2], q[2], 24);
          }
        }
      }
      EXPECT_EQ(different, 0) << a.file << " frame " << f;
      EXPECT_LT(far, w * h / 50) << a.file << " frame " << f << ": the palette is far off";
    }
  }
}

// --all with --skins all: one output and one data file per animation and
// skin, named after both.
TEST(SkelviewExports, AllAnimationsInAllSkinsComeOutUnderTheirNames) {
  TempDir dir;
  const std::string command = kNoDisplay + SKELVIEW_BINARY + " " + kAtlas + " " + kJson +
                              " --render --all --skins all --fps 4 --scale 0.05 --out " + dir.File("%s.apng") +
                              " --data " + dir.File("%s.json") + " > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* animation : {"idle", "wave"}) {
    for (const char* skin : {"default", "0_1"}) {
      const std::string name = std::string(animation) + "-" + skin;
      const tarn_test::Animation picture = tarn_test::ReadApng(dir.File(name + ".apng"));
      EXPECT_EQ(picture.why, "") << name;
      JsonFile data(dir.File(name + ".json"));
      EXPECT_STREQ(skel::Json::getString(&data.root, "animation", ""), animation);
      EXPECT_STREQ(skel::Json::getString(&data.root, "skin", ""), skin);
      ASSERT_NE(data["frames"], nullptr) << name;
      EXPECT_EQ(static_cast<size_t>(data["frames"]->getSize()), picture.frames.size()) << name;
      EXPECT_EQ(picture.width, skel::Json::getInt(&data.root, "width", 0)) << name;
    }
  }
}

// Two animations whose names come out alike in a file name: the run stops
// before it draws, and nothing is overwritten.
TEST(SkelviewExports, OutputsThatCannotAllBeWrittenStopTheRunBeforeAny) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  std::string json = ReadText(art.json);
  for (const auto& rename : {std::pair<std::string, std::string>{"\"rest\"", "\"a/b\""}, {"\"shifted\"", "\"a_b\""}}) {
    const size_t at = json.find(rename.first);
    ASSERT_NE(at, std::string::npos);
    json.replace(at, rename.first.size(), rename.second);
  }
  dir.Write("swatches.json", json);
  const std::string err = dir.File("stderr");
  const int status = std::system((kNoDisplay + SKELVIEW_BINARY + " " + art.atlas + " " + art.json +
                                  " --render --all --fps 1 --out " + dir.File("%s.png") + " > /dev/null 2> " + err)
                                     .c_str());
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_NE(ReadText(err).find("skelview: two outputs would be written to " + dir.File("a_b.png")), std::string::npos)
      << ReadText(err);
  struct stat info;
  EXPECT_NE(stat(dir.File("a_b.png").c_str(), &info), 0) << "nothing drawn";

  // An animation that grows four times past the frame's limit, after one
  // that fits: the run stops before writing the one that fits.
  const size_t shifted = json.find("\"a_b\": {");
  ASSERT_NE(shifted, std::string::npos);
  json.insert(shifted, "\"grow\": {\"bones\": {\"root\": {\"scale\": [{\"time\": 0, \"x\": 4, \"y\": 4}]}}}, ");
  json.replace(json.find("\"a/b\""), 5, "\"rest\"");
  dir.Write("swatches.json", json);
  const int grown =
      std::system((kNoDisplay + SKELVIEW_BINARY + " " + art.atlas + " " + art.json +
                   " --render --all --fps 1 --scale 30 --out " + dir.File("%s.png") + " > /dev/null 2> " + err)
                      .c_str());
  EXPECT_EQ(WEXITSTATUS(grown), 2);
  EXPECT_NE(
      ReadText(err).find("skelview: grow: the frames at scale 30 need 14400 x 4800 pixels, more than 4096 a side"),
      std::string::npos)
      << ReadText(err);
  EXPECT_NE(stat(dir.File("rest.png").c_str(), &info), 0) << "rest was written before the run stopped";
}

// A skeleton drawn at --scale with no --size: the canvas is its bounds in
// whole pixels, nothing round them.
TEST(SkelviewExports, WithoutASizeTheCanvasIsTheBoundsAtTheScale) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  const std::string out = dir.File("tight.png");
  const std::string command = kNoDisplay + SKELVIEW_BINARY + " " + art.atlas + " " + art.json +
                              " --render --fps 1 --scale 2 --out " + out + " > /dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  Picture sheet;
  ASSERT_TRUE(sheet.Load(out));
  // The squares span -80..40 across and -20..20 up, and meet every edge.
  EXPECT_EQ(sheet.width, 240);
  EXPECT_EQ(sheet.height, 80);
  for (const auto& edge : {std::pair<int, int>{0, 40}, {130, 0}, {239, 79}}) {
    EXPECT_GT(sheet.At(edge.first, edge.second)[3], 0) << edge.first << "," << edge.second;
  }
  EXPECT_EQ(sheet.At(100, 40)[3], 0) << "the gap between the half-clear and the white square";
}

// With no EGL to be had (no vendor library for it), the render mode says so
// where there is no display, and draws in a hidden window where there is
// one: the same pixels.
TEST(SkelviewExports, WithoutEglTheRenderModeSaysSoOrDrawsTheSameInAHiddenWindow) {
  TempDir dir;
  const Swatches art = WriteSwatches(dir);
  const std::string args = " " + art.atlas + " " + art.json + " --render --fps 1 --size 200x100 --out ";
  const std::string noEgl = "env __EGL_VENDOR_LIBRARY_FILENAMES=" + dir.File("none.json") + " ";
  ASSERT_EQ(std::system((kNoDisplay + SKELVIEW_BINARY + args + dir.File("egl.png") + " > /dev/null 2>&1").c_str()), 0);
  const std::string err = dir.File("stderr");
  int status = std::system((kNoDisplay + noEgl + SKELVIEW_BINARY + args + dir.File("x.png") + " 2> " + err).c_str());
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_NE(ReadText(err).find("skelview: no off-screen OpenGL context: EGL has no surfaceless platform"),
            std::string::npos)
      << ReadText(err);
  status = std::system((noEgl + SKELVIEW_BINARY + args + dir.File("window.png") + " > /dev/null 2> " + err).c_str());
  EXPECT_EQ(WEXITSTATUS(status), 0) << ReadText(err);
  EXPECT_NE(ReadText(err).find("a hidden window draws"), std::string::npos) << ReadText(err);
  Picture egl, window;
  ASSERT_TRUE(egl.Load(dir.File("egl.png")));
  ASSERT_TRUE(window.Load(dir.File("window.png")));
  EXPECT_EQ(egl.rgba, window.rgba);
}

// Start-up mistakes: each gives skelcheck's message and exit code. The cases
// marked alike run skelcheck's skeleton verb on the same files too: skelview
// must say what it says, word for word but for the program's name.
TEST(SkelviewStart, ReportsBadInputWithMessagesAndExitCodes) {
  TempDir dir;
  const std::string broken = dir.Write("broken.json", "{\"skeleton\": {\"version\": ");
  const std::string atlasDir = dir.File("folder");
  mkdir(atlasDir.c_str(), 0755);
  // Char01 with one region misspelt in its atlas.
  std::string misspelt = ReadText(kAtlas);
  const size_t region = misspelt.find("hair-back\n");
  ASSERT_NE(region, std::string::npos);
  misspelt.replace(region, 9, "hair-bakc");
  const std::string badAtlas = dir.Write("Char01.atlas", misspelt);
  dir.Write("Char01.png", ReadText(kPage));
  // Char01 whose page image is no picture at all.
  const std::string corrupt = dir.File("corrupt");
  mkdir(corrupt.c_str(), 0755);
  const std::string corruptAtlas = dir.Write("corrupt/Char01.atlas", ReadText(kAtlas));
  dir.Write("corrupt/Char01.png", "not a picture");
  struct Case {
    std::string args;
    int code;
    std::string stderrText;  // what stderr holds (a part of it)
    bool alike = false;      // skelcheck skeleton ARGS prints the same
  } cases[] = {
      {"", 2, "usage: skelview ATLAS JSON"},
      {"--help", 0, ""},
      // In the window a missing file starts a new skeleton; there is nothing to render.
      {kAtlas + " " + dir.File("missing.json") + " --render wave --fps 10 --out x.png", 2,
       "skelview: cannot read " + dir.File("missing.json") + ": No such file"},
      {atlasDir + " " + kJson, 2, "skelview: cannot read " + atlasDir + ": Is a directory\n", true},
      {kAtlas + " " + broken, 1, broken + ":1:26: unexpected end of file, expected a value\n", true},
      {badAtlas + " " + kJson, 1,
       kJson + ":76:11: skins/default/attachments/hair-back/hair-back: region \"hair-back\" is not in the "
               "atlas (did you mean \"hair-bakc\"?)\n",
       true},
      {kJson + " " + kAtlas, 2, "skelview: the arguments are the wrong way round: " + kJson, true},
      {corruptAtlas + " " + kJson + " --render wave --fps 10 --out " + dir.File("x.png"), 1,
       corruptAtlas + ":2: page \"Char01.png\": its image " + dir.File("corrupt/Char01.png") +
           " cannot be decoded as a PNG: "},
      {kAtlas + " " + kJson + " --animation nope", 1, "skelview: no animation named nope"},
      {kAtlas + " " + kJson + " --render nope --fps 10 --out x.png", 1, "skelview: no animation named nope"},
      {kAtlas + " " + kJson + " --skin nope", 1, "skelview: no skin named nope"},
      {kAtlas + " " + kJson + " --render wave --out x.png", 2, "--render needs --fps and --out"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --out x.bmp", 2,
       "--out x.bmp: the name ends in .png, .webp, .apng or .gif"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --out png", 2, "--out png: the name ends in"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --out x_%d.gif", 2, "a frame number goes only in a .png"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --out x_%x.png", 2, "% starts only %s"},
      {kAtlas + " " + kJson + " --render --all --fps 10 --out x.png", 2, "--all and --skins all need %s"},
      {kAtlas + " " + kJson + " --render --skins all --fps 10 --out %s.png --data d.json", 2,
       "--data d.json: --all and --skins all need %s"},
      {kAtlas + " " + kJson + " --render wave --all --fps 10 --out %s.png", 2, "--all renders every animation"},
      {kAtlas + " " + kJson + " --render --skins 0_1 --fps 10 --out x.png", 2, "--skins takes only all"},
      {kAtlas + " " + kJson + " --render --skins all --skin 0_1 --fps 10 --out %s.png", 2, "--skins all renders"},
      {kAtlas + " " + kJson + " --render --columns 0 --fps 10 --out x.png", 2, "--columns wants a count"},
      {kAtlas + " " + kJson + " --render --padding -1 --fps 10 --out x.png", 2, "--padding wants pixels"},
      {kAtlas + " " + kJson + " --render --scale 0 --fps 10 --out x.png", 2, "--scale wants a number"},
      {kAtlas + " " + kJson + " --columns 4", 2, "go with --render"},
      {kAtlas + " " + kJson + " --all", 2, "go with --render"},
      {kAtlas + " " + kJson + " --render wave --animation idle --fps 10 --out x.png", 2,
       "--render wave and --animation idle name different animations"},
      {kAtlas + " " + kJson + " --render --animation nope --fps 10 --out x.png", 1,
       "skelview: no animation named nope"},
      {kAtlas + " " + kJson + " --background 12345", 2, "--background wants RRGGBB or RRGGBBAA"},
      {kAtlas + " " + kJson + " --background 12345G", 2, "--background wants RRGGBB or RRGGBBAA"},
      {kAtlas + " " + kJson + " --render wave --fps 0 --out x.png", 2, "--fps"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --size 10 --out x.png", 2, "--size"},
      {kAtlas + " " + kJson + " --fps 10", 2, "go with --render"},
      {kAtlas + " " + kJson + " --size 10x10", 2, "go with --render"},
      {kAtlas + " " + kJson + " --skin", 2, "--skin needs a value"},
      {kAtlas + " " + kJson + " --bogus", 2, "unknown option --bogus"},
      {kAtlas + " " + kJson + " third", 2, "too many files"},
      // The render mode needs no display (these cases run without one).
      {kAtlas + " " + kJson + " --render wave --fps 10 --scale 0.05 --out " + dir.File("x.png"), 0, ""},
      {kAtlas + " " + kJson + " --render --fps 10 --size 32x32 --background 102030 --out " + dir.File("X.GIF"), 0, ""},
      {kAtlas + " " + kJson + " --render --fps 10 --size 32x32 --background '#102030' --out " +
           dir.File("new/folder/x.webp"),
       0, ""},
      {kAtlas + " " + kJson + " --render --fps 10 --size 32x32 --out " + dir.File("broken.json/x.webp"), 2,
       "skelview: cannot write " + dir.File("broken.json/x.webp") + ": " + dir.File("broken.json") +
           ": Not a directory"},
      // A sheet beyond the largest texture, said before a frame is drawn.
      {kAtlas + " " + kJson + " --render wave --fps 10 --size 4096x4096 --out " + dir.File("big.png"), 2,
       "skelview: wave: a sheet of 20 frames of 4096 x 4096 is 32768 x 12288 pixels, more than 16384 a side"},
      // A GIF frame is never shorter than 2 hundredths, and says so.
      {kAtlas + " " + kJson + " --render wave --fps 60 --frames 2 --size 32x32 --out " + dir.File("fast.gif"), 0,
       "at 60 fps each frame shows 0.02 s"},
      {kAtlas + " " + kJson + " --onion-count 0", 2, "--onion-count wants a count from 1 to 10"},
      {kAtlas + " " + kJson + " --onion-spacing -1", 2, "--onion-spacing wants seconds above 0"},
      {kAtlas + " " + kJson + " --render --fps 10 --out x.png --onion-count 3", 2, "go with the viewer"},
  };
  const std::string err = dir.File("stderr"), out = dir.File("stdout");
  auto run = [&](const std::string& program, const std::string& args) {
    const std::string command = "env -u DISPLAY " + program + " " + args + " > " + out + " 2> " + err;
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(SKELVIEW_BINARY, c.args), c.code) << c.args;
    const std::string text = ReadText(err);
    EXPECT_NE(text.find(c.stderrText), std::string::npos) << c.args << "\nstderr: " << text;
    if (c.args == "--help") {
      EXPECT_NE(ReadText(out).find("usage: skelview"), std::string::npos);
    }
    if (c.code == 2 && !c.alike && text.find("skelview: cannot ") == std::string::npos &&
        text.find("a side") == std::string::npos) {
      EXPECT_NE(text.find("usage: skelview"), std::string::npos) << c.args << ": a usage mistake shows the usage";
    }
    if (c.alike) {
      EXPECT_EQ(run(std::string(SKELCHECK_BINARY) + " skeleton", c.args), c.code) << "skelcheck " << c.args;
      std::string said = ReadText(err);
      if (said.rfind("skelcheck: ", 0) == 0) said.replace(0, 9, "skelview");
      EXPECT_EQ(text, said) << c.args;
    }
  }
  // Content that loads with warnings: skelview prints skelcheck's warnings,
  // all of them, before it goes on (here to find no display).
  const Swatches art = WriteSwatches(dir);
  ASSERT_EQ(run(std::string(SKELCHECK_BINARY) + " skeleton", art.atlas + " " + art.json), 0);
  const std::string warnings = ReadText(err);
  EXPECT_NE(warnings.find("warning: no bone named \"Face\""), std::string::npos) << warnings;
  EXPECT_EQ(run(SKELVIEW_BINARY, art.atlas + " " + art.json), 3);
  EXPECT_EQ(ReadText(err).rfind(warnings, 0), 0u) << ReadText(err);
  EXPECT_NE(ReadText(err).find("skelview: no display: DISPLAY is not set"), std::string::npos) << ReadText(err);
}

}  // namespace
