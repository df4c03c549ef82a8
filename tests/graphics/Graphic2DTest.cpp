// Sprites: PNG loading, the draw operations, tint and transparency.
#include <GL/glew.h>
#include <lodepng.h>

#include <string>
#include <vector>

#include "TestImages.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/PictureDecoder.h"
#include "framework/graphics/Primitives.h"

using namespace tarn_test;
using TarnFramework::Graphic2D;

namespace {

constexpr double kQuarterTurn = 3.14159265358979323846 / 2;

class Graphic2DTest : public GLTest {
 protected:
  void ExpectRgb(int x, int y, const Pixel& expected) {
    EXPECT_PRED2([](const Pixel& a, const Pixel& b) { return SameRgb(a, b); }, ReadPixel(x, y), expected)
        << "at (" << x << ", " << y << ")";
  }
  void ExpectNothing(int x, int y) { ExpectRgb(x, y, kClear); }

  TempDir dir;
};

TEST_F(Graphic2DTest, DrawShowsThePictureUprightAtNaturalSize) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 10).c_str());
  ASSERT_TRUE(sprite.HasTexture());
  EXPECT_EQ(sprite.GetWidth(), 20);
  EXPECT_EQ(sprite.GetHeight(), 10);

  sprite.Draw(100, 50);
  ExpectRgb(100, 50, kRed);
  ExpectRgb(119, 50, kGreen);
  ExpectRgb(100, 59, kBlue);
  ExpectRgb(119, 59, kWhite);
  ExpectNothing(99, 50);
  ExpectNothing(120, 50);
  ExpectNothing(100, 49);
  ExpectNothing(100, 60);
}

TEST_F(Graphic2DTest, MissingOrUndecodableFilesGiveNoTextureAndDrawNothing) {
  const std::string garbage = dir.Write("garbage.png", std::string("definitely not a PNG"));
  // A real PNG cut in half: the header decodes, the pixels do not.
  std::vector<unsigned char> png;
  lodepng::encode(png, std::vector<unsigned char>(16 * 16 * 4, 255), 16, 16);
  std::vector<unsigned char> huge = png;
  png.resize(png.size() / 2);
  dir.Write("truncated.png", png);
  // A well-formed header claiming 100000 x 100000 pixels.
  huge[16] = huge[20] = 0;
  huge[17] = huge[21] = 0x01;
  huge[18] = huge[22] = 0x86;
  huge[19] = huge[23] = 0xA0;
  lodepng_chunk_generate_crc(huge.data() + 8);
  dir.Write("huge.png", huge);

  for (const std::string& path : {std::string("gfx\\no-such-picture.png"), garbage, dir.path() + "\\truncated.png",
                                  dir.path() + "\\huge.png", std::string(600, 'a')}) {
    Graphic2D sprite;
    sprite.LoadImage(path.c_str());
    EXPECT_FALSE(sprite.HasTexture()) << path.substr(0, 80);
    EXPECT_EQ(sprite.GetWidth(), 0);
    sprite.Draw(0, 0);
    sprite.DrawScaled(0, 0, 2, 2);
    sprite.DrawTransformed(10, 10, 1, 1, 0, 0, true, true);
    sprite.DrawPart(0, 0, 1, 0, 0, 0, false, false, {0, 0, 8, 8});
    sprite.DrawTriangles(
        {{0, 0, 0, 0, 255, 255, 255, 255}, {50, 0, 1, 0, 255, 255, 255, 255}, {0, 50, 0, 1, 255, 255, 255, 255}});
  }
  ExpectNothing(0, 0);
  ExpectNothing(12, 12);
}

// Start-up asks before there is a context: a picture decoded ahead still
// meets the context's texture limit, and one that fits loads as it would.
TEST_F(Graphic2DTest, PicturesDecodedAheadKeepTheTextureLimit) {
  GLint largest = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
  const std::string wide =
      WritePng(dir, "wide.png", static_cast<unsigned>(largest) + 1, 1, [](unsigned, unsigned) { return kRed; });
  const std::string quadrants = WriteQuadrants(dir, 20, 10);
  TarnFramework::PictureDecoder::Request(wide.c_str());
  TarnFramework::PictureDecoder::Request(quadrants.c_str());
  Graphic2D tooWide, fits;
  std::string why;
  EXPECT_FALSE(tooWide.LoadImage(wide.c_str(), &why));
  EXPECT_NE(why.find("does not fit in a texture (up to " + std::to_string(largest) + ")"), std::string::npos) << why;
  ASSERT_TRUE(fits.LoadImage(quadrants.c_str(), &why)) << why;
  TarnFramework::PictureDecoder::Finish();
  fits.Draw(100, 50);
  ExpectRgb(100, 50, kRed);
  ExpectRgb(119, 59, kWhite);
}

TEST_F(Graphic2DTest, ReleaseLeavesAnEmptyReusableSprite) {
  const std::string path = WriteQuadrants(dir, 8, 8);
  Graphic2D first;
  first.LoadImage(path.c_str());
  first.Release();
  first.Release();
  EXPECT_FALSE(first.loadRequested);
  EXPECT_EQ(first.path[0], '\0');

  // The freed texture name is likely handed to the next sprite; the released
  // one must not draw it.
  Graphic2D second;
  second.LoadImage(path.c_str());
  first.Draw(300, 300);
  ExpectNothing(300, 300);

  first.LoadImage(path.c_str());
  // Reloading from its own path field keeps the path.
  first.LoadImage(first.path);
  EXPECT_STREQ(first.path, path.c_str());
  first.Draw(300, 300);
  ExpectRgb(300, 300, kRed);
}

TEST_F(Graphic2DTest, DrawScaledTruncatesTheScaledSize) {
  Graphic2D sprite;
  sprite.LoadImage(WritePng(dir, "white.png", 101, 101, [](unsigned, unsigned) { return kWhite; }).c_str());
  sprite.DrawScaled(0, 0, 0.5, 0.5);
  ExpectRgb(0, 0, kWhite);
  ExpectRgb(49, 49, kWhite);
  ExpectNothing(50, 0);
  ExpectNothing(0, 50);

  sprite.DrawScaled(200, 100, 2.0, 0.25);
  // Edge pixels of a stretched sprite blend towards the clamp border, so
  // only look for coverage there.
  EXPECT_GT(ReadPixel(401, 124).r, 64);
  ExpectRgb(398, 120, kWhite);
  ExpectNothing(402, 110);
  ExpectNothing(300, 125);
}

TEST_F(Graphic2DTest, DrawTransformedPlacesThePivotAndScales) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 20).c_str());
  sprite.DrawTransformed(100, 100, 1.0, 0.0, 5, 5, false, false);
  ExpectRgb(95, 95, kRed);
  ExpectNothing(94, 95);
  ExpectRgb(114, 114, kWhite);
  ExpectNothing(115, 114);

  sprite.DrawTransformed(300, 300, 2.0, 0.0, 10, 10, false, false);
  ExpectRgb(281, 281, kRed);
  ExpectRgb(318, 318, kWhite);
  ExpectNothing(279, 300);
  ExpectNothing(321, 300);
}

TEST_F(Graphic2DTest, PositiveAngleTurnsClockwiseAboutThePivot) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 40, 20).c_str());
  sprite.DrawTransformed(200, 200, 1.0, kQuarterTurn, 20, 10, false, false);
  // Clockwise: the top-left (red) goes to the top-right, the top-right (green)
  // to the bottom-right; the picture now stands 20 wide and 40 tall.
  ExpectRgb(205, 185, kRed);
  ExpectRgb(205, 215, kGreen);
  ExpectRgb(195, 185, kBlue);
  ExpectRgb(195, 215, kWhite);
  ExpectNothing(215, 200);
  ExpectNothing(200, 225);
}

TEST_F(Graphic2DTest, FlipsMirrorEachAxisAndCombine) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 20).c_str());
  struct Case {
    bool flipH, flipV;
    Pixel topLeft, bottomRight;
  };
  const Case cases[] = {{false, false, kRed, kWhite},
                        {true, false, kGreen, kBlue},
                        {false, true, kBlue, kGreen},
                        {true, true, kWhite, kRed}};
  int x = 50;
  for (const Case& c : cases) {
    sprite.DrawTransformed(x, 50, 1.0, 0.0, 0, 0, c.flipH, c.flipV);
    ExpectRgb(x + 2, 52, c.topLeft);
    ExpectRgb(x + 17, 67, c.bottomRight);
    x += 50;
  }
}

TEST_F(Graphic2DTest, DrawPartShowsTheSourceCellOnly) {
  const Pixel cells[] = {kRed, kGreen, kBlue, kWhite};
  Graphic2D strip;
  strip.LoadImage(WritePng(dir, "strip.png", 128, 32, [&](unsigned x, unsigned) { return cells[x / 32]; }).c_str());
  strip.DrawPart(300, 300, 1.0, 0.0, 0, 0, false, false, {32, 0, 32, 32});
  ExpectRgb(300, 300, kGreen);
  ExpectRgb(331, 331, kGreen);
  ExpectNothing(332, 310);
  ExpectNothing(310, 332);

  // A cell of a picture that is not square, placed by its centre.
  Graphic2D quadrants;
  quadrants.LoadImage(WriteQuadrants(dir, 40, 20).c_str());
  quadrants.DrawPart(500, 100, 1.0, 0.0, 10, 5, false, false, {20, 10, 20, 10});
  ExpectRgb(491, 96, kWhite);
  ExpectRgb(508, 103, kWhite);
  ExpectNothing(489, 100);
  ExpectNothing(500, 106);
}

TEST_F(Graphic2DTest, TintMultipliesAndHalfAlphaBlends) {
  Graphic2D sprite;
  sprite.LoadImage(WritePng(dir, "white.png", 10, 10, [](unsigned, unsigned) { return kWhite; }).c_str());
  sprite.SetColor(0xFF00FF00);  // 0xAABBGGRR: opaque green
  sprite.Draw(0, 0);
  ExpectRgb(5, 5, kGreen);
  EXPECT_EQ(sprite.color[1], 0xFF);
  EXPECT_EQ(sprite.color[0], 0x00);

  TarnFramework::FillRect({100, 0, 10, 10}, 0, 0, 255, 255);
  sprite.SetColor(0x80FFFFFF);
  sprite.Draw(100, 0);
  ExpectRgb(105, 5, Pixel{128, 128, 255, 255});

  sprite.ResetColor();
  sprite.Draw(200, 0);
  ExpectRgb(205, 5, kWhite);
}

TEST_F(Graphic2DTest, TransparentTexelsLeaveTheBackgroundUntouched) {
  Graphic2D holed;
  holed.LoadImage(
      WritePng(dir, "holed.png", 10, 10, [](unsigned x, unsigned) { return x < 5 ? kClear : kRed; }).c_str());
  TarnFramework::FillRect({0, 0, 20, 20}, 0, 0, 255, 255);
  holed.Draw(0, 0);
  ExpectRgb(2, 5, kBlue);
  ExpectRgb(8, 5, kRed);
}

TEST_F(Graphic2DTest, DrawTrianglesUsesVertexColoursNotTheTint) {
  Graphic2D sprite;
  sprite.LoadImage(WriteQuadrants(dir, 20, 20).c_str());
  sprite.SetColor(0x00000000);
  // One triangle covering the top-left half of a 100 x 100 square, with the
  // red quadrant's texture coordinates and a half-dark vertex colour.
  sprite.DrawTriangles({{400, 400, 0.0f, 0.0f, 255, 255, 255, 255},
                        {500, 400, 0.5f, 0.0f, 255, 255, 255, 255},
                        {400, 500, 0.0f, 0.5f, 255, 255, 255, 255}});
  ExpectRgb(420, 420, kRed);
  ExpectNothing(490, 490);

  sprite.DrawTriangles({{600, 400, 0.5f, 0.0f, 128, 128, 128, 255},
                        {700, 400, 1.0f, 0.0f, 128, 128, 128, 255},
                        {600, 500, 0.5f, 0.5f, 128, 128, 128, 255}});
  ExpectRgb(610, 410, Pixel{0, 128, 0, 255});
}

}  // namespace
