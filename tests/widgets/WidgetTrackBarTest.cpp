#include "WidgetTestSupport.h"
#include "framework/widgets/WidgetTrackBar.h"

using namespace TarnFramework;
using tarn_test::Pixel;

namespace {

class TrackBarTest : public tarn_test::WidgetScreenTest {
 protected:
  // A vertical 12 x 300 bar whose right edge is at the window's x = 512.
  WidgetTrackBar* MakeBar() {
    WidgetTrackBar* bar = new WidgetTrackBar(12, 300);
    bar->vertical = true;
    bar->x = 1280 - 512;
    bar->y = 100;
    return Add(bar);
  }
  int EndNotifications() const {
    int n = 0;
    for (const auto& e : screen->events) n += e.first == WidgetTrackBar::kEventDragEnded;
    return n;
  }
};

TEST_F(TrackBarTest, ThumbIsDrawnAtItsValue) {
  WidgetTrackBar* bar = MakeBar();
  bar->thumbLength = 90;
  bar->value = 0.5;
  DrawOnly();
  Rect r = bar->GetRect();
  const Pixel rim{0x0a, 0x3c, 0x78, 0xff};
  EXPECT_EQ(ReadPixel(r.x + 6, r.y + 105), rim) << "thumb's outer rim at y + 105";
  EXPECT_EQ(ReadPixel(r.x + 6, r.y + 194), rim) << "and its last row at y + 194";
  EXPECT_EQ(ReadPixel(r.x + 6, r.y + 150), (Pixel{0x78, 0x78, 0x96, 0xff})) << "thumb fill";
  EXPECT_EQ(ReadPixel(r.x + 6, r.y + 100), (Pixel{0x78, 0x78, 0x96, 0xff})) << "track fill";
  EXPECT_EQ(ReadPixel(r.x + 2, r.y + 150), (Pixel{65, 90, 135, 255})) << "the rim's middle colour";
}

TEST_F(TrackBarTest, DragClampsAndReleaseOutsideNotifies) {
  WidgetTrackBar* bar = MakeBar();
  bar->thumbLength = 90;
  Rect r = bar->GetRect();
  Move(r.x + 5, r.y + 45 + 10);  // 10 pixels below the thumb's centre
  Press();
  Frame();
  ASSERT_TRUE(bar->dragging);
  EXPECT_EQ(bar->dragOffset, -10);
  Move(r.x + 5, r.y);
  Frame();
  EXPECT_EQ(bar->value, 0.0) << "clamped, not negative";
  Move(r.x + 5, r.y + 400);
  Frame();
  EXPECT_EQ(bar->value, 1.0);
  Move(900, 600);
  Release();
  Frame();
  EXPECT_FALSE(bar->dragging);
  EXPECT_EQ(EndNotifications(), 1);
}

TEST_F(TrackBarTest, ThumbAsLongAsTheBarJumpsWithoutDividing) {
  WidgetTrackBar* bar = MakeBar();
  bar->thumbLength = 300;
  Rect r = bar->GetRect();
  Move(r.x + 5, r.y + 150);
  Press();
  Frame();
  EXPECT_EQ(bar->value, 0.0);
  Move(r.x + 5, r.y + 151);
  Frame();
  EXPECT_EQ(bar->value, 1.0);
}

}  // namespace
