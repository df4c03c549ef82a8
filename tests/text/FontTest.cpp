// Fonts, glyph sprites and the font container, with the game's real font.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "FileFaults.h"
#include "GLTestFixture.h"
#include "TempDir.h"
#include "framework/graphics/Primitives.h"
#include "framework/text/AsciiText.h"
#include "framework/text/Font.h"
#include "framework/text/FontContainer.h"
#include "framework/text/GlyphDrawer.h"
#include "framework/text/TextString.h"
#include "tarn/Path.h"

using namespace tarn_test;
using namespace TarnFramework;

namespace {

constexpr const char* kFontPath = "font\\rounded-mplus-2m-medium.ttf";

// Every label the game shows.
const char16_t* const kGameLabels[] = {
    u"キャラ",
    u"交配",
    u"市場",
    u"施設",
    u"大会",
    u"ライバル",
    u"Next",
    u"123456 G",
    u"カモメ兵舎",
    u"戻る",
    u"選択",
    u"キャラを選択",
    u"ここに簡易ステータスを表示",
    u"×",
    u"test01",
    u"TestBarrack",
    u"CharNum : 123",
};

// Bounding box of the pixels brighter than the background.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // right, bottom inclusive
  bool empty() const { return right < 0; }
};

class FontTest : public GLTest {
 protected:
  Box LitBox(int x, int y, int width, int height) {
    Box box;
    const std::vector<Pixel> pixels = ReadRect(x, y, width, height);
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        if (pixels[static_cast<size_t>(row) * width + col].g < 8) continue;
        box.left = std::min(box.left, x + col);
        box.right = std::max(box.right, x + col);
        box.top = std::min(box.top, y + row);
        box.bottom = std::max(box.bottom, y + row);
      }
    }
    return box;
  }
};

TEST_F(FontTest, OpenFailsForAMissingFileAndAClosedFontMakesNothing) {
  Font font;
  EXPECT_FALSE(font.Open("font\\no-such-font.ttf", 20));
  EXPECT_FALSE(font.IsOpen());
  EXPECT_EQ(font.CreateText("abc", 0xFFFFFFFF), nullptr);
  EXPECT_EQ(font.CreateTextW(u"abc", 0xFFFFFFFF), nullptr);
  EXPECT_EQ(font.CreateGlyph(u'a', 0xFFFFFFFF), nullptr);

  // A file that is not a font at all.
  TempDir dir;
  EXPECT_FALSE(font.Open(dir.Write("fake.ttf", std::string("OTTO and then nothing useful")).c_str(), 20));
  EXPECT_FALSE(font.Open(nullptr, 20));

  ASSERT_TRUE(font.Open(kFontPath, 20));
  EXPECT_EQ(font.pixelSize, 20);
  font.Release();
  font.Release();
  EXPECT_EQ(font.CreateGlyph(u'a', 0xFFFFFFFF), nullptr);
}

// Sizes of one file share its bytes; each size lives on while another closes,
// and a different file (here a copy) is never taken for an open one.
// Every size of one file reads it once and works without the others. A file
// is known by what was opened, not by its path: a path that names another
// file by the time it is opened gives that file's face, and does not stand
// for the first file afterwards.
TEST_F(FontTest, SizesOfOneFileReadItOnceAndOutliveEachOther) {
  std::vector<unsigned char> bytes;
  ASSERT_TRUE(tarn::ReadFile(kFontPath, bytes));
  FileFaults reads;
  reads.path = tarn::NativePath(kFontPath);
  auto small = std::make_unique<Font>();
  Font large;
  {
    WatchFile watch(reads);
    ASSERT_TRUE(small->Open(kFontPath, 16));
    ASSERT_TRUE(large.Open(kFontPath, 32));
  }
  EXPECT_EQ(reads.bytesRead, bytes.size());
  small.reset();
  std::unique_ptr<GlyphDrawer> glyph(large.CreateGlyph(u'a', 0xFFFFFFFF));
  ASSERT_NE(glyph, nullptr);
  EXPECT_GT(glyph->width, 0);

  // Another face from the same package as the game's font.
  std::vector<unsigned char> otherBytes;
  ASSERT_TRUE(tarn::ReadFile("/usr/share/fonts/opentype/mplus/Mplus1-Medium.otf", otherBytes));
  TempDir dir;
  const std::string game = dir.Write("game.otf", bytes), other = dir.Write("other.otf", otherBytes);
  const std::string kept = dir.File("kept.otf");
  ASSERT_EQ(link(game.c_str(), kept.c_str()), 0);
  FileFaults swap;
  swap.path = game;
  swap.onOpen = [&] { ASSERT_EQ(std::rename(other.c_str(), game.c_str()), 0); };
  Font swapped, keptFont;
  {
    WatchFile watch(swap);
    ASSERT_TRUE(swapped.Open(game.c_str(), 20));
  }
  ASSERT_TRUE(keptFont.Open(kept.c_str(), 20));
  EXPECT_STRNE(swapped.face->family_name, large.face->family_name);
  EXPECT_STREQ(keptFont.face->family_name, large.face->family_name);
}

TEST_F(FontTest, EveryGameLabelDrawsWithRealGlyphs) {
  Font font;
  ASSERT_TRUE(font.Open(kFontPath, 20));
  // Opaque background so a saved screenshot is readable.
  FillRect({0, 0, 1280, 720}, 0, 0, 96, 255);
  int y = 10;
  for (const char16_t* label : kGameLabels) {
    // Glyph 0 is the missing-glyph box.
    for (const char16_t* p = label; *p; ++p) {
      EXPECT_NE(FT_Get_Char_Index(font.face, *p), 0u) << "U+" << std::hex << int(*p) << " has no glyph";
    }
    std::unique_ptr<TextString> text(font.CreateTextW(label, 0xFFFFFFFF));
    ASSERT_NE(text, nullptr);
    for (int i = 0; i < text->chars.count; ++i) {
      const TextString::SingleChar& c = *text->chars[i];
      ASSERT_NE(c.drawer, nullptr);
      if (c.code16 != u' ') {
        EXPECT_TRUE(static_cast<Graphic2D*>(c.drawer)->HasTexture());
      }
    }
    text->Draw(10, y);
    const Box box = LitBox(0, y - 5, 600, text->GetHeight() + 10);
    EXPECT_FALSE(box.empty());
    EXPECT_GE(box.left, 10);
    EXPECT_LE(box.right, 10 + text->GetWidth());
    y += 30;
  }
  if (HasFailure()) SaveScreenshot("/tmp/font-labels.png");
}

TEST_F(FontTest, AGlyphSitsOnItsBaselineWithTheDescenderBelow) {
  Font font;
  ASSERT_TRUE(font.Open(kFontPath, 32));
  std::unique_ptr<GlyphDrawer> g(font.CreateGlyph(u'g', 0xFF00FF00));
  ASSERT_NE(g, nullptr);
  ASSERT_TRUE(g->HasTexture());
  EXPECT_EQ(g->fontSize, 32);
  EXPECT_GT(g->height - g->bearingY, 2) << "g should reach below the baseline";

  g->Draw(100, 50);
  const Box box = LitBox(80, 0, 60, 100);
  ASSERT_FALSE(box.empty());
  EXPECT_EQ(box.top, 50 - g->bearingY);
  EXPECT_EQ(box.bottom, 50 - g->bearingY + g->height - 1);
  EXPECT_GE(box.left, 100 + g->bearingX);
  EXPECT_LT(box.right, 100 + g->bearingX + g->width);
  EXPECT_GT(box.bottom, 50);

  // Drawn in the glyph's colour: green only.
  const Pixel centre = ReadPixel((box.left + box.right) / 2, 50 - g->bearingY / 2);
  EXPECT_EQ(centre.r, 0);
  EXPECT_EQ(centre.b, 0);
}

TEST_F(FontTest, ContainerOpensEachSizeOnceWithinItsRange) {
  FontContainer fonts;
  EXPECT_EQ(fonts.GetFont(20), nullptr);
  EXPECT_FALSE(fonts.Preload(20));

  fonts.Setup(kFontPath);
  EXPECT_EQ(fonts.count, 31);
  ASSERT_TRUE(fonts.Preload(12));
  Font* twelve = fonts.GetFont(12);
  ASSERT_NE(twelve, nullptr);
  EXPECT_EQ(twelve->pixelSize, 12);
  EXPECT_TRUE(fonts.Preload(12));
  EXPECT_EQ(fonts.GetFont(12), twelve);
  EXPECT_EQ(fonts.GetFont(42)->pixelSize, 42);
  EXPECT_EQ(fonts.GetFont(43), nullptr);
  EXPECT_EQ(fonts.GetFont(11), nullptr);
  EXPECT_FALSE(fonts.Preload(43));

  fonts.Release();
  EXPECT_EQ(fonts.count, 0);
  EXPECT_EQ(fonts.path[0], '\0');
  EXPECT_EQ(fonts.GetFont(12), nullptr);
}

TEST_F(FontTest, ContainerWithAMissingFileLeavesItsSlotsEmpty) {
  FontContainer fonts;
  fonts.Setup("font\\missing.ttf");
  EXPECT_FALSE(fonts.Preload(12));
  EXPECT_EQ(fonts.GetFont(20), nullptr);
  EXPECT_EQ(fonts.fonts[0], nullptr);

  fonts.Setup(std::string(2000, 'x').c_str());
  EXPECT_EQ(fonts.GetFont(20), nullptr);
}

TEST_F(FontTest, AsciiTextRendersThePrintableCodes) {
  AsciiText ascii;
  EXPECT_FALSE(ascii.Init(nullptr));

  Font font;
  ASSERT_TRUE(font.Open(kFontPath, 24));
  ASSERT_TRUE(ascii.Init(&font));
  const AsciiText::SingleChar& a = ascii.entries['A'];
  ASSERT_NE(a.drawer, nullptr);
  EXPECT_EQ(ascii.capHeight, a.drawer->height);
  EXPECT_EQ(ascii.capBearingY, a.drawer->bearingY);
  EXPECT_GT(ascii.capHeight, 10);
  EXPECT_TRUE(ascii.entries['\n'].lineBreak);
  EXPECT_EQ(ascii.entries['~'].code, '~');
  EXPECT_NE(ascii.entries['~'].drawer, nullptr);
  EXPECT_EQ(ascii.entries[31].drawer, nullptr);
  // A space keeps its advance but has no pixels to draw.
  const GlyphDrawer* space = ascii.entries[' '].drawer;
  EXPECT_FALSE(space->HasTexture());
  EXPECT_GT(space->advance, 0);

  // Building again replaces the table without leaking it.
  ASSERT_TRUE(ascii.Init(&font));
  ascii.Release();
  EXPECT_EQ(ascii.entries['A'].drawer, nullptr);
}

}  // namespace
