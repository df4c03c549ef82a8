// skelview as an editor, run as a content maker runs it: a character made
// from nothing by a script over pictures packed by skelpack, checked by
// skelcheck and drawn by the game's renderer; and the window's gestures with real X input.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Layout.h"
#include "ProgramHarness.h"
#include "TempDir.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;
using tarn_test::TempDir;

const std::string kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY ";

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int RunCommand(const std::string& command) {
  const int status = std::system((command + " > /dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Swatch {
  const char* name;
  unsigned width, height;
  unsigned char r, g, b;
};
// Three pictures, each one flat colour.
const Swatch kSwatches[] = {{"body", 40, 60, 220, 40, 40}, {"head", 30, 30, 40, 200, 40}, {"arm", 12, 40, 40, 60, 220}};

// The pictures as a content maker draws them, packed by skelpack.
std::string WriteKit(const TempDir& dir) {
  const std::string pictures = dir.File("pictures");
  mkdir(pictures.c_str(), 0755);
  for (const Swatch& s : kSwatches) {
    std::vector<unsigned char> rgba;
    for (unsigned i = 0; i < s.width * s.height; ++i) rgba.insert(rgba.end(), {s.r, s.g, s.b, 255});
    std::vector<unsigned char> png;
    lodepng::encode(png, rgba, s.width, s.height);
    dir.Write(std::string("pictures/") + s.name + ".png", png);
  }
  EXPECT_EQ(RunCommand(std::string(SKELPACK_BINARY) + " " + pictures + " " + dir.File("kit")), 0);
  return dir.File("kit.atlas");
}

const char* const kMakeFigure = R"(# A figure from nothing: three bones, three slots, two animations.
add bone hip parent root y 60 rotation 90 length 40
add bone Face parent hip x 50 length 30
add bone "left arm" parent hip x 40 y 10 rotation 180 length 40
add slot body bone hip attachment body
add slot "left arm" bone "left arm" attachment arm
add slot head bone Face attachment head
key walk bone hip rotate 0 0
key walk bone hip rotate 0.5 10
key walk bone hip rotate 1 0
key walk bone "left arm" translate 0.5 0 4
key wave bone "left arm" rotate 0 -30
key wave bone "left arm" rotate 0.5 30
key wave bone "left arm" scale 0.25 1.2 1.2
)";

TEST(SkelviewEdit, AFigureMadeByAScriptPassesTheStrictCheckAndIsDrawn) {
  TempDir dir;
  const std::string atlas = WriteKit(dir);
  const std::string script = dir.Write("figure.txt", kMakeFigure);
  const std::string json = dir.File("figure.json");
  ASSERT_EQ(RunCommand(kNoDisplay + SKELVIEW_BINARY + " " + atlas + " " + json + " --apply " + script), 0);
  // The game's own skin is not this figure's business.
  EXPECT_EQ(RunCommand(std::string(SKELCHECK_BINARY) + " skeleton --strict --allow game-no-skin " + atlas + " " + json),
            0)
      << Slurp(json);

  const std::string sheet = dir.File("walk.png");
  ASSERT_EQ(RunCommand(kNoDisplay + SKELVIEW_BINARY + " " + atlas + " " + json +
                       " --render walk --fps 4 --size 160x160 --out " + sheet),
            0);
  std::vector<unsigned char> rgba;
  unsigned width = 0, height = 0;
  ASSERT_EQ(lodepng::decode(rgba, width, height, sheet), 0u);
  // Every swatch's colour is drawn in the first frame.
  for (const Swatch& s : kSwatches) {
    int found = 0;
    for (unsigned y = 0; y < 160; ++y)
      for (unsigned x = 0; x < 160; ++x) {
        const unsigned char* p = &rgba[(y * width + x) * 4];
        found += p[3] == 255 && std::abs(p[0] - s.r) < 8 && std::abs(p[1] - s.g) < 8 && std::abs(p[2] - s.b) < 8;
      }
    EXPECT_GT(found, 100) << s.name;
  }
}

TEST(SkelviewEdit, WhatCannotBeDoneSaysWhyAndWritesNothing) {
  TempDir dir;
  const std::string atlas = WriteKit(dir);
  const std::string bad = dir.Write("bad.txt", "add bone a parent root\nadd bone b parent nobody\n");
  const std::string json = dir.File("figure.json"), err = dir.File("err");
  const struct {
    std::string args;
    int code;
    const char* says;
  } cases[] = {
      {"--apply " + bad, 1, "bad.txt: line 2: no bone named \"nobody\""},
      {"--apply " + dir.File("none.txt"), 2, "none.txt"},
      {"--save " + dir.File("out.json"), 2, "--save goes with --apply"},
      {"--apply " + bad + " --render --fps 4 --out x.png", 2, "--apply edits and saves"},
  };
  for (const auto& c : cases) {
    const int status =
        std::system((kNoDisplay + SKELVIEW_BINARY + " " + atlas + " " + json + " " + c.args + " 2>" + err).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.code) << c.args;
    EXPECT_NE(Slurp(err).find(c.says), std::string::npos) << c.args << ": " << Slurp(err);
    EXPECT_FALSE(std::ifstream(json).good()) << c.args << " wrote the file";
  }
}

// The window, driven with real X input. skelview tells each command and
// state on its standard output; the steps wait for those lines.
class SkelviewEditWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run"; }

  void Launch(const std::string& json, const std::string& title) {
    program.CaptureOutput();
    program.SetProgram(SKELVIEW_BINARY, {kAtlas, json}, title);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20)) << "skelview's window did not appear";
    ASSERT_FALSE(program.ShootWhen([](const Screenshot& s) { return !s.Empty(); }, 20).Empty());
  }
  // Waits for a line holding text, after those already waited for; the line's rest.
  std::string WaitFor(const std::string& text, double seconds = 20) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
      const std::string out = program.Output();
      const size_t at = out.find(text, seen_);
      if (at != std::string::npos) {
        const size_t end = out.find('\n', at);
        seen_ = end == std::string::npos ? out.size() : end;
        return out.substr(at + text.size(), seen_ - at - text.size());
      }
      ProgramHarness::Pause(50);
    }
    ADD_FAILURE() << "skelview never said \"" << text << "\"; it said:\n" << program.Output().substr(seen_);
    return "";
  }
  void Key(const char* keys) {
    ASSERT_TRUE(program.Xdotool({"key", "--window", std::to_string(program.window()), keys}));
  }
  void Drag(int fromX, int fromY, int toX, int toY) {
    ASSERT_TRUE(program.MoveTo(fromX, fromY));
    ProgramHarness::Pause(100);
    ASSERT_TRUE(program.Xdotool({"mousedown", "1"}));
    ProgramHarness::Pause(150);
    for (int step = 1; step <= 5; ++step) {
      ASSERT_TRUE(program.MoveTo(fromX + (toX - fromX) * step / 5, fromY + (toY - fromY) * step / 5));
      ProgramHarness::Pause(80);
    }
    ASSERT_TRUE(program.Xdotool({"mouseup", "1"}));
  }
  // The prompt's buttons, left to right, in the middle of the view.
  static int ButtonX(int index) { return (kWindowWidth - skelview::kPanelWidth) / 2 - 280 + 30 + index * 170 + 75; }
  static int ButtonY() { return (kWindowHeight - skelview::kTimeBarHeight) / 2 + 70 - 50 + 17; }

  static constexpr int kWindowWidth = 1280, kWindowHeight = 720;
  const std::string kAtlas = std::string(TARN_WORKDIR) + "/skel_data/Char01.atlas";
  const std::string kChar01 = std::string(TARN_WORKDIR) + "/skel_data/Char01.json";
  TempDir dir;
  ProgramHarness program;
  size_t seen_ = 0;
};

TEST_F(SkelviewEditWindow, SelectDragKeyUndoSaveAndAskBeforeLosingEdits) {
  const std::string original = Slurp(kChar01);
  const std::string json = dir.Write("Char01.json", original);
  Launch(json, "skelview - Char01.json");
  // Bones on, then "hip", the bone list's second line once the list shows.
  ASSERT_TRUE(program.Click(kWindowWidth - skelview::kPanelWidth + 106 + 44, 302 + 15));
  auto listShown = [](const Screenshot& s) {
    return s.Count(2, 40, 170, 300, [](Screenshot::Rgb p) { return p.r == 0x78 && p.g == 0x78 && p.b == 0x96; }) > 1000;
  };
  ASSERT_TRUE(listShown(program.ShootWhen(listShown, 20))) << "no bone list with bones on";
  ASSERT_TRUE(program.Click(60, 70));
  WaitFor("selected bone hip");
  Key("Tab");
  WaitFor("setup mode");
  // The selected joint is outlined: let it go, then click it to select it again.
  auto outlined = [](const Screenshot& shot, int& x, int& y) {
    auto magenta = [](Screenshot::Rgb p) { return p.r > 230 && p.g < 110 && p.b > 230; };
    for (y = 0; y < 650; ++y)
      for (int run = 0, col = 190; col < 980; ++col) {
        run = magenta(shot.At(col, y)) ? run + 1 : 0;
        if (run == 13) {
          x = col - 6;
          y += 6;
          return true;
        }
      }
    return false;
  };
  // In the setup pose, which stands still: the same place in two shots.
  int jointX = -1, jointY = -1;
  for (int tries = 0, lastX = -2, lastY = -2; tries < 100 && (jointX != lastX || jointY != lastY); ++tries) {
    lastX = jointX, lastY = jointY;
    ProgramHarness::Pause(100);
    if (!outlined(program.Shoot(), jointX, jointY)) jointX = jointY = -1;
  }
  ASSERT_GE(jointX, 0) << "the selected bone is not outlined";
  Key("Escape");
  WaitFor("no bone selected");
  ASSERT_TRUE(program.Click(jointX, jointY));
  WaitFor("selected bone hip");
  Drag(600, 200, 650, 275);
  const std::string rotation = WaitFor("edit: set bone hip rotation ");
  ASSERT_FALSE(rotation.empty());
  Key("ctrl+z");
  WaitFor("skelview: undo");
  Key("ctrl+shift+z");
  WaitFor("skelview: redo");

  // Animate mode: K keys the bone where it stands in "idle", now.
  Key("Tab");
  WaitFor("animate mode");
  Key("k");
  WaitFor("edit: key idle bone hip rotate ");
  WaitFor("edit: key idle bone hip scale ");
  // Its key shows over the time bar; Delete there removes it, undo brings it back.
  const Screenshot shot = program.ShootWhen(
      [](const Screenshot& s) {
        return s.Count(0, 640, 980, 20, [](Screenshot::Rgb p) { return p.r > 200 && p.g > 180 && p.b < 110; }) > 20;
      },
      10);
  int markerX = -1, markerY = -1;
  for (int y = 640; y < 660 && markerX < 0; ++y)
    for (int x = 0; x < 980 && markerX < 0; ++x) {
      const Screenshot::Rgb p = shot.At(x, y);
      if (p.r > 200 && p.g > 180 && p.b < 110) markerX = x + 4, markerY = y + 4;
    }
  ASSERT_GE(markerX, 0) << "no key marker over the time bar";
  ASSERT_TRUE(program.MoveTo(markerX, markerY));
  ProgramHarness::Pause(150);
  Key("Delete");
  WaitFor("edit: unkey idle bone hip rotate ");
  Key("ctrl+z");
  WaitFor("skelview: undo");
  // Dragged along the bar, the keys move in time.
  Drag(markerX, markerY, markerX + 120, markerY);
  WaitFor("edit: move key idle bone hip rotate ");

  Key("ctrl+s");
  WaitFor("saved ");
  const std::string saved = Slurp(json);
  EXPECT_EQ(Slurp(json + ".bak"), original);
  EXPECT_NE(saved.find(R"({"name": "hip", "parent": "root", "length": 90, "y": 700, "rotation": )" + rotation + "},"),
            std::string::npos);
  EXPECT_NE(saved.find(R"("hip": {)"), std::string::npos) << "no keys of hip in idle";

  // An unsaved edit: a change on disk is not loaded over it, and closing asks.
  Drag(600, 200, 560, 260);
  WaitFor("edit: key idle bone hip rotate ");
  std::ofstream(json, std::ios::binary | std::ios::app) << "\n";
  WaitFor("the file changed on disk while edits are unsaved");
  ASSERT_TRUE(program.Click(ButtonX(1), ButtonY()));  // keep mine
  WaitFor("kept the edits");
  program.SendDeleteWindow();
  WaitFor("asking before closing");
  ASSERT_TRUE(program.Click(ButtonX(2), ButtonY()));  // cancel
  WaitFor("close: cancelled");
  EXPECT_EQ(program.WaitForExit(0.5), ProgramHarness::kNoExit) << "cancel closed the window";
  program.SendDeleteWindow();
  WaitFor("asking before closing");
  ASSERT_TRUE(program.Click(ButtonX(1), ButtonY()));  // discard
  EXPECT_EQ(program.WaitForExit(20), 0);
  EXPECT_EQ(Slurp(json), saved + "\n") << "a discarded edit was written";
}

TEST_F(SkelviewEditWindow, ANewFileStartsWithARootBoneAndSaves) {
  const std::string json = dir.File("new.json");
  Launch(json, "skelview - new.json *");
  WaitFor("new skeleton");
  Key("ctrl+s");
  WaitFor("saved ");
  EXPECT_NE(Slurp(json).find(R"({"name": "root"})"), std::string::npos) << Slurp(json);
  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(20), 0);
}

}  // namespace
