// Flat rectangles, outlines, framed boxes and the two painters.
#include "TestImages.h"
#include "framework/graphics/FoundationDraw.h"
#include "framework/graphics/FoundationDraw_RimRich.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/Primitives.h"

using namespace tarn_test;
using namespace TarnFramework;

namespace {

constexpr uint32_t kFill = 0xFF0000FF;   // red
constexpr uint32_t kFrame = 0xFFFF0000;  // blue

class PrimitivesTest : public GLTest {
 protected:
  // The colour of each pixel of a row, as 'f' (fill), 'F' (frame), 'm' (mid), '.' (nothing) or '?'.
  std::string Row(int x, int y, int width, const Pixel& mid = kClear) {
    std::string out;
    for (const Pixel& p : ReadRect(x, y, width, 1)) {
      if (SameRgb(p, kRed))
        out += 'f';
      else if (SameRgb(p, kBlue))
        out += 'F';
      else if (SameRgb(p, kClear))
        out += '.';
      else if (SameRgb(p, mid))
        out += 'm';
      else
        out += '?';
    }
    return out;
  }
};

TEST_F(PrimitivesTest, FillRectCoversExactlyItsRectangle) {
  FillRect({10, 20, 5, 3}, 255, 0, 0, 255);
  EXPECT_EQ(Row(8, 20, 9), "..fffff..");
  EXPECT_EQ(Row(8, 22, 9), "..fffff..");
  EXPECT_EQ(Row(8, 23, 9), ".........");
  EXPECT_EQ(Row(8, 19, 9), ".........");

  FillRect({30, 20, 5, 5}, 0xFF0000FFu);
  EXPECT_EQ(Row(30, 22, 5), "fffff");
  // Fully transparent colours draw nothing.
  FillRect({30, 20, 5, 5}, 0, 0, 255, 0);
  EXPECT_EQ(Row(30, 22, 5), "fffff");
}

TEST_F(PrimitivesTest, SpritesStillDrawTexturedAfterPrimitives) {
  TempDir dir;
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 20).c_str());
  FillRect({0, 0, 4, 4}, 0, 0, 255, 255);
  OutlineRect({0, 0, 4, 4}, 0, 0, 255, 255);
  sprite.Draw(50, 50);
  EXPECT_EQ(Row(50, 52, 20), "ffffffffff??????????");
}

TEST_F(PrimitivesTest, OutlineRectDrawsTheEdgesOnly) {
  OutlineRect({100, 100, 40, 30}, 255, 0, 0, 255);
  // The loop runs along the rectangle's edges (within a pixel, as lines go).
  auto litNear = [&](int x, int y) {
    for (const Pixel& p : ReadRect(x - 1, y - 1, 3, 3)) {
      if (SameRgb(p, kRed)) return true;
    }
    return false;
  };
  EXPECT_TRUE(litNear(120, 100));
  EXPECT_TRUE(litNear(120, 130));
  EXPECT_TRUE(litNear(100, 115));
  EXPECT_TRUE(litNear(140, 115));
  EXPECT_FALSE(litNear(120, 115));
}

TEST_F(PrimitivesTest, FramedBoxHasBandsAroundTheInterior) {
  DrawFramedBox(0, 0, 10, 10, 1, kFill, kFrame);
  EXPECT_EQ(Row(0, 0, 11), "FFFFFFFFFF.");
  EXPECT_EQ(Row(0, 1, 11), "FffffffffF.");
  EXPECT_EQ(Row(0, 8, 11), "FffffffffF.");
  EXPECT_EQ(Row(0, 9, 11), "FFFFFFFFFF.");
  EXPECT_EQ(Row(0, 10, 11), "...........");

  DrawFramedBox(100, 100, 12, 9, 3, kFill, kFrame);
  EXPECT_EQ(Row(100, 102, 12), "FFFFFFFFFFFF");
  EXPECT_EQ(Row(100, 103, 12), "FFFffffffFFF");
  EXPECT_EQ(Row(100, 105, 12), "FFFffffffFFF");
  EXPECT_EQ(Row(100, 106, 12), "FFFFFFFFFFFF");
}

TEST_F(PrimitivesTest, FramedBoxWithBandWiderThanHalfTheBoxDrawsWithoutFault) {
  DrawFramedBox(200, 200, 6, 6, 5, kFill, kFrame);
  DrawFramedBox(200, 200, 0, 0, 1, kFill, kFrame);
  DrawFramedBox(200, 200, -4, -4, 2, kFill, kFrame);
  EXPECT_EQ(Row(300, 300, 3), "...");
}

TEST_F(PrimitivesTest, FoundationDrawPaintsAOnePixelFrameInItsStyle) {
  FoundationDraw painter;
  painter.SetStyle({kFill, kFrame, 1, 2, 3});
  painter.DrawRect({50, 50, 6, 4});
  EXPECT_EQ(Row(50, 50, 6), "FFFFFF");
  EXPECT_EQ(Row(50, 51, 6), "FffffF");
  EXPECT_EQ(Row(50, 53, 6), "FFFFFF");
}

TEST_F(PrimitivesTest, RimRichDrawsFrameThenMidThenFill) {
  // The widgets' default style: channel averages 65, 90, 135, 255, truncated.
  EXPECT_EQ(FoundationDraw_RimRich().midColor, 0xFF875A41u);
  FoundationDraw_RimRich painter({kFill, kFrame, 0, 0, 0}, 2);
  const Pixel mid{127, 0, 127, 255};
  EXPECT_EQ(painter.midColor, 0xFF7F007Fu);
  painter.DrawBox(10, 10, 12, 12);
  EXPECT_EQ(Row(10, 10, 12, mid), "FFFFFFFFFFFF");
  EXPECT_EQ(Row(10, 12, 12, mid), "FFmmmmmmmmFF");
  EXPECT_EQ(Row(10, 15, 12, mid), "FFmmffffmmFF");
  EXPECT_EQ(Row(10, 20, 12, mid), "FFFFFFFFFFFF");
}

TEST_F(PrimitivesTest, DrawLineJoinsItsEndsAtAnyAngle) {
  DrawLine(10.5f, 40.5f, 30.5f, 40.5f, kFill);
  EXPECT_EQ(Row(8, 40, 25), "..ffffffffffffffffffff...");
  // A diagonal passes the pixels between its ends, not beside them.
  DrawLine(100.5f, 100.5f, 120.5f, 120.5f, kFrame, 1.0f);
  for (int i = 2; i < 18; i += 5) {
    EXPECT_TRUE(SameRgb(ReadPixel(100 + i, 100 + i), kBlue)) << i;
    EXPECT_TRUE(SameRgb(ReadPixel(100 + i, 110 + i / 4), kClear)) << i;
  }
  // Wider lines cover more rows; textured drawing still works after.
  DrawLine(10.0f, 60.0f, 30.0f, 60.0f, kFill, 4.0f);
  int rows = 0;
  for (int y = 55; y < 66; ++y) rows += SameRgb(ReadPixel(20, y), kRed);
  EXPECT_GE(rows, 3);
  EXPECT_LE(rows, 5);
}

}  // namespace
