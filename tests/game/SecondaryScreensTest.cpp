// The screens behind the main screen: every transition of the game and the
// picker's cycle, and where each screen draws its characters.
#include "BarrackListBox.h"
#include "CharList.h"
#include "CharMatingScreen.h"
#include "CharSelectScreen.h"
#include "GameMainScreen.h"
#include "GameTestSupport.h"
#include "OtherBarrackScreen.h"
#include "SubPanelCharList.h"
#include "TournamentSelectScreen.h"
#include "framework/core/SystemBase.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetTrackBar.h"

namespace {

using game_test::FindChild;
using game_test::GameTest;
using TarnFramework::Rect;
using TarnFramework::Widget;

class ScreensTest : public GameTest {
 protected:
  GameMainScreen* Main() const { return ScreenAt<GameMainScreen>(0); }
  CharSelectScreen* Picker() const { return ScreenAt<CharSelectScreen>(1); }
  CharMatingScreen* Mating() const { return ScreenAt<CharMatingScreen>(4); }
  TournamentSelectScreen* Tournament() const { return ScreenAt<TournamentSelectScreen>(5); }
  OtherBarrackScreen* Rival() const { return ScreenAt<OtherBarrackScreen>(6); }
  Widget* MainButton(const char* name) const { return FindChild(Main(), name); }
  CharList* PickerList() const {
    return static_cast<SubPanelCharList*>(FindChild(Picker(), "Panel_CharList"))->charList;
  }
  // In the picker: click line index, then 選択 (keep) or 戻る (clear).
  void Pick(int line, bool keep = true) {
    ASSERT_EQ(Current(), Picker());
    ClickLine(PickerList(), line);
    ClickAndSwitch(keep ? Picker()->selectButton : Picker()->backButton);
  }
};

void ExpectRect(const Widget* w, Rect expected) {
  const Rect r = w->GetRect();
  EXPECT_EQ(r.x, expected.x);
  EXPECT_EQ(r.y, expected.y);
  EXPECT_EQ(r.width, expected.width);
  EXPECT_EQ(r.height, expected.height);
}

TEST_F(ScreensTest, ButtonsSitOnTheirCorners) {
  ExpectRect(Picker()->backButton, {1216, 0, 64, 64});
  ExpectRect(Picker()->selectButton, {608, 656, 64, 64});
  ExpectRect(FindChild(Picker(), "Panel_CharList"), {0, 0, 300, 720});
  ExpectRect(Mating()->backButton, {1216, 0, 64, 64});
  ExpectRect(Mating()->pickButtons[0], {256, 624, 128, 64});
  ExpectRect(Mating()->pickButtons[1], {896, 624, 128, 64});
  ExpectRect(Mating()->mateButton, {576, 624, 128, 64});
  ExpectRect(Tournament()->backButton, {1216, 0, 64, 64});
  ExpectRect(Tournament()->pickButton, {896, 624, 128, 64});
  ExpectRect(Rival()->backButton, {1216, 0, 64, 64});
  ExpectRect(Rival()->barrackList, {0, 0, 300, 720});
  for (Widget* b : {Picker()->backButton, Picker()->selectButton, Mating()->pickButtons[0], Mating()->mateButton,
                    Tournament()->pickButton, Rival()->backButton}) {
    EXPECT_NE(static_cast<TarnFramework::SimpleButton*>(b)->label, nullptr);
  }
}

TEST_F(ScreensTest, EveryTransitionOfTheGame) {
  struct Step {
    std::function<Widget*()> widget;
    const char* to;
  };
  const std::vector<Step> steps = {
      {[&] { return MainButton("UP_B02"); }, "CharMattingScreen"},
      {[&] { return Mating()->pickButtons[0]; }, "CharSelectScreen"},
      {[&] { return Picker()->backButton; }, "CharMattingScreen"},
      {[&] { return Mating()->pickButtons[1]; }, "CharSelectScreen"},
      {[&] { return Picker()->selectButton; }, "CharMattingScreen"},
      {[&] { return Mating()->mateButton; }, "CharMattingScreen"},
      {[&] { return Mating()->backButton; }, "GameMainScreen"},
      {[&] { return MainButton("UP_B05"); }, "TournamentSelectScreen"},
      {[&] { return Tournament()->pickButton; }, "CharSelectScreen"},
      {[&] { return Picker()->selectButton; }, "TournamentSelectScreen"},
      {[&] { return Tournament()->pickButton; }, "CharSelectScreen"},
      {[&] { return Picker()->backButton; }, "TournamentSelectScreen"},
      {[&] { return Tournament()->backButton; }, "GameMainScreen"},
      {[&] { return MainButton("UP_B06"); }, "OtherBarrackScreen"},
      {[&] { return Rival()->barrackList; }, "OtherBarrackScreen"},
      {[&] { return Rival()->backButton; }, "GameMainScreen"},
      {[&] { return MainButton("UP_B03"); }, "GameMainScreen"},
      {[&] { return MainButton("UP_B04"); }, "GameMainScreen"},
      {[&] { return MainButton("UP_Next"); }, "GameMainScreen"},
      {[&] { return MainButton("UP_BMoney"); }, "GameMainScreen"},
      {[&] { return MainButton("UP_BHome"); }, "GameMainScreen"},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    ClickAndSwitch(steps[i].widget());
    ASSERT_STREQ(CurrentName(), steps[i].to) << "step " << i;
  }
}

TEST_F(ScreensTest, RightClicksChangeNoScreen) {
  ClickAndSwitch(MainButton("UP_B02"));
  for (Widget* w : {Mating()->pickButtons[0], Mating()->backButton}) {
    Click(w, GLFW_MOUSE_BUTTON_RIGHT);
    Frame();
    EXPECT_EQ(Current(), Mating());
  }
  ClickAndSwitch(Mating()->pickButtons[0]);
  Click(Picker()->backButton, GLFW_MOUSE_BUTTON_RIGHT);
  Frame();
  EXPECT_EQ(Current(), Picker());
}

TEST_F(ScreensTest, MatingPlacesAreFilledThroughThePicker) {
  ClickAndSwitch(MainButton("UP_B02"));
  ClickAndSwitch(Mating()->pickButtons[0]);
  EXPECT_EQ(Mating()->pendingPlace, 0);
  EXPECT_EQ(Picker()->previousScreen, Mating());
  Pick(1);
  EXPECT_EQ(Current(), Mating());
  EXPECT_EQ(Mating()->pairUnits[0], Unit(1));
  EXPECT_EQ(Mating()->pendingPlace, -1);

  ClickAndSwitch(Mating()->pickButtons[1]);
  EXPECT_EQ(Picker()->selectedUnit, nullptr) << "each visit starts without a pick";
  EXPECT_EQ(PickerList()->selectedIndex, -1);
  Pick(3);
  EXPECT_EQ(Mating()->pairUnits[0], Unit(1));
  EXPECT_EQ(Mating()->pairUnits[1], Unit(3));

  // The picker's 戻る empties the place that asked.
  ClickAndSwitch(Mating()->pickButtons[0]);
  Pick(2, /*keep=*/false);
  EXPECT_EQ(Mating()->pairUnits[0], nullptr);
  EXPECT_EQ(Mating()->pairUnits[1], Unit(3));

  // Leaving through the main screen empties both.
  ClickAndSwitch(Mating()->backButton);
  ClickAndSwitch(MainButton("UP_B02"));
  EXPECT_EQ(Mating()->pairUnits[0], nullptr);
  EXPECT_EQ(Mating()->pairUnits[1], nullptr);
}

TEST_F(ScreensTest, MatingDrawsBothOnTheGroundLineTheRightOneAhead) {
  game_test::RecordingGraphic* left = RecordUnit(0, 10);
  game_test::RecordingGraphic* right = RecordUnit(1, 11);
  Mating()->pairUnits[0] = Unit(0);
  Mating()->pairUnits[1] = Unit(1);
  Mating()->frameCount = 7;
  BeginFrame();
  Mating()->Draw();
  ASSERT_EQ(left->calls.size(), 1u);
  ASSERT_EQ(right->calls.size(), 1u);
  EXPECT_EQ(left->calls[0].frame, 7);
  EXPECT_EQ(left->calls[0].x, 320);
  EXPECT_EQ(left->calls[0].y, 624);
  EXPECT_DOUBLE_EQ(left->calls[0].scale, 0.8);
  EXPECT_EQ(right->calls[0].frame, 27);
  EXPECT_EQ(right->calls[0].x, 960);
  EXPECT_EQ(right->calls[0].y, 624);
}

TEST_F(ScreensTest, MatingShowsPictureCharactersStandingAboveTheButtons) {
  Mating()->pairUnits[0] = Unit(0);
  Mating()->pairUnits[1] = Unit(0);
  BeginFrame();
  Mating()->Draw();
  // test01's feet reach the ground line at 624 and no lower.
  auto coloured = [&](int x, int y, int w, int h) {
    int n = 0;
    for (const tarn_test::Pixel& p : ReadRect(x, y, w, h)) n += p.a != 0 && !(p.r == 120 && p.g == 120);
    return n;
  };
  EXPECT_GT(coloured(220, 560, 200, 60), 0);
  EXPECT_GT(coloured(860, 560, 200, 60), 0);
  EXPECT_EQ(coloured(220, 625, 30, 60), 0);
  EXPECT_EQ(coloured(0, 300, 150, 300), 0) << "nothing outside the two places";
}

TEST_F(ScreensTest, TournamentTakesThePickAndDrawsItAtThreeQuarters) {
  game_test::RecordingGraphic* graphic = RecordUnit(2);
  ClickAndSwitch(MainButton("UP_B05"));
  ClickAndSwitch(Tournament()->pickButton);
  Pick(2);
  ASSERT_EQ(Current(), Tournament()) << "the picker returns to the screen that opened it";
  EXPECT_EQ(Tournament()->entrant, Unit(2));
  graphic->calls.clear();
  DrawCurrent();
  ASSERT_EQ(graphic->calls.size(), 1u);
  EXPECT_EQ(graphic->calls[0].frame, Tournament()->frameCount + 10);
  EXPECT_EQ(graphic->calls[0].x, 960);
  EXPECT_EQ(graphic->calls[0].y, 720);
  EXPECT_DOUBLE_EQ(graphic->calls[0].scale, 0.8);

  ClickAndSwitch(Tournament()->backButton);
  ClickAndSwitch(MainButton("UP_B05"));
  EXPECT_EQ(Tournament()->entrant, nullptr);
}

TEST_F(ScreensTest, PickerKeepsItsPickWhenTheClickMissesEveryLine) {
  game_test::RecordingGraphic* graphic = RecordUnit(1);
  ClickAndSwitch(MainButton("UP_B05"));
  ClickAndSwitch(Tournament()->pickButton);
  ClickLine(PickerList(), 1);
  EXPECT_EQ(Picker()->selectedUnit, Unit(1));
  ClickAt(150, 650);  // below the fifth line
  EXPECT_EQ(PickerList()->selectedKey, nullptr);
  EXPECT_EQ(Picker()->selectedUnit, Unit(1));

  // The pick is drawn large, and its count runs only while there is one.
  graphic->calls.clear();
  const int before = Picker()->frameCount;
  DrawCurrent();
  const auto full = graphic->FullCalls();
  ASSERT_EQ(full.size(), 1u);
  EXPECT_EQ(full[0].frame, before);
  EXPECT_EQ(full[0].x, 640);
  EXPECT_EQ(full[0].y, 720);
  EXPECT_DOUBLE_EQ(full[0].scale, 1.0);
  EXPECT_EQ(Picker()->frameCount, before + 1);
}

TEST_F(ScreensTest, PickerOpenedWithoutAScreenReturnsToTheMainScreen) {
  Main()->ChangeScreen("CharSelectScreen");
  Frame();
  ASSERT_EQ(Current(), Picker());
  Picker()->previousScreen = nullptr;
  ClickAndSwitch(Picker()->selectButton);
  EXPECT_EQ(Current(), Main());

  // A remembered screen that is in no slot: nothing happens.
  TarnFramework::Screen stray;
  Main()->ChangeScreen("CharSelectScreen");
  Frame();
  Picker()->previousScreen = &stray;
  ClickAndSwitch(Picker()->backButton);
  EXPECT_EQ(Current(), Picker());
}

TEST_F(ScreensTest, RivalListHoldsTenTwoLineEntriesAndScrollsOnceTheyOverflow) {
  BarrackListBox* list = Rival()->barrackList;
  ASSERT_EQ(list->items.count, 10);
  EXPECT_EQ(list->lineX, 4);
  EXPECT_EQ(list->lineGap, 4);
  EXPECT_TRUE(list->wheelScroll);
  EXPECT_STREQ(list->name, "Panel_Barrack");
  for (int i = 0; i < 10; ++i) {
    EXPECT_STREQ(list->items[i]->key, "");
    auto* text = static_cast<TarnFramework::TextString*>(list->items[i]->drawer);
    EXPECT_EQ(text->chars.count, 12 + 13);
    EXPECT_EQ(text->height, 40) << "two lines of the 20-pixel font";
  }

  // At 720 pixels the ten entries fit; a rival screen built for a short
  // window cannot show them all and scrolls by the wheel.
  system->windowHeight = 300;
  auto* shortScreen = new OtherBarrackScreen;
  system->windowHeight = 720;
  shortScreen->SetName("ShortRival");
  system->screenManager.RegisterScreen(7, shortScreen);
  Main()->ChangeScreen("ShortRival");
  Frame();
  ASSERT_EQ(Current(), shortScreen);
  Move(150, 150);
  TarnFramework::OnScroll(nullptr, 0, -1);
  Frame();
  EXPECT_TRUE(shortScreen->barrackList->scrollBar->visible);
  EXPECT_EQ(shortScreen->barrackList->topIndex, 1);
  ClickAndSwitch(shortScreen->backButton);
  EXPECT_EQ(Current(), Main()) << "back to the screen it was opened from";
}

}  // namespace
