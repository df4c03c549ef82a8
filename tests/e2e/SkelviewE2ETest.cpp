// skelview used the way a content maker uses it: the real binary under the
// virtual display, played with real X input, its pictures held against the
// game's own renderer drawing the same pose.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Layout.h"
#include "ProgramHarness.h"
#include "TempDir.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"
#include "framework/skel/SkelData.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
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

  Picture Pose(const char* animation, double t, int width, int height) {
    TarnSkel::SkelAnimation sprite(data_.skeletonData);
    sprite.SetAnimation(Index(sprite, animation));
    sprite.state->update(static_cast<float>(t));
    return Draw(sprite, width, height);
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
    return Draw(sprite, width, height);
  }

 private:
  static int Index(const TarnSkel::SkelAnimation& sprite, const char* animation) {
    for (size_t i = 0; i < sprite.animationNames.size(); ++i) {
      if (std::string(sprite.animationNames[i]) == animation) return static_cast<int>(i);
    }
    ADD_FAILURE() << "no animation " << animation;
    return -1;
  }

  Picture Draw(TarnSkel::SkelAnimation& sprite, int width, int height) {
    const skel::SkeletonData& d = *data_.skeletonData;
    const skelview::Placement at = skelview::FitBounds(d.getX(), d.getY(), d.getWidth(), d.getHeight(), width, height);
    sprite.skeleton->setX(at.x);
    sprite.skeleton->setY(at.y);
    sprite.skeleton->setScaleX(at.scale);
    sprite.skeleton->setScaleY(at.scale);
    sprite.Pose(false, false);
    TarnFramework::Graphic2D target;
    target.SetRenderTarget(width, height);
    target.BeginRender();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
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
  }
  void Click(int x, int y) { ASSERT_TRUE(program.Click(x, y)); }
  // Holds the left button from one point to another, moving in steps.
  void Drag(int fromX, int fromY, int toX, int toY) {
    ASSERT_TRUE(program.MoveTo(fromX, fromY));
    ProgramHarness::Pause(100);
    ASSERT_TRUE(program.Xdotool({"mousedown", "1"}));
    ProgramHarness::Pause(150);
    for (int step = 1; step <= 4; ++step) {
      ASSERT_TRUE(program.MoveTo(fromX + (toX - fromX) * step / 4, fromY + (toY - fromY) * step / 4));
      ProgramHarness::Pause(80);
    }
    ProgramHarness::Pause(150);
    ASSERT_TRUE(program.Xdotool({"mouseup", "1"}));
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
  void CloseAndExpectExitZero() {
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(20), 0);
  }

  ProgramHarness program;
};

TEST_F(Skelview, ScrubbedToOneSecondShowsWhatTheRendererDrawsForThatPose) {
  Launch({kAtlas, kJson});
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList));  // "wave"
  Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));            // pause
  const int from = StableThumb();
  ASSERT_GE(from, 0) << "no thumb standing on the time bar";
  // The thumb's centre at half the bar's travel: 1 s of the 2 s "wave".
  const int to = kBarLeft + kThumb / 2 + (kBarWidth - kThumb) / 2;
  Drag(from, kBarY, to, kBarY);
  // Still: the events fired before the pause have gone.
  const Screenshot shot = StillShot();
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
    const Match other = Compare(shot, kView.x, kView.y, renderer.Pose(animation, t, kView.width, kView.height));
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

TEST_F(Skelview, ReloadsChangedFilesAndKeepsTheLastGoodSkeletonWhenTheyBreak) {
  TempDir dir;
  const std::string original = ReadText(kJson);
  const std::string json = dir.Write("Char01.json", original);
  const std::string atlas = dir.Write("Char01.atlas", ReadText(kAtlas));
  dir.Write("Char01.png", ReadText(kPage));
  Launch({atlas, json});
  Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));  // pause
  const Screenshot before = StillShot();
  const int big = SkeletonPixels(before);

  // Twice the bounds' height: the view fits the skeleton at half the size.
  std::string taller = original;
  const size_t at = taller.find("\"height\": 1419");
  ASSERT_NE(at, std::string::npos);
  taller.replace(at, 14, "\"height\": 2838");
  dir.Write("Char01.json", taller);
  const Screenshot reloaded =
      program.ShootWhen([&](const Screenshot& s) { return SkeletonPixels(s) < big * 7 / 10; }, 15);
  reloaded.Save(Artifact("skelview-reloaded.png"));
  EXPECT_LT(SkeletonPixels(reloaded), big * 7 / 10) << "the change was not shown";
  EXPECT_GT(SkeletonPixels(reloaded), big / 10);
  EXPECT_GT(reloaded.Count(kWindowWidth - skelview::kPanelWidth, 560, skelview::kPanelWidth, 160, IsGood), 20)
      << "no \"reloaded\" line";

  dir.Write("Char01.json", taller.substr(0, taller.size() / 2));
  const Screenshot broken =
      program.ShootWhen([](const Screenshot& s) { return s.Count(0, 0, kView.width, 30, IsErrorRed) > 50; }, 15);
  broken.Save(Artifact("skelview-broken.png"));
  EXPECT_GT(broken.Count(0, 0, kView.width, 30, IsErrorRed), 50) << "no error line";
  // Below the error line the view is what it was: the last good skeleton.
  EXPECT_EQ(broken.Differences(reloaded, 0, 40, kView.width, kView.height - 40), 0);

  // Mended, the error goes and the skeleton is back as it first was.
  dir.Write("Char01.json", original);
  const Screenshot mended =
      program.ShootWhen([](const Screenshot& s) { return s.Count(0, 0, kView.width, 30, IsErrorRed) == 0; }, 15);
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
  const Screenshot recoloured = program.ShootWhen(
      [&](const Screenshot& s) { return s.Differences(before, 0, 40, kView.width, kView.height - 40) > 20000; }, 15);
  EXPECT_GT(recoloured.Differences(before, 0, 40, kView.width, kView.height - 40), 20000)
      << "the new page was not shown";
  EXPECT_EQ(SkeletonPixels(recoloured), SkeletonPixels(before)) << "the same shape, other colours";
  CloseAndExpectExitZero();
}

TEST_F(Skelview, AResizedWindowKeepsThePanelRightAndRefitsTheSkeleton) {
  Launch({kAtlas, kJson});
  Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));  // pause
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
  Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));  // pause
  const Screenshot gone =
      program.ShootWhen([](const Screenshot& s) { return s.Count(0, 0, 400, 80, IsEventText) == 0; }, 5);
  EXPECT_EQ(gone.Count(0, 0, 400, 80, IsEventText), 0) << "the event stayed";

  // idle, then wave with a mix of 1 s: idle's 3 s and half the mix in.
  Click(CentreX(skelview::kAnimationList), SecondLineY(skelview::kAnimationList) - 22);  // "idle"
  Click(CentreX(skelview::kPlayButton), CentreY(skelview::kPlayButton));                 // pause
  Click(CentreX(skelview::kMixList), ThirdLineY(skelview::kMixList));                    // then "wave"
  const int mixLeft = PanelX(skelview::kMixBar), mixY = CentreY(skelview::kMixBar);
  const int mixFrom = StableThumb(mixLeft, skelview::kMixBar.width, mixY);
  ASSERT_GE(mixFrom, 0);
  Drag(mixFrom, mixY, ThumbAt(mixLeft, skelview::kMixBar.width, 1.0 / skelview::kMaxMixSeconds), mixY);
  const int timeFrom = StableThumb();
  ASSERT_GE(timeFrom, 0);
  Drag(timeFrom, kBarY, ThumbAt(kBarLeft, kBarWidth, 3.5 / 5.0), kBarY);
  const Screenshot mixed = StillShot();
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
    const Match alone = Compare(mixed, kView.x, kView.y, renderer.Pose(animation, t, kView.width, kView.height));
    EXPECT_GT(alone.different, match.different + 500) << animation << " at " << t;
  }
}

// The render mode: its exit code, and the sheet it writes.
int RenderTo(const std::string& out, const std::string& extra) {
  const std::string command = std::string(SKELVIEW_BINARY) + " " + kAtlas + " " + kJson + " --render wave --out " +
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
  Renderer renderer;
  ASSERT_TRUE(renderer.ready());
  for (int k : {0, 6, 10, 13, 19}) {
    const Picture pose = renderer.Pose("wave", k / 10.0, 200, 300);
    int different = 0;
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 200; ++x) {
        const unsigned char* a = pose.At(x, y);
        const unsigned char* b = sheet.At((k % 8) * 200 + x, (k / 8) * 300 + y);
        different += !Near(a[0], b[0]) || !Near(a[1], b[1]) || !Near(a[2], b[2]) || !Near(a[3], b[3]);
      }
    }
    EXPECT_EQ(different, 0) << "frame " << k;
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
  struct Case {
    std::string args;
    int code;
    std::string stderrText;  // what stderr holds (a part of it)
    bool alike = false;      // skelcheck skeleton ARGS prints the same
  } cases[] = {
      {"", 2, "usage: skelview ATLAS JSON"},
      {"--help", 0, ""},
      {kAtlas + " " + dir.File("missing.json"), 2,
       "skelview: cannot read " + dir.File("missing.json") + ": No such file", true},
      {atlasDir + " " + kJson, 2, "skelview: cannot read " + atlasDir + ": Is a directory\n", true},
      {kAtlas + " " + broken, 1, broken + ":1:26: unexpected end of file, expected a value\n", true},
      {badAtlas + " " + kJson, 1,
       kJson + ":76:11: skins/default/attachments/hair-back/hair-back: region \"hair-back\" is not in the "
               "atlas (did you mean \"hair-bakc\"?)\n",
       true},
      {kJson + " " + kAtlas, 2, "skelview: the arguments are the wrong way round: " + kJson, true},
      {kAtlas + " " + kJson + " --animation nope", 1, "skelview: no animation named nope"},
      {kAtlas + " " + kJson + " --render nope --fps 10 --out x.png", 1, "skelview: no animation named nope"},
      {kAtlas + " " + kJson + " --skin nope", 1, "skelview: no skin named nope"},
      {kAtlas + " " + kJson + " --render wave --out x.png", 2, "--render needs --fps and --out"},
      {kAtlas + " " + kJson + " --render wave --fps 0 --out x.png", 2, "--fps"},
      {kAtlas + " " + kJson + " --render wave --fps 10 --size 10 --out x.png", 2, "--size"},
      {kAtlas + " " + kJson + " --fps 10", 2, "go with --render"},
      {kAtlas + " " + kJson + " --size 10x10", 2, "go with --render"},
      {kAtlas + " " + kJson + " --skin", 2, "--skin needs a value"},
      {kAtlas + " " + kJson + " --bogus", 2, "unknown option --bogus"},
      {kAtlas + " " + kJson + " third", 2, "too many files"},
      // Without a display the render mode says what it needs.
      {kAtlas + " " + kJson + " --render wave --fps 10 --out " + dir.File("x.png"), 3, "no display"},
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
    if (c.code == 0) {
      EXPECT_NE(ReadText(out).find("usage: skelview"), std::string::npos);
    }
    if (c.code == 2 && !c.alike) {
      EXPECT_NE(text.find("usage: skelview"), std::string::npos) << c.args << ": a usage mistake shows the usage";
    }
    if (c.alike) {
      EXPECT_EQ(run(std::string(SKELCHECK_BINARY) + " skeleton", c.args), c.code) << "skelcheck " << c.args;
      std::string said = ReadText(err);
      if (said.rfind("skelcheck: ", 0) == 0) said.replace(0, 9, "skelview");
      EXPECT_EQ(text, said) << c.args;
    }
  }
}

}  // namespace
