// Character lists: the lines made from the barrack and how one line is drawn.
#include "CharList.h"
#include "CharListLine.h"
#include "GameTestSupport.h"
#include "framework/text/TextString.h"

namespace {

using game_test::GameTest;
using tarn_test::Pixel;

constexpr Pixel kFrame{10, 60, 120, 255};
constexpr Pixel kFill{120, 120, 150, 255};

CharListLine* Line(const CharList& list, int i) { return static_cast<CharListLine*>(list.items[i]->drawer); }

TEST_F(GameTest, RebuildMakesOneLinePerUnitCarryingItsKey) {
  CharList list(0, 0, 300, 600);
  list.Rebuild();
  EXPECT_EQ(list.items.count, 0) << "no source, no lines";

  auto* nameless = new CharUnit;
  game->barrack.units.Add(nameless);
  list.source = &game->barrack.units;
  list.Rebuild();
  ASSERT_EQ(list.items.count, 6);
  EXPECT_EQ(list.lineX, 4);
  EXPECT_EQ(list.lineGap, 4);
  for (int i = 0; i < 5; ++i) {
    CharListLine* line = Line(list, i);
    EXPECT_EQ(line->unit, Unit(i));
    EXPECT_EQ(line->width, 292);
    EXPECT_EQ(line->height, 100);
    EXPECT_EQ(list.items[i]->height, 100);
    ASSERT_NE(line->nameText, nullptr);
    ASSERT_NE(line->statusText, nullptr);
    EXPECT_EQ(line->nameText->chars.count, 6);
    EXPECT_EQ(line->statusText->chars.count, 13);
  }
  // A unit without a name: no texts and no unit, but still its key.
  CharListLine* last = Line(list, 5);
  EXPECT_EQ(last->unit, nullptr);
  EXPECT_EQ(last->nameText, nullptr);
  EXPECT_EQ(last->statusText, nullptr);
  EXPECT_STREQ(list.items[5]->key, "CU_5");

  // The selection's key pointed into a line that a rebuild deletes.
  list.selectedIndex = 2;
  list.selectedKey = list.items[2]->key;
  list.Rebuild();
  EXPECT_EQ(list.selectedKey, nullptr);
  EXPECT_EQ(list.selectedIndex, 2);
  EXPECT_EQ(list.items.count, 6);
}

TEST_F(GameTest, LineDrawsFrameAnimatedPortraitOutlineAndTexts) {
  game_test::RecordingGraphic* graphic = RecordUnit(0);
  CharList list(0, 0, 300, 600);
  list.source = &game->barrack.units;
  list.Rebuild();
  CharListLine* line = Line(list, 0);

  BeginFrame();
  line->Draw(100, 200);
  line->DrawScaled(100, 200, 3.0, 3.0);  // transformed draws are plain draws
  ASSERT_EQ(graphic->calls.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_FALSE(graphic->calls[i].full);
    EXPECT_EQ(graphic->calls[i].frame, i);
    EXPECT_EQ(graphic->calls[i].x, 108);
    EXPECT_EQ(graphic->calls[i].y, 208);
    EXPECT_DOUBLE_EQ(graphic->calls[i].scale, 84);
  }
  EXPECT_EQ(line->frameCount, 2);

  EXPECT_EQ(ReadPixel(100, 200), kFrame);
  EXPECT_EQ(ReadPixel(391, 299), kFrame);
  EXPECT_EQ(ReadPixel(150, 205), kFill);
  EXPECT_EQ(ReadPixel(392, 250), (Pixel{0, 0, 0, 0}));
  // The portrait's outline, with nothing drawn inside by the recorder.
  // (a line on a pixel edge may land on either side of it)
  auto outlined = [&](int x, int y, int w, int h) {
    for (const Pixel& p : ReadRect(x, y, w, h)) {
      if (p == kFrame) return true;
    }
    return false;
  };
  EXPECT_TRUE(outlined(150, 207, 1, 3));
  EXPECT_TRUE(outlined(107, 250, 3, 1));
  EXPECT_TRUE(outlined(191, 250, 3, 1));
  EXPECT_EQ(ReadPixel(150, 250), kFill);
  // Name from (200, 208), status from (200, 250): some glyph pixels there.
  auto hasText = [&](int x, int y, int w, int h) {
    for (const Pixel& p : ReadRect(x, y, w, h)) {
      if (p.r > 200 && p.g > 200 && p.b > 200) return true;
    }
    return false;
  };
  EXPECT_TRUE(hasText(200, 208, 80, 30));
  EXPECT_TRUE(hasText(200, 250, 180, 30));
  EXPECT_FALSE(hasText(120, 220, 70, 70));

  // A line without a graphic still counts its frames.
  Unit(0)->graphicIndex = 4;
  line->Draw(100, 200);
  EXPECT_EQ(line->frameCount, 3);
  EXPECT_EQ(graphic->calls.size(), 2u);
}

TEST_F(GameTest, PictureCharacterPortraitAppearsInItsLine) {
  CharList list(0, 0, 300, 600);
  list.source = &game->barrack.units;
  list.Rebuild();
  BeginFrame();
  Line(list, 0)->Draw(0, 0);
  // The face of test01 fills the portrait: not the plain fill colour.
  int faceColoured = 0;
  for (const Pixel& p : ReadRect(10, 10, 80, 80)) faceColoured += !(p == kFill);
  EXPECT_GT(faceColoured, 80 * 80 / 2);
  BeginFrame();
  Line(list, 4)->Draw(0, 0);  // the skeletal character's face, from its canvas
  faceColoured = 0;
  for (const Pixel& p : ReadRect(10, 10, 80, 80)) faceColoured += !(p == kFill);
  EXPECT_GT(faceColoured, 80 * 80 / 2);
}

}  // namespace
