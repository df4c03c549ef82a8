// skelview as an editor, run as a content maker runs it: a character made
// from nothing by a script, checked by skelcheck and drawn by the game's
// renderer; and the window's gestures with real X input.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"

namespace {

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
  unsigned x, y, width, height;
  unsigned char r, g, b;
};
// Three regions of one page, each one flat colour.
const Swatch kSwatches[] = {
    {"body", 0, 0, 40, 60, 220, 40, 40}, {"head", 0, 64, 30, 30, 40, 200, 40}, {"arm", 40, 0, 12, 40, 40, 60, 220}};

// A packed atlas of the swatches, written as a packer writes one.
std::string WriteKit(const TempDir& dir) {
  const unsigned width = 64, height = 128;
  std::vector<unsigned char> rgba(width * height * 4, 0), png;
  std::string atlas = "\nkit.png\nsize: 64,128\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
  for (const Swatch& s : kSwatches) {
    for (unsigned y = s.y; y < s.y + s.height; ++y)
      for (unsigned x = s.x; x < s.x + s.width; ++x) {
        unsigned char* p = &rgba[(y * width + x) * 4];
        p[0] = s.r, p[1] = s.g, p[2] = s.b, p[3] = 255;
      }
    const std::string xy = std::to_string(s.x) + ", " + std::to_string(s.y);
    const std::string size = std::to_string(s.width) + ", " + std::to_string(s.height);
    atlas += std::string(s.name) + "\n  rotate: false\n  xy: " + xy + "\n  size: " + size + "\n  orig: " + size +
             "\n  offset: 0, 0\n  index: -1\n";
  }
  lodepng::encode(png, rgba, width, height);
  dir.Write("kit.png", png);
  return dir.Write("kit.atlas", atlas);
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

TEST(SkelviewEdit, AScriptThatFailsNamesItsLineAndWritesNothing) {
  TempDir dir;
  const std::string atlas = WriteKit(dir);
  const std::string script = dir.Write("bad.txt", "add bone a parent root\nadd bone b parent nobody\n");
  const std::string json = dir.File("figure.json"), err = dir.File("err");
  const int status = std::system(
      (kNoDisplay + SKELVIEW_BINARY + " " + atlas + " " + json + " --apply " + script + " 2>" + err).c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(Slurp(err).find("line 2: no bone named \"nobody\""), std::string::npos) << Slurp(err);
  EXPECT_FALSE(std::ifstream(json).good()) << "a failed script wrote the file";
}

}  // namespace
