#include "SkelGlueSupport.h"

#include "TestImages.h"

namespace tarn_test {

std::string WriteTestPage(const TempDir& dir, const std::string& name) {
  return WritePng(dir, name, 64, 16, [](unsigned x, unsigned y) {
    if (x < 8 && y < 8) return kWhite;
    if (x >= 16 && x < 36 && y < 10) {
      bool left = x < 26, top = y < 5;
      return top ? (left ? kRed : kGreen) : (left ? kBlue : kWhite);
    }
    return Pixel{0, 0, 0, 0};
  });
}

std::string TestPageAtlas(const std::string& imageName) {
  return imageName +
         "\nsize: 64,16\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
         "white\n  rotate: false\n  xy: 0, 0\n  size: 8, 8\n  orig: 8, 8\n  offset: 0, 0\n  index: -1\n"
         "quad\n  rotate: false\n  xy: 16, 0\n  size: 20, 10\n  orig: 20, 10\n  offset: 0, 0\n  index: -1\n";
}

bool SkelGlueTest::LoadSkeleton(const std::string& json) {
  WriteTestPage(dir, "page.png");
  std::string atlas = dir.Write("test.atlas", TestPageAtlas("page.png"));
  std::string skeleton = dir.Write("test.json", json);
  return data.Load(atlas.c_str(), skeleton.c_str());
}

void SkelGlueTest::ExpectRgb(int x, int y, const Pixel& expected, int tolerance) {
  Pixel got = ReadPixel(x, y);
  EXPECT_TRUE(SameRgb(got, expected, tolerance))
      << "at (" << x << ", " << y << "): " << got << ", expected " << expected;
}

bool SkelGlueTest::WindowIsClear() const {
  for (const Pixel& p : ReadRect(0, 0, 1280, 720))
    if (p.r || p.g || p.b) return false;
  return true;
}

}  // namespace tarn_test
