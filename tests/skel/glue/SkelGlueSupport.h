// Atlases, page pictures and skeleton files written on the fly for the glue tests.
#pragma once

#include <string>

#include "GLTestFixture.h"
#include "TempDir.h"
#include "framework/skel/SkelData.h"

namespace tarn_test {

// The test page: a 64 x 16 picture with an 8 x 8 white block ("white") at
// (0, 0) and a 20 x 10 block of quadrants ("quad") at (16, 0): red top-left,
// green top-right, blue bottom-left, white bottom-right.
std::string WriteTestPage(const TempDir& dir, const std::string& name);
// The atlas text of that page, under the given image name.
std::string TestPageAtlas(const std::string& imageName);

class SkelGlueTest : public GLTest {
 protected:
  // Writes the page, its atlas and the skeleton file, then loads them.
  bool LoadSkeleton(const std::string& json);
  void ExpectRgb(int x, int y, const Pixel& expected, int tolerance = 2);
  void ExpectNothing(int x, int y) { ExpectRgb(x, y, kClearPixel); }
  // True when every pixel of the window is still clear.
  bool WindowIsClear() const;

  static constexpr Pixel kClearPixel{0, 0, 0, 0};
  TempDir dir;
  TarnSkel::SkelData data;
};

}  // namespace tarn_test
