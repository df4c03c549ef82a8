// Text layout with the game's real font: lines, wrapping, numbers, drawers.
#include <algorithm>
#include <memory>

#include "GLTestFixture.h"
#include "TempDir.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/text/Font.h"
#include "framework/text/GlyphDrawer.h"
#include "framework/text/TextString.h"

using namespace tarn_test;
using namespace TarnFramework;

namespace {

constexpr const char* kFontPath = "font\\rounded-mplus-2m-medium.ttf";

class TextStringTest : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    ASSERT_TRUE(font.Open(kFontPath, 20));
  }

  int Advance(char16_t code) { return std::unique_ptr<GlyphDrawer>(font.CreateGlyph(code, 0))->advance; }
  int Descent(char16_t code) {
    std::unique_ptr<GlyphDrawer> g(font.CreateGlyph(code, 0));
    return std::max(0, g->height - g->bearingY);
  }
  std::unique_ptr<TextString> Text(const char16_t* text) {
    return std::unique_ptr<TextString>(font.CreateTextW(text, 0xFFFFFFFF));
  }
  static const TextString::SingleChar& At(const TextString& t, int i) { return *t.chars[i]; }

  Font font;
};

TEST_F(TextStringTest, OneLineIsAsWideAsItsAdvancesAndAsTallAsTheFontPlusDescent) {
  auto ab = Text(u"AB");
  ASSERT_EQ(ab->chars.count, 2);
  EXPECT_EQ(ab->firstLineHeight, 20);
  EXPECT_EQ(ab->GetWidth(), Advance(u'A') + Advance(u'B'));
  EXPECT_EQ(ab->GetHeight(), 20);
  EXPECT_EQ(At(*ab, 1).x, Advance(u'A'));
  EXPECT_EQ(At(*ab, 0).code16, u'A');

  auto gy = Text(u"gy");
  EXPECT_EQ(gy->GetHeight(), 20 + std::max(Descent(u'g'), Descent(u'y')));
}

TEST_F(TextStringTest, LineFeedsStartNewLinesAndEmptyLinesAddNoHeight) {
  auto twoLines = Text(u"g\nB");
  ASSERT_EQ(twoLines->chars.count, 3);
  EXPECT_TRUE(At(*twoLines, 1).lineBreak);
  EXPECT_EQ(At(*twoLines, 1).drawer, nullptr);
  const TextString::SingleChar& b = At(*twoLines, 2);
  EXPECT_EQ(b.x, 0);
  EXPECT_EQ(b.y, Descent(u'g') + 20);
  EXPECT_EQ(twoLines->GetHeight(), 20 + b.y + Descent(u'B'));
  EXPECT_EQ(twoLines->GetWidth(), std::max(Advance(u'g'), Advance(u'B')));

  auto blankBetween = Text(u"g\n\nB");
  EXPECT_EQ(At(*blankBetween, 3).y, b.y);
  EXPECT_EQ(blankBetween->GetHeight(), twoLines->GetHeight());

  // A leading line feed is dropped: the next line becomes the first.
  auto leading = Text(u"\nAB");
  auto plain = Text(u"AB");
  EXPECT_EQ(leading->firstLineHeight, 20);
  EXPECT_EQ(At(*leading, 1).y, 0);
  EXPECT_EQ(leading->GetHeight(), plain->GetHeight());
  EXPECT_EQ(leading->GetWidth(), plain->GetWidth());
}

TEST_F(TextStringTest, WrapWidthMovesTheCharacterThatWouldOverflow) {
  const int digit = Advance(u'1');
  ASSERT_EQ(Advance(u'2'), digit);
  ASSERT_EQ(Advance(u'3'), digit);
  TextString text;
  text.wrapWidth = 2 * digit + digit / 2;
  text.AppendTextW(&font, u"1234", 0xFFFFFFFF);
  EXPECT_EQ(At(text, 1).x, digit);
  EXPECT_EQ(At(text, 1).y, 0);
  EXPECT_EQ(At(text, 2).x, 0);
  EXPECT_EQ(At(text, 2).y, 20);
  EXPECT_EQ(At(text, 3).x, digit);
  EXPECT_EQ(text.GetWidth(), 2 * digit);
  EXPECT_EQ(text.GetHeight(), 40);

  // A line exactly as wide as the limit still fits.
  text.wrapWidth = 2 * digit;
  text.Layout();
  EXPECT_EQ(At(text, 1).y, 0);
  EXPECT_EQ(At(text, 2).x, 0);
  EXPECT_EQ(At(text, 2).y, 20);
  EXPECT_EQ(text.GetWidth(), 2 * digit);

  // Relayout after a wider limit puts everything back on one line.
  text.wrapWidth = TextString::kDefaultWrapWidth;
  text.Layout();
  EXPECT_EQ(At(text, 2).y, 0);
  EXPECT_EQ(text.GetHeight(), 20);
}

TEST_F(TextStringTest, NumbersAppendAsDecimalCharacters) {
  TextString text;
  text.AppendNumber(&font, -42, 0xFFFFFFFF);
  ASSERT_EQ(text.chars.count, 3);
  EXPECT_EQ(At(text, 0).code8, '-');
  EXPECT_EQ(At(text, 1).code8, '4');
  EXPECT_EQ(At(text, 2).code8, '2');

  TextString extremes;
  extremes.AppendNumber(&font, -2147483647 - 1, 0xFFFFFFFF, 7);
  EXPECT_EQ(extremes.chars.count, 11);
  EXPECT_EQ(At(extremes, 10).value, 7);
  extremes.AppendNumber(&font, 0, 0xFFFFFFFF);
  EXPECT_EQ(At(extremes, 11).code8, '0');
}

TEST_F(TextStringTest, AppendsAccumulateAndTheTallestFontSetsTheLine) {
  Font big;
  ASSERT_TRUE(big.Open(kFontPath, 32));
  TextString text;
  text.AppendText(&font, "A", 0xFFFFFFFF, 3);
  text.AppendText(&big, "B", 0xFFFFFFFF);
  EXPECT_EQ(text.firstLineHeight, 32);
  EXPECT_EQ(At(text, 0).value, 3);
  EXPECT_EQ(At(text, 1).x, Advance(u'A'));
  EXPECT_EQ(At(text, 0).lineHeight, 20);
  EXPECT_EQ(At(text, 1).lineHeight, 32);

  // Bytes above 127 are Latin-1 characters, not negative codes.
  text.AppendText(&font, "\xE9", 0xFFFFFFFF);
  ASSERT_NE(At(text, 2).drawer, nullptr);
  EXPECT_EQ(static_cast<GlyphDrawer*>(At(text, 2).drawer)->advance, Advance(u'\u00E9'));
}

TEST_F(TextStringTest, AnEmptyTextHasNoSizeAndDrawsNothing) {
  auto empty = Text(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetWidth(), 0);
  EXPECT_EQ(empty->GetHeight(), 0);
  empty->Draw(0, 0);
  TextString nothing;
  nothing.AppendText(&font, nullptr, 0xFFFFFFFF);
  nothing.AppendTextW(nullptr, u"ab", 0xFFFFFFFF);
  EXPECT_EQ(nothing.GetWidth(), 0);
  EXPECT_EQ(ReadPixel(5, 5), ReadPixel(600, 600));
}

TEST_F(TextStringTest, DrawPutsTheFirstBaselineFirstLineHeightBelowTheTop) {
  auto text = Text(u"AB\nC");
  text->Draw(200, 100);
  std::unique_ptr<GlyphDrawer> a(font.CreateGlyph(u'A', 0));
  std::unique_ptr<GlyphDrawer> c(font.CreateGlyph(u'C', 0));
  // The A's bitmap ends on the first baseline, 100 + 20.
  auto lit = [&](int x, int y) { return ReadPixel(x, y).g > 32; };
  bool aBottom = false, belowA = false;
  for (int x = 200; x < 200 + a->width + a->bearingX; ++x) {
    aBottom |= lit(x, 119);
    belowA |= lit(x, 120) || lit(x, 121);
  }
  EXPECT_TRUE(aBottom);
  EXPECT_FALSE(belowA);
  // C's line starts at the left, its baseline one line lower.
  const int cBaseline = 100 + 20 + At(*text, 3).y;
  bool cMiddle = false;
  for (int x = 200; x < 200 + Advance(u'C'); ++x) cMiddle |= lit(x, cBaseline - c->bearingY / 2);
  EXPECT_TRUE(cMiddle);
  if (HasFailure()) SaveScreenshot("/tmp/textstring-draw.png");
}

TEST_F(TextStringTest, DrawersSitInTheTextWithTheirTopOnTheBaseline) {
  TempDir dir;
  Graphic2D box;
  box.SetRenderTarget(10, 6);
  ASSERT_TRUE(box.targetReady);

  TextString text;
  text.AppendText(&font, "A", 0xFFFFFFFF);
  text.AddDrawer(&box, 5, false);
  auto* owned = new Graphic2D;
  owned->SetRenderTarget(4, 30);
  text.AddDrawer(owned);

  ASSERT_EQ(text.chars.count, 3);
  const TextString::SingleChar& entry = At(text, 1);
  EXPECT_EQ(entry.x, Advance(u'A'));
  EXPECT_EQ(entry.advance, 10);
  EXPECT_EQ(entry.lineHeight, 6);
  EXPECT_EQ(entry.value, 5);
  EXPECT_FALSE(entry.owned);
  EXPECT_TRUE(At(text, 2).owned);
  EXPECT_EQ(At(text, 2).x, Advance(u'A') + 10);
  EXPECT_EQ(text.firstLineHeight, 30);
  EXPECT_EQ(text.GetWidth(), Advance(u'A') + 14);

  text.Release();
  EXPECT_EQ(text.chars.count, 0);
  EXPECT_EQ(text.GetWidth(), 0);
  // Not owned: still alive and usable.
  EXPECT_TRUE(box.targetReady);
}

}  // namespace
