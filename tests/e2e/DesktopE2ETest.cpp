// The real tarn program as a window manager sees it: openbox on a virtual
// display of its own. The window refuses to shrink below the design size,
// tells its class and icon, runs at no more than 60 frames a second, and
// stands still while minimised.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "ProgramHarness.h"
#include "TempDir.h"
#include "VirtualDesktop.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;
using tarn_test::VirtualDesktop;

bool IsFill(Screenshot::Rgb p) { return p.r == 120 && p.g == 120 && p.b == 150; }
// The main screen's top bar, with the top-right button at the window's own corner.
bool ShowsMainScreenAt(const Screenshot& s, int width, int height) {
  return s.width == unsigned(width) && s.height == unsigned(height) && IsFill(s.At(5, 15)) &&
         IsFill(s.At(width - 64 + 2, 3));
}

long FramesIn(const std::string& countFile) {
  std::ifstream in(countFile);
  long frames = 0;
  in >> frames;
  return frames;
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.Ready()) << desktop.Why();
    ASSERT_NE(program.display(), nullptr);
    // Frames counted from outside, as the long session counts them.
    const char* preload = std::getenv("LD_PRELOAD");
    program.SetEnvironment("LD_PRELOAD", std::string(TARN_FRAME_COUNTER) + (preload ? std::string(":") + preload : ""));
    program.SetEnvironment("TARN_FRAME_COUNT_FILE", countFile);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(30)) << "no window";
    ASSERT_TRUE(tarn_test::WaitForWmState(program.display(), program.window(), 1, 20)) << "openbox did not map it";
    ASSERT_TRUE(Shown(1280, 720)) << "no main screen at 1280 x 720";
  }
  void TearDown() override {
    if (program.pid() > 0) {
      program.SendDeleteWindow();
      EXPECT_EQ(program.WaitForExit(30), 0);
    }
  }

  // The window's size as the X server has it.
  bool SizeIs(int width, int height) {
    int w = 0, h = 0;
    return tarn_test::WindowSize(program.display(), program.window(), w, h) && w == width && h == height;
  }
  // The game has drawn its main screen for a window of this size.
  bool Shown(int width, int height) {
    return ShowsMainScreenAt(
        program.ShootWhen([&](const Screenshot& s) { return ShowsMainScreenAt(s, width, height); }, 20), width, height);
  }
  // A request to resize, as a user's drag or a tiling layout makes it.
  void RequestSize(int width, int height) {
    ASSERT_TRUE(program.Xdotool(
        {"windowsize", std::to_string(program.window()), std::to_string(width), std::to_string(height)}));
    ProgramHarness::Pause(500);
  }
  long Frames() const { return FramesIn(countFile); }

  VirtualDesktop desktop;  // before the harness, whose connection is to it
  tarn_test::TempDir dir;
  std::string countFile = dir.File("frames");
  ProgramHarness program;
};

TEST_F(Desktop, WindowAsksForTheDesignSizeAsItsMinimum) {
  int minWidth = 0, minHeight = 0;
  bool hasMax = true;
  ASSERT_TRUE(tarn_test::SizeLimits(program.display(), program.window(), minWidth, minHeight, hasMax));
  EXPECT_EQ(minWidth, 1280);
  EXPECT_EQ(minHeight, 720);
  EXPECT_FALSE(hasMax) << "no largest size";
}

TEST_F(Desktop, RequestsToShrinkAreRefusedAndGrowingKeepsTheLayout) {
  for (const auto& size : {std::pair{800, 600}, std::pair{1043, 720}, std::pair{1280, 450}, std::pair{1279, 719}}) {
    SCOPED_TRACE(std::to_string(size.first) + " x " + std::to_string(size.second));
    RequestSize(size.first, size.second);
    EXPECT_TRUE(SizeIs(1280, 720));
    EXPECT_TRUE(Shown(1280, 720));
  }
  // Wider only: the width grows, the height stays at its least.
  RequestSize(1600, 600);
  EXPECT_TRUE(SizeIs(1600, 720));
  EXPECT_TRUE(Shown(1600, 720));
  RequestSize(1920, 1080);
  EXPECT_TRUE(SizeIs(1920, 1080));
  EXPECT_TRUE(Shown(1920, 1080));
  // And back down to the least size, not below.
  RequestSize(640, 480);
  EXPECT_TRUE(SizeIs(1280, 720));
  EXPECT_TRUE(Shown(1280, 720));
}

// F11 and Alt+Enter: the whole screen, laid out for it, and back to the
// window where it was and as large as it was.
TEST_F(Desktop, F11AndAltEnterToggleFullscreenAndBackToTheWindowAsItWas) {
  const std::string id = std::to_string(program.window());
  ASSERT_TRUE(program.Xdotool({"windowmove", "--sync", id, "300", "200"}));
  RequestSize(1400, 800);
  ASSERT_TRUE(SizeIs(1400, 800));
  int x = 0, y = 0;
  ASSERT_TRUE(tarn_test::WindowPosition(program.display(), program.window(), x, y));
  for (const char* keys : {"F11", "alt+Return"}) {
    SCOPED_TRACE(keys);
    ASSERT_TRUE(program.Xdotool({"windowactivate", "--sync", id}));
    ASSERT_TRUE(program.Xdotool({"key", keys}));
    EXPECT_TRUE(Shown(2560, 1440)) << "fullscreen, laid out for the whole screen";
    int fx = -1, fy = -1;
    EXPECT_TRUE(tarn_test::WindowPosition(program.display(), program.window(), fx, fy) && fx == 0 && fy == 0)
        << fx << ", " << fy;
    ASSERT_TRUE(program.Xdotool({"key", keys}));
    EXPECT_TRUE(Shown(1400, 800)) << "the window's own size again";
    int wx = -1, wy = -1;
    EXPECT_TRUE(tarn_test::WindowPosition(program.display(), program.window(), wx, wy) && wx == x && wy == y)
        << wx << ", " << wy << " instead of " << x << ", " << y;
  }
}

TEST_F(Desktop, WindowClassIsTarnAndTheTitleStaysOpenGL) {
  std::string instance, windowClass;
  ASSERT_TRUE(tarn_test::ClassHint(program.display(), program.window(), instance, windowClass));
  EXPECT_EQ(instance, "tarn");
  EXPECT_EQ(windowClass, "tarn");
  EXPECT_EQ(tarn_test::Title(program.display(), program.window()), "OpenGL");
  // The desktop entry names the same class, so a dock matches the two.
  std::ifstream entry(std::string(TARN_SOURCE_DIR) + "/dist/org.tarngame.tarn.desktop");
  bool named = false;
  for (std::string line; std::getline(entry, line);) named = named || line == "StartupWMClass=tarn";
  EXPECT_TRUE(named) << "the desktop entry has no StartupWMClass=tarn";
}

TEST_F(Desktop, WindowIconIsTheCommittedIconInEachSize) {
  const std::vector<uint32_t> values = tarn_test::IconProperty(program.display(), program.window());
  ASSERT_FALSE(values.empty()) << "no _NET_WM_ICON";
  size_t at = 0;
  for (unsigned side : {48u, 128u, 256u}) {
    SCOPED_TRACE(side);
    ASSERT_LE(at + 2, values.size());
    EXPECT_EQ(values[at], side);
    EXPECT_EQ(values[at + 1], side);
    at += 2;
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    ASSERT_EQ(lodepng::decode(rgba, w, h,
                              std::string(TARN_SOURCE_DIR) + "/assets/icons/tarn-" + std::to_string(side) + ".png"),
              0u);
    ASSERT_LE(at + size_t(w) * h, values.size());
    int off = 0;
    for (size_t i = 0; i < size_t(w) * h; ++i) {
      const unsigned char* p = &rgba[i * 4];
      const uint32_t argb = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
      off += values[at + i] != argb;
    }
    EXPECT_EQ(off, 0) << "pixels that differ from the file's";
    at += size_t(w) * h;
  }
  EXPECT_EQ(at, values.size()) << "three icons and nothing else";
}

TEST_F(Desktop, FramesRunAtNoMoreThanSixtyASecond) {
  // The tournament screen: its frames cost so little that, unpaced, the
  // virtual display would show them by the hundred a second.
  ASSERT_TRUE(program.Click(500, 16));
  ASSERT_TRUE(program.Xdotool({"mousemove", "2000", "1200"}));
  const Screenshot tournament = program.ShootWhen([](const Screenshot& s) { return !IsFill(s.At(5, 15)); }, 20);
  ASSERT_FALSE(IsFill(tournament.At(5, 15))) << "no tournament screen (the main screen's bar is still there)";
  ProgramHarness::Pause(500);
  const long before = Frames();
  const auto start = std::chrono::steady_clock::now();
  ProgramHarness::Pause(3000);
  const long frames = Frames() - before;
  const double seconds = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("[ pacing  ] %ld frames in %.2f s: %.1f a second\n", frames, seconds, frames / seconds);
  // An upper bound only: a loaded machine may draw fewer, never more. The
  // two frames beyond cover the frame counter's file being read mid-frame.
  EXPECT_LE(frames, static_cast<long>(seconds * 60) + 2);
  EXPECT_GT(frames, 0);
}

TEST_F(Desktop, MinimisedWindowStandsStillAndGoesOnWhenRestored) {
  Display* display = program.display();
  const Window window = program.window();
  ASSERT_TRUE(program.Xdotool({"windowminimize", std::to_string(window)}));
  ASSERT_TRUE(tarn_test::WaitForWmState(display, window, 3, 20)) << "openbox did not iconify the window";
  // The frame that was running when the window went may still end.
  ProgramHarness::Pause(300);
  const long frames = Frames();
  const double cpu = tarn_test::ProcessCpuSeconds(program.pid());
  ProgramHarness::Pause(2000);
  const long still = Frames() - frames;
  const double used = tarn_test::ProcessCpuSeconds(program.pid()) - cpu;
  std::printf("[ iconic  ] %ld frames and %.2f s of CPU in 2 s minimised\n", still, used);
  EXPECT_EQ(still, 0) << "no frame is drawn while minimised";

  // Restored (activated from a task bar): it draws again and answers clicks.
  ASSERT_TRUE(program.Xdotool({"windowactivate", std::to_string(window)}));
  ASSERT_TRUE(tarn_test::WaitForWmState(display, window, 1, 20)) << "openbox did not restore the window";
  const long restored = Frames();
  ProgramHarness::Pause(500);
  EXPECT_GT(Frames(), restored) << "frames again";
  ASSERT_TRUE(Shown(1280, 720));
  const Screenshot before = program.Shoot();
  ASSERT_TRUE(program.Click(60, 16));  // キャラ: the character panel slides in
  EXPECT_GT(program.ShootWhen([&](const Screenshot& s) { return s.Differences(before, 0, 32, 384, 688) > 1000; }, 10)
                .Differences(before, 0, 32, 384, 688),
            1000);
}

}  // namespace
