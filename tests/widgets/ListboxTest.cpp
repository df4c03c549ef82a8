#include "WidgetTestSupport.h"
#include "framework/widgets/Listbox.h"
#include "framework/widgets/WidgetTrackBar.h"

using namespace TarnFramework;
using tarn_test::BlockDrawer;
using tarn_test::Pixel;

namespace {

class ListboxTest : public tarn_test::WidgetScreenTest {
 protected:
  // A 200 x 300 list at (100, 50) with count lines of the given height.
  Listbox* MakeList(int count, int lineHeight) {
    Listbox* list = new Listbox(0, 50, 200, 300);
    list->x = 100;
    Add(list);
    for (int i = 0; i < count; ++i) {
      list->AddItem(new BlockDrawer(50, lineHeight, 0xFF0000FF), ("line" + std::to_string(i)).c_str());
    }
    return list;
  }
  void Click(int x, int y) {
    Move(x, y);
    Press();
    Frame();
    Release();
    Frame();
  }
};

TEST_F(ListboxTest, ListThatFitsHasNoScrollBarAndIgnoresTheWheel) {
  Listbox* list = MakeList(3, 100);
  Wheel(-1);
  Frame();
  EXPECT_FALSE(list->scrollBar->visible);
  EXPECT_EQ(list->topIndex, 0);
}

TEST_F(ListboxTest, OverflowShowsBarWithThumbAndWheelScrollsOneLinePerFrame) {
  Listbox* list = MakeList(10, 100);
  Frame();
  EXPECT_TRUE(list->scrollBar->visible);
  EXPECT_EQ(list->scrollBar->thumbLength, 90);
  Wheel(-3);  // several notches in one frame still move one line
  Frame();
  EXPECT_EQ(list->topIndex, 1);
  EXPECT_DOUBLE_EQ(list->scrollBar->value, 1.0 / 9);
  Wheel(1);
  Frame();
  Wheel(1);
  Frame();
  EXPECT_EQ(list->topIndex, 0) << "not above the first line";
  for (int i = 0; i < 12; ++i) {
    Wheel(-1);
    Frame();
  }
  EXPECT_EQ(list->topIndex, 9) << "not below the last line";
  EXPECT_DOUBLE_EQ(list->scrollBar->value, 1.0);

  list->wheelScroll = false;
  Frame();
  EXPECT_EQ(list->topIndex, 0);
  EXPECT_FALSE(list->scrollBar->visible);
}

TEST_F(ListboxTest, RefilledWithFewerLinesAfterScrollingToTheEndStaysOnItsLines) {
  Listbox* list = MakeList(0, 100);
  struct Case {
    int lines, wheel, top;
    double value;
  } cases[] = {
      {5, -1, 4, 1.0},  // towards the player: stays on the new last line
      {5, 1, 3, 0.75},  // away: one line up from the new last line
      {4, 0, 3, 1.0},
      {2, -1, 0, 0.0},  // fits now: no scrolling at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lines << " lines, wheel " << c.wheel);
    list->ClearItems();
    for (int i = 0; i < 10; ++i) list->AddItem(new BlockDrawer(50, 100), "long");
    for (int i = 0; i < 10; ++i) {
      Wheel(-1);
      Frame();
    }
    ASSERT_EQ(list->topIndex, 9);
    list->ClearItems();
    for (int i = 0; i < c.lines; ++i) list->AddItem(new BlockDrawer(50, 100), "short");
    Wheel(c.wheel);
    Frame();
    EXPECT_EQ(list->topIndex, c.top);
    EXPECT_DOUBLE_EQ(list->scrollBar->value, c.value);
  }
  // A value set out of range by an owner is brought back too.
  list->AddItem(new BlockDrawer(50, 100), "more");
  list->AddItem(new BlockDrawer(50, 100), "more");
  list->scrollBar->value = 7.0;
  Frame();
  EXPECT_EQ(list->topIndex, 3);
  EXPECT_DOUBLE_EQ(list->scrollBar->value, 1.0);
}

TEST_F(ListboxTest, ClickSelectsLineUnderReleaseAndBelowLastLineClears) {
  Listbox* list = MakeList(2, 40);
  Move(150, 60);
  Press();
  Frame();
  Move(150, 100);  // released over the second line
  Release();
  Frame();
  EXPECT_EQ(list->selectedIndex, 1);
  ASSERT_NE(list->selectedKey, nullptr);
  EXPECT_STREQ(list->selectedKey, "line1");

  Click(150, 200);
  EXPECT_EQ(list->selectedIndex, -1);
  EXPECT_EQ(list->selectedKey, nullptr);

  Move(20, 60);  // pressed outside the list
  Press();
  Frame();
  Move(150, 60);
  Release();
  Frame();
  EXPECT_EQ(list->selectedIndex, -1);

  Move(150, 60);  // a quick click selects and tells the handler
  Press();
  Release();
  Frame();
  EXPECT_EQ(list->selectedIndex, 0);
  EXPECT_EQ(EventsFrom(list), 3);
}

TEST_F(ListboxTest, HoverAndSelectionBandsAndLinesAreCutAtTheCanvasEdge) {
  Listbox* list = MakeList(4, 120);
  list->lineX = 10;
  Click(150, 60);  // selects line 0
  Move(150, 200);  // hovers line 1
  Frame();
  DrawOnly();
  EXPECT_EQ(ReadPixel(250, 60), (Pixel{0x64, 0x64, 0xa0, 0xff})) << "selected band";
  EXPECT_EQ(ReadPixel(250, 200), (Pixel{0x5a, 0x5a, 0x78, 0xff})) << "hover band";
  EXPECT_EQ(ReadPixel(250, 300), (Pixel{0x78, 0x78, 0x96, 0xff})) << "background behind line 2";
  EXPECT_EQ(ReadPixel(115, 345), (Pixel{255, 0, 0, 255})) << "line 2 reaches the bottom edge";
  EXPECT_EQ(ReadPixel(115, 352), (Pixel{0, 0, 0, 0})) << "and is cut there";
}

TEST_F(ListboxTest, DraggingTheScrollBarScrollsTheList) {
  Listbox* list = MakeList(10, 100);
  Frame();
  Rect bar = list->scrollBar->GetRect();
  EXPECT_EQ(bar.x, 100 + 200 - 12);
  Move(bar.x + 5, bar.y + 45);  // the thumb's centre
  Press();
  Frame();
  EXPECT_TRUE(list->scrollBar->dragging);
  Move(bar.x + 5, bar.y + 45 + 105);  // half of the 210-pixel range
  Frame();
  Frame();  // the list reads the value the bar set a frame earlier
  EXPECT_DOUBLE_EQ(list->scrollBar->value, 0.5);
  EXPECT_EQ(list->topIndex, 4);
  Release();
  Frame();
  EXPECT_FALSE(list->scrollBar->dragging);
}

}  // namespace
