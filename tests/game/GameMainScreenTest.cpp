// The game's start-up and its main screen: bar and buttons, the character
// panel, the picked character, and what the player must not be able to do.
#include <AL/al.h>
#include <unistd.h>

#include "CharList.h"
#include "CharListLine.h"
#include "CharMatingScreen.h"
#include "CharSelectScreen.h"
#include "GameMainScreen.h"
#include "GameTestSupport.h"
#include "OtherBarrackScreen.h"
#include "SubPanelCharList.h"
#include "TournamentSelectScreen.h"
#include "framework/core/SystemBase.h"
#include "framework/text/Font.h"
#include "framework/widgets/SimpleButton.h"
#include "framework/widgets/WidgetAnimeBase.h"

namespace {

using game_test::FindChild;
using game_test::GameTest;
using tarn_test::Pixel;
using TarnFramework::Rect;
using TarnFramework::Widget;

class MainScreenTest : public GameTest {
 protected:
  GameMainScreen* Main() const { return ScreenAt<GameMainScreen>(0); }
  Widget* Button(const char* name) const { return FindChild(Main(), name); }
  std::vector<SubPanelCharList*> Panels() const {
    std::vector<SubPanelCharList*> panels;
    for (int32_t i = 0; i < Main()->children.count; ++i) {
      if (auto* p = dynamic_cast<SubPanelCharList*>(Main()->children[i])) panels.push_back(p);
    }
    return panels;
  }
  // Opens the panel and lets it finish sliding in.
  SubPanelCharList* OpenPanel() {
    Click(Button("UP_B01"));
    Frames(10);
    return Panels().back();
  }
};

void ExpectRect(const Widget* w, Rect expected) {
  ASSERT_NE(w, nullptr);
  const Rect r = w->GetRect();
  EXPECT_EQ(r.x, expected.x) << w->name;
  EXPECT_EQ(r.y, expected.y) << w->name;
  EXPECT_EQ(r.width, expected.width) << w->name;
  EXPECT_EQ(r.height, expected.height) << w->name;
}

TEST_F(MainScreenTest, InitRegistersTheFiveScreensAndStartsOnTheMainScreen) {
  auto& screens = system->screenManager.screens;
  EXPECT_NE(ScreenAt<GameMainScreen>(0), nullptr);
  EXPECT_NE(ScreenAt<CharSelectScreen>(1), nullptr);
  EXPECT_EQ(screens[2], nullptr);
  EXPECT_EQ(screens[3], nullptr);
  EXPECT_NE(ScreenAt<CharMatingScreen>(4), nullptr);
  EXPECT_NE(ScreenAt<TournamentSelectScreen>(5), nullptr);
  EXPECT_NE(ScreenAt<OtherBarrackScreen>(6), nullptr);
  const char* names[] = {"GameMainScreen",         "CharSelectScreen",  "", "", "CharMattingScreen",
                         "TournamentSelectScreen", "OtherBarrackScreen"};
  for (int i = 0; i < 7; ++i) {
    if (screens[i]) {
      EXPECT_STREQ(screens[i]->name, names[i]);
    }
  }
  EXPECT_EQ(Current(), Main());
  for (int i = 0; i < 4; ++i) {
    ASSERT_NE(game->fonts[i], nullptr);
    EXPECT_EQ(game->fonts[i]->pixelSize, game->fontSizes[i]);
  }
}

TEST_F(MainScreenTest, InitWithoutTheFontFailsAndReleasesItself) {
  // A second game object in a folder without the font.
  GameSystem other;
  ASSERT_EQ(chdir("gfx"), 0);
  const bool ok = other.Init();
  ASSERT_EQ(chdir(".."), 0);
  g_game = game.get();
  EXPECT_FALSE(ok);
  EXPECT_EQ(other.fontContainer.fonts, nullptr);
  for (auto* font : other.fonts) EXPECT_EQ(font, nullptr);
}

TEST_F(MainScreenTest, BarAndButtonsSitWhereTheLayoutPutsThem) {
  EXPECT_EQ(Main()->barRect.width, 1280);
  EXPECT_EQ(Main()->barRect.height, 32);
  const char* menu[] = {"UP_B01", "UP_B02", "UP_B03", "UP_B04", "UP_B05", "UP_B06"};
  for (int i = 0; i < 6; ++i) ExpectRect(Button(menu[i]), {10 + 110 * i, 2, 100, 28});
  ExpectRect(Button("UP_Next"), {1216, 0, 64, 64});
  ExpectRect(Button("UP_BMoney"), {1106, 2, 100, 28});
  ExpectRect(Button("UP_BHome"), {896, 2, 200, 28});
  for (const char* name : {"UP_B01", "UP_Next", "UP_BMoney", "UP_BHome"}) {
    auto* button = dynamic_cast<TarnFramework::SimpleButton*>(Button(name));
    ASSERT_NE(button, nullptr);
    EXPECT_NE(button->label, nullptr) << name;
    EXPECT_EQ(button->handler, Main());
  }
}

TEST_F(MainScreenTest, DrawsBackgroundAcrossTheWindowThenTheBar) {
  DrawCurrent();
  // Bar: frame on its edges, fill inside, between the buttons.
  EXPECT_EQ(ReadPixel(700, 0), (Pixel{10, 60, 120, 255}));
  EXPECT_EQ(ReadPixel(700, 31), (Pixel{10, 60, 120, 255}));
  EXPECT_EQ(ReadPixel(5, 15), (Pixel{120, 120, 150, 255}));
  // Below the bar, the background picture at its own pixels (it is 1280 wide).
  unsigned w = 0, h = 0;
  std::vector<unsigned char> picture;
  ASSERT_EQ(lodepng::decode(picture, w, h, "gfx/3_blacksmith_a.png"), 0u);
  for (auto [x, y] : {std::pair{100, 100}, {640, 400}, {1270, 700}}) {
    const unsigned char* p = &picture[(size_t(y) * w + x) * 4];
    EXPECT_TRUE(Near(ReadPixel(x, y), Pixel{p[0], p[1], p[2], 255}, 3)) << x << "," << y;
  }
}

TEST_F(MainScreenTest, BackgroundWiderThanTheWindowIsScaledDownNotDropped) {
  // Left half red, right half green, twice the window's width.
  std::vector<unsigned char> pixels(2560 * 100 * 4, 255);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const bool left = (i / 4) % 2560 < 1280;
    pixels[i] = left ? 255 : 0;
    pixels[i + 1] = left ? 0 : 255;
    pixels[i + 2] = 0;
  }
  tarn_test::TempDir dir;
  std::vector<unsigned char> png;
  lodepng::encode(png, pixels, 2560, 100);
  Main()->background.LoadImage(dir.Write("wide.png", png).c_str());
  DrawCurrent();
  EXPECT_EQ(ReadPixel(630, 40), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(ReadPixel(650, 40), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(1200, 40), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(ReadPixel(640, 55), (Pixel{0, 0, 0, 0})) << "half height: 50 rows";
}

TEST_F(MainScreenTest, CharaButtonSlidesThePanelInAndPlaysTheChime) {
  EXPECT_FALSE(Main()->sound.clips[0].loaded) << "the sound waits for the first frame";
  game->AfterFirstFrame();
  Click(Button("UP_B01"));
  auto panels = Panels();
  ASSERT_EQ(panels.size(), 1u);
  SubPanelCharList* panel = panels[0];
  EXPECT_STREQ(panel->name, "Panel_CharList");
  EXPECT_EQ(panel->width, 384);
  EXPECT_EQ(panel->height, 720 - 32);
  EXPECT_LT(panel->GetRect().x, 0) << "still sliding in";
  Frames(9);
  ExpectRect(panel, {0, 32, 384, 688});
  ASSERT_NE(panel->closeButton, nullptr);
  ExpectRect(panel->closeButton, {384 - 2 - 24, 34, 24, 24});
  ExpectRect(panel->charList, {0, 32 + 28, 384, 688 - 28});
  EXPECT_FALSE(panel->charList->wheelScroll);

  ALint state = 0;
  alGetSourcei(Main()->sound.clips[0].source, AL_SOURCE_STATE, &state);
  EXPECT_TRUE(Main()->sound.clips[0].loaded);
  EXPECT_TRUE(state == AL_PLAYING || state == AL_STOPPED) << "the chime was started";

  // The list shows the five characters with their keys.
  CharList* list = panel->charList;
  ASSERT_EQ(list->items.count, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(std::string(list->items[i]->key), "CU_" + std::to_string(i));
}

TEST_F(MainScreenTest, SecondAndThirdClicksCloseTheOlderPanels) {
  SubPanelCharList* first = OpenPanel();
  Click(Button("UP_B01"));
  auto panels = Panels();
  ASSERT_EQ(panels.size(), 2u);
  SubPanelCharList* second = panels[1];
  ASSERT_NE(first->animation, nullptr);
  EXPECT_TRUE(first->animation->removeAtEnd) << "the first is sliding out";
  EXPECT_EQ(first->animation->endX, -1280);
  EXPECT_EQ(first->closingAnimation, nullptr);
  Frames(28);
  EXPECT_EQ(Panels().size(), 2u);
  Frames(3);
  ASSERT_EQ(Panels().size(), 1u) << "removed once its 30 frames are over";
  EXPECT_EQ(Panels()[0], second);

  // A third click while the second still slides out removes it at once.
  Click(Button("UP_B01"));
  Frames(2);
  Click(Button("UP_B01"));
  panels = Panels();
  ASSERT_EQ(panels.size(), 2u) << "second panel gone at once, third sliding out, fourth in";
  EXPECT_TRUE(panels[0]->animation->removeAtEnd);
  EXPECT_FALSE(panels[1]->animation->removeAtEnd);
}

TEST_F(MainScreenTest, CloseButtonSlidesThePanelOutAndASecondPressRemovesIt) {
  SubPanelCharList* panel = OpenPanel();
  Click(panel->closeButton);
  EXPECT_TRUE(panel->animation->removeAtEnd);
  Frames(31);
  EXPECT_TRUE(Panels().empty());

  panel = OpenPanel();
  Click(panel->closeButton);
  Frames(3);
  // The button slides away faster than a click: press it as its click arrives.
  panel->OnEvent(0, panel->closeButton, 0, 0, 0);
  Frame();
  EXPECT_TRUE(Panels().empty()) << "second press during the slide removes it at once";
}

TEST_F(MainScreenTest, ClickingAListLinePicksThatCharacterAndDrawsItLarge) {
  DrawCurrent();
  const std::vector<Pixel> empty = ReadRect(500, 200, 280, 500);

  SubPanelCharList* panel = OpenPanel();
  ClickLine(panel->charList, 1);
  EXPECT_EQ(Main()->selectedUnit, Unit(1));
  EXPECT_EQ(panel->charList->selectedIndex, 1);
  const int counted = Main()->frameCount;
  EXPECT_GT(counted, 0);
  Frames(5);
  EXPECT_EQ(Main()->frameCount, counted + 5);

  // test02 stands on the bottom edge, centred.
  DrawCurrent();
  EXPECT_NE(ReadRect(500, 200, 280, 500), empty);

  // Another unit does not restart the count.
  ClickLine(panel->charList, 0);
  EXPECT_EQ(Main()->selectedUnit, Unit(0));
  EXPECT_EQ(Main()->frameCount, counted + 7);
}

TEST_F(MainScreenTest, PickedCharacterIsDrawnWithTheFrameCountAtTheBottomCentre) {
  game_test::RecordingGraphic* graphic = RecordUnit(2);
  SubPanelCharList* panel = OpenPanel();
  ClickLine(panel->charList, 2);
  graphic->calls.clear();
  DrawCurrent();
  const auto calls = graphic->FullCalls();
  ASSERT_EQ(calls.size(), 1u);
  const auto* full = &calls[0];
  EXPECT_EQ(full->frame, Main()->frameCount);
  EXPECT_EQ(full->x, 640);
  EXPECT_EQ(full->y, 720);
  EXPECT_DOUBLE_EQ(full->scale, 1.0);
}

TEST_F(MainScreenTest, CharacterWithAnEmptyGraphicSlotDrawsNothing) {
  game->charGraphics.Remove(Unit(4)->graphicIndex);
  Unit(3)->graphicIndex = 300;  // out of the table
  DrawCurrent();
  const std::vector<Pixel> empty = ReadRect(400, 100, 480, 600);
  for (int i : {3, 4}) {
    Main()->selectedUnit = Unit(i);
    DrawCurrent();
    EXPECT_EQ(ReadRect(400, 100, 480, 600), empty) << i;
  }
}

TEST_F(MainScreenTest, ListKeysMustBeUnitKeysToChangeThePick) {
  SubPanelCharList* panel = OpenPanel();
  Main()->selectedUnit = Unit(2);
  auto send = [&](const char* key) {
    panel->charList->selectedKey = key;
    Main()->OnEvent(0, panel, 0, 0, 0);
  };
  send("CUX_1");
  EXPECT_EQ(Main()->selectedUnit, Unit(2));
  send("");
  EXPECT_EQ(Main()->selectedUnit, Unit(2));
  send(nullptr);
  EXPECT_EQ(Main()->selectedUnit, Unit(2));
  send("CU_3");
  EXPECT_EQ(Main()->selectedUnit, Unit(3));
  send("CU");
  EXPECT_EQ(Main()->selectedUnit, nullptr) << "a unit key no unit has picks none";
  Main()->OnEvent(0, Main(), 0, 0, 0);  // a sender of another kind with that name is ignored
  Frame();
  EXPECT_EQ(Main()->frameCount, 0) << "the count restarts without a pick";
}

TEST_F(MainScreenTest, RightClicksDoNothing) {
  for (const char* name : {"UP_B01", "UP_B02", "UP_B05", "UP_B06"}) {
    Click(Button(name), GLFW_MOUSE_BUTTON_RIGHT);
    Frame();
    EXPECT_EQ(Current(), Main()) << name;
  }
  EXPECT_TRUE(Panels().empty());
  SubPanelCharList* panel = OpenPanel();
  ClickLine(panel->charList, 1);
  EXPECT_EQ(Main()->selectedUnit, Unit(1));
  Click(panel->closeButton, GLFW_MOUSE_BUTTON_RIGHT);
  ClickLine(panel->charList, 0);  // the panel must still be there, at rest
  EXPECT_EQ(Main()->selectedUnit, Unit(0));
  EXPECT_EQ(panel->animation->removeAtEnd, false);
}

TEST_F(MainScreenTest, ResizeKeepsTheBarFullWidthAndButtonsOnTheirCorners) {
  SubPanelCharList* panel = OpenPanel();
  TarnFramework::OnWindowSize(nullptr, 1000, 600);
  EXPECT_EQ(Main()->barRect.width, 1000);
  ExpectRect(Button("UP_B01"), {10, 2, 100, 28});
  ExpectRect(Button("UP_Next"), {936, 0, 64, 64});
  ExpectRect(Button("UP_BHome"), {616, 2, 200, 28});
  EXPECT_EQ(panel->width, 300);
  EXPECT_EQ(panel->height, 600 - 32);
  EXPECT_EQ(panel->charList->width, 300);
  ASSERT_EQ(panel->charList->items.count, 5);
  EXPECT_EQ(static_cast<CharListLine*>(panel->charList->items[0]->drawer)->width, 292);

  // The picker's panel (built without a close button) reaches the top.
  auto* picker = FindChild(ScreenAt<CharSelectScreen>(1), "Panel_CharList");
  auto* pickerPanel = dynamic_cast<SubPanelCharList*>(picker);
  ASSERT_NE(pickerPanel, nullptr);
  EXPECT_EQ(pickerPanel->height, 600);
  EXPECT_EQ(pickerPanel->charList->height, 598);

  // A minimised window has no size; the game keeps running through it.
  TarnFramework::OnWindowSize(nullptr, 0, 0);
  Frames(2);
  TarnFramework::OnWindowSize(nullptr, 1280, 720);
  Frames(2);
  EXPECT_EQ(Main()->barRect.width, 1280);
  EXPECT_EQ(panel->charList->items.count, 5);
}

}  // namespace
