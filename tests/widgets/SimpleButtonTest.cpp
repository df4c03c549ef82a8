#include "WidgetTestSupport.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetAnimeBase.h"

using namespace TarnFramework;
using tarn_test::BlockDrawer;
using tarn_test::Pixel;

namespace {

class SimpleButtonTest : public tarn_test::WidgetScreenTest {};

TEST_F(SimpleButtonTest, DrawsFrameAndFillInDefaultColours) {
  Add(new SimpleButton(100, 50, 80, 40, kAnchorTopLeft));
  DrawOnly();
  EXPECT_EQ(ReadPixel(100, 50), (Pixel{0x0a, 0x3c, 0x78, 0xff})) << "frame";
  EXPECT_EQ(ReadPixel(179, 89), (Pixel{0x0a, 0x3c, 0x78, 0xff})) << "frame, bottom-right";
  EXPECT_EQ(ReadPixel(101, 51), (Pixel{0x78, 0x78, 0x96, 0xff})) << "fill";
  EXPECT_EQ(ReadPixel(180, 90), (Pixel{0, 0, 0, 0})) << "outside";
}

TEST_F(SimpleButtonTest, LabelIsCentredEvenWhenWiderThanTheButton) {
  SimpleButton* button = Add(new SimpleButton(10, 20, 100, 30, kAnchorTopLeft));
  BlockDrawer* label = new BlockDrawer(41, 11, 0xFF00FF00);
  button->SetLabel(label);
  DrawOnly();
  EXPECT_EQ(label->lastX, 10 + 29);
  EXPECT_EQ(label->lastY, 20 + 9);
  EXPECT_EQ(ReadPixel(39, 29), (Pixel{0, 255, 0, 255}));

  BlockDrawer* wide = new BlockDrawer(140, 10);
  button->SetLabel(wide);  // frees the old label
  DrawOnly();
  EXPECT_EQ(wide->lastX, 10 - 20) << "negative margin, overhanging both sides";
}

TEST_F(SimpleButtonTest, ClickFiresOnlyOnReleaseInsideAfterPressInsideHeldOrQuick) {
  SimpleButton* button = Add(new SimpleButton(10, 10, 100, 30, kAnchorTopLeft));
  button->SetName("UP_B01");
  Move(20, 20);
  Press();
  Frame();
  Move(300, 300);
  Release();
  Frame();
  EXPECT_EQ(EventsFrom(button), 0);
  Move(20, 20);
  Press();
  Frame();
  Release();
  Frame();
  EXPECT_EQ(EventsFrom(button), 1);
  Press();  // a quick click: press and release in one poll
  Release();
  Frame();
  EXPECT_EQ(EventsFrom(button), 2);
}

TEST_F(SimpleButtonTest, SlideInAnimationMovesThirtyPixelsAFrameAndCanRemoveItsWidget) {
  SimpleButton* button = Add(new SimpleButton(300, 100, 50, 50, kAnchorTopLeft));
  button->SetAnimation(new WidgetAnimeBase(-300, 0, 10, false));
  Frame();
  EXPECT_EQ(button->GetRect().x, 300 - 270);
  Frame();
  EXPECT_EQ(button->GetRect().x, 300 - 240);
  for (int i = 0; i < 10; ++i) Frame();
  EXPECT_EQ(button->GetRect().x, 300);

  SimpleButton* leaving = Add(new SimpleButton(0, 0, 10, 10, kAnchorTopLeft));
  leaving->SetAnimation(new WidgetAnimeBase(0, -100, 2, true));
  Frame();
  EXPECT_EQ(screen->children.count, 2);
  Frame();
  EXPECT_EQ(screen->children.count, 1) << "removed and deleted at the end of its animation";
}

}  // namespace
