// A whole session of the game in one process: every screen visited, the
// skeletal character animated, then everything torn down. The runtime's
// tracking extension must end with nothing live.
#include "CharList.h"
#include "CharMatingScreen.h"
#include "CharSelectScreen.h"
#include "GameMainScreen.h"
#include "GameTestSupport.h"
#include "OtherBarrackScreen.h"
#include "SubPanelCharList.h"
#include "TournamentSelectScreen.h"
#include "framework/core/InputCallbacks.h"
#include "framework/core/SystemBase.h"
#include "framework/widgets/SimpleButton.h"
#include "skel/DebugExtension.h"

namespace {

using game_test::FindChild;
using game_test::GameTest;
using TarnFramework::Widget;

class SessionTest : public GameTest {
 protected:
  GameMainScreen* Main() const { return ScreenAt<GameMainScreen>(0); }
  CharSelectScreen* Picker() const { return ScreenAt<CharSelectScreen>(1); }
  CharMatingScreen* Mating() const { return ScreenAt<CharMatingScreen>(4); }
  TournamentSelectScreen* Tournament() const { return ScreenAt<TournamentSelectScreen>(5); }
  OtherBarrackScreen* Rival() const { return ScreenAt<OtherBarrackScreen>(6); }
  void Scroll(int x, int y, double notches) {
    Move(x, y);
    TarnFramework::OnScroll(nullptr, 0, notches);
    Frame();
  }
  void PickInPicker(int line) {
    auto* panel = static_cast<SubPanelCharList*>(FindChild(Picker(), "Panel_CharList"));
    ASSERT_NE(panel, nullptr);
    Scroll(150, 300, -1);
    ClickLine(panel->charList, line);
    Scroll(150, 300, 1);
    ClickAndSwitch(Picker()->selectButton);
  }
};

TEST_F(SessionTest, EveryScreenVisitedThenTornDownLeavesNoRuntimeBlockLive) {
  auto* tracker = dynamic_cast<skel::DebugExtension*>(skel::SkelExtension::getInstance());
  ASSERT_NE(tracker, nullptr);
  ASSERT_GT(tracker->getLiveCount(), 0u) << "the skeletal character is loaded";

  // Drawn frames are slow in the software renderer: two rounds suffice.
  for (int round = 0; round < 2; ++round) {
    // Each character in the main screen's panel, the skeleton among them.
    for (int line = 0; line < 5; ++line) {
      Click(FindChild(Main(), "UP_B01"));
      Frames(10);
      Widget* newest = Main()->children[Main()->children.count - 1];
      auto* panel = dynamic_cast<SubPanelCharList*>(newest);
      ASSERT_NE(panel, nullptr);
      Scroll(200, 300, 1);
      Scroll(200, 300, -1);
      ClickLine(panel->charList, line % 5);
      Frames(3);
      Click(panel->closeButton);
      // Older panels otherwise go when the next one opens.
      Frames(line == 4 ? 31 : 3);
    }
    ClickAndSwitch(FindChild(Main(), "UP_B02"));
    ClickAndSwitch(Mating()->pickButtons[0]);
    PickInPicker(round % 5);
    ClickAndSwitch(Mating()->pickButtons[1]);
    PickInPicker(4 - round % 5);
    Frames(5);
    ClickAndSwitch(Mating()->backButton);
    ClickAndSwitch(FindChild(Main(), "UP_B05"));
    ClickAndSwitch(Tournament()->pickButton);
    PickInPicker((round + 2) % 5);
    Frames(5);
    ClickAndSwitch(Tournament()->backButton);
    ClickAndSwitch(FindChild(Main(), "UP_B06"));
    for (int i = 0; i < 4; ++i) Scroll(150, 300, i < 2 ? -3 : 3);
    ClickAndSwitch(Rival()->backButton);
  }
  EXPECT_STREQ(CurrentName(), "GameMainScreen");

  game->Release();
  system->screenManager.Release();
  game.reset();
  g_game = nullptr;
  EXPECT_EQ(tracker->getLiveCount(), 0u);
  EXPECT_EQ(tracker->getUsedMemory(), 0u);
}

}  // namespace
