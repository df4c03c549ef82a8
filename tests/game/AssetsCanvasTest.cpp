// The generator's rasteriser: shapes cover the right pixels with soft edges,
// and compositing and output keep colours exact.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cmath>

#include "Canvas.h"
#include "TempDir.h"

namespace {

using namespace assetgen;

const double kPi = 3.14159265358979323846;

double CoveredArea(const Canvas& c) {
  double sum = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) sum += c.Pixel(x, y).a;
  return sum;
}

TEST(AssetsCanvasShapes, CircleCoversItsAreaWithSoftEdges) {
  Canvas c(64, 64);
  c.Fill(Circle(32.3, 32, 20), Rgb(0xff0000));
  EXPECT_NEAR(CoveredArea(c), kPi * 20 * 20, kPi * 20 * 20 * 0.01);
  EXPECT_DOUBLE_EQ(c.Pixel(32, 32).a, 1.0);
  EXPECT_DOUBLE_EQ(c.Pixel(32, 32).r, 1.0);
  EXPECT_DOUBLE_EQ(c.Pixel(2, 2).a, 0.0);
  // Somewhere on the rim a pixel is only partly covered.
  bool partial = false;
  for (int x = 0; x < 64; ++x) partial |= c.Pixel(x, 32).a > 0.05 && c.Pixel(x, 32).a < 0.95;
  EXPECT_TRUE(partial);
}

TEST(AssetsCanvasShapes, ConcavePolygonLeavesItsNotchEmpty) {
  Canvas c(40, 40);
  // An L: the square 0..30 minus the square 15..30 at the top right.
  c.Fill(Polygon({{5, 5}, {20, 5}, {20, 20}, {35, 20}, {35, 35}, {5, 35}}), Rgb(0x00ff00));
  EXPECT_NEAR(CoveredArea(c), 30 * 30 - 15 * 15, 2.0);
  EXPECT_DOUBLE_EQ(c.Pixel(27, 12).a, 0.0);
  EXPECT_DOUBLE_EQ(c.Pixel(12, 12).a, 1.0);
  EXPECT_DOUBLE_EQ(c.Pixel(27, 27).a, 1.0);
}

TEST(AssetsCanvasShapes, BooleanCombinationsAndOffsets) {
  Canvas ring(64, 64);
  ring.Fill(Subtract(Circle(32, 32, 24), Circle(32, 32, 12)), Rgb(0xffffff));
  EXPECT_NEAR(CoveredArea(ring), kPi * (24 * 24 - 12 * 12), 20.0);
  EXPECT_DOUBLE_EQ(ring.Pixel(32, 32).a, 0.0);

  Canvas lens(64, 64);
  lens.Fill(Intersect(RoundRect(0, 0, 32, 64, 0), Circle(32, 32, 20)), Rgb(0xffffff));
  EXPECT_NEAR(CoveredArea(lens), kPi * 20 * 20 / 2, 12.0);

  Canvas moved(64, 64);
  moved.Fill(Grow(Translate(Circle(10, 10, 5), 20, 20), 3), Rgb(0xffffff));
  EXPECT_NEAR(CoveredArea(moved), kPi * 8 * 8, 4.0);
  EXPECT_DOUBLE_EQ(moved.Pixel(30, 30).a, 1.0);
}

TEST(AssetsCanvasShapes, CurvedPathsEndWhereAsked) {
  Path p({0, 0});
  p.Quad({10, 20}, {20, 0}).Cubic({25, 5}, {30, 5}, {40, 0});
  EXPECT_DOUBLE_EQ(p.points().back().x, 40);
  EXPECT_DOUBLE_EQ(p.points().back().y, 0);
  // The quadratic's middle point is halfway to its control point.
  EXPECT_NEAR(p.points()[8].y, 10, 1e-9);
}

TEST(AssetsCanvasCompositing, OverAndAddMixAsExpected) {
  Canvas c(4, 4);
  c.Fill(RoundRect(-2, -2, 6, 6, 0), Rgb(0x0000ff));
  c.Fill(RoundRect(-2, -2, 6, 6, 0), Rgb(0xff0000, 0.5));
  Color mixed = c.Pixel(1, 1);
  EXPECT_NEAR(mixed.r, 0.5, 1e-12);
  EXPECT_NEAR(mixed.b, 0.5, 1e-12);
  EXPECT_NEAR(mixed.a, 1.0, 1e-12);

  c.Fill(RoundRect(-2, -2, 6, 6, 0), Rgb(0xffffff), Blend::Add);
  std::vector<unsigned char> px = c.ToRgba8();
  EXPECT_EQ(px[0], 255);  // an overbright sum saturates instead of wrapping
  EXPECT_EQ(px[3], 255);
}

TEST(AssetsCanvasOutput, StraightAlphaBytesSurviveAPngRoundTrip) {
  Canvas c(8, 8);
  c.Fill(RoundRect(-1, -1, 4, 9, 0), Rgb(0xffffff, 0.5));
  std::vector<unsigned char> rgba = c.ToRgba8();
  EXPECT_EQ(rgba[0], 255);  // un-premultiplied: still white
  EXPECT_EQ(rgba[3], 128);
  EXPECT_EQ(rgba[7 * 4 + 3], 0);
  EXPECT_EQ(rgba[7 * 4], 0);

  tarn_test::TempDir dir;
  ASSERT_TRUE(WritePng(dir.File("t.png"), c));
  std::vector<unsigned char> decoded;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(decoded, w, h, dir.File("t.png")), 0u);
  EXPECT_EQ(w, 8u);
  EXPECT_EQ(h, 8u);
  EXPECT_EQ(decoded, rgba);
}

TEST(AssetsCanvasRandomness, NoiseAndRandomAreRepeatableAndInRange) {
  for (int i = 0; i < 200; ++i) {
    double x = i * 0.37 - 20, y = i * 0.11 - 5;
    double n = Fractal(x, y, 7, 4);
    EXPECT_GE(n, 0.0);
    EXPECT_LE(n, 1.0);
    EXPECT_EQ(n, Fractal(x, y, 7, 4));
  }
  Random a(3), b(3), other(4);
  bool differs = false;
  for (int i = 0; i < 16; ++i) {
    uint32_t va = a.Next();
    EXPECT_EQ(va, b.Next());
    differs |= va != other.Next();
  }
  EXPECT_TRUE(differs);
  Random u(5);
  for (int i = 0; i < 100; ++i) {
    double v = u.Uniform(2, 3);
    EXPECT_GE(v, 2.0);
    EXPECT_LT(v, 3.0);
  }
}

}  // namespace
