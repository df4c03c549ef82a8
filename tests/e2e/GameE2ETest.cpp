// The real tarn program played through real X pointer events: what a player
// sees on each screen, read back from screenshots of the window.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <utility>

#include "ProgramHarness.h"
#include "TempDir.h"
#include "VirtualDesktop.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;
using Rgb = Screenshot::Rgb;

// Widget style colours as they reach the screen.
bool IsFill(Rgb p) { return p.r == 120 && p.g == 120 && p.b == 150; }
bool IsFrame(Rgb p) { return p.r == 10 && p.g == 60 && p.b == 120; }
bool IsSelectedBand(Rgb p) { return p.r == 100 && p.g == 100 && p.b == 160; }
bool IsWhiteText(Rgb p) { return p.r > 200 && p.g > 200 && p.b > 200; }
bool IsBlack(Rgb p) { return p.r == 0 && p.g == 0 && p.b == 0; }
bool NotBlack(Rgb p) { return !IsBlack(p); }

std::string Artifact(const std::string& name) {
  mkdir(TARN_E2E_ARTIFACTS, 0755);
  return std::string(TARN_E2E_ARTIFACTS) + "/" + name;
}

// The corner or edge a button keeps its distance from when the window grows.
enum class Anchor { TopLeft, TopRight, BottomLeft, BottomRight, BottomCentre, PanelTopRight };

// Where the screens put things at 1280 x 720, and what they are anchored to.
struct ButtonSpot {
  const char* what;
  int x, y, w, h;
  Anchor anchor = Anchor::TopLeft;
  int CentreX() const { return x + w / 2; }
  int CentreY() const { return y + h / 2; }
  // The same button in a window of width x height (the layout of Parts 6.1,
  // 6.3 and 6.4: anchored buttons keep their offsets; the character panel is
  // 30 % of the width, with its close button in its top-right corner).
  ButtonSpot In(int width, int height) const {
    const int dx = width - 1280, dy = height - 720;
    ButtonSpot at = *this;
    switch (anchor) {
      case Anchor::TopLeft: break;
      case Anchor::TopRight: at.x += dx; break;
      case Anchor::BottomLeft: at.y += dy; break;
      case Anchor::BottomRight: at.x += dx, at.y += dy; break;
      case Anchor::BottomCentre: at.x += dx / 2, at.y += dy; break;
      case Anchor::PanelTopRight: at.x += int(width * 0.3) - 384; break;
    }
    return at;
  }
};
constexpr ButtonSpot kMainButtons[] = {
    {"キャラ", 10, 2, 100, 28},
    {"交配", 120, 2, 100, 28},
    {"市場", 230, 2, 100, 28},
    {"施設", 340, 2, 100, 28},
    {"大会", 450, 2, 100, 28},
    {"ライバル", 560, 2, 100, 28},
    {"Next", 1216, 0, 64, 64, Anchor::TopRight},
    {"123456 G", 1106, 2, 100, 28, Anchor::TopRight},
    {"カモメ兵舎", 896, 2, 200, 28, Anchor::TopRight},
};
constexpr const ButtonSpot& kChara = kMainButtons[0];
constexpr const ButtonSpot& kMating = kMainButtons[1];
constexpr const ButtonSpot& kTournament = kMainButtons[4];
constexpr const ButtonSpot& kRival = kMainButtons[5];
constexpr ButtonSpot kBack{"戻る", 1216, 0, 64, 64, Anchor::TopRight};
constexpr ButtonSpot kSelect{"選択", 608, 656, 64, 64, Anchor::BottomCentre};
constexpr ButtonSpot kPickLeft{"キャラを選択", 256, 624, 128, 64, Anchor::BottomLeft};
constexpr ButtonSpot kPickRight{"キャラを選択", 896, 624, 128, 64, Anchor::BottomRight};
constexpr ButtonSpot kMate{"交配", 576, 624, 128, 64, Anchor::BottomCentre};
constexpr ButtonSpot kPanelClose{"×", 358, 34, 24, 24, Anchor::PanelTopRight};

// A button as placed in the window a screenshot shows.
ButtonSpot Placed(const Screenshot& s, const ButtonSpot& b) { return b.In(int(s.width), int(s.height)); }

// Line i of the main screen's character panel (list at y 60) and of the
// picker's (list at y 2): a 100-pixel line every 104 pixels.
int MainLineY(int i) { return 64 + 104 * i; }
int PickerLineY(int i) { return 6 + 104 * i; }

// Which screen a screenshot shows, told by spots only that screen fills.
bool FilledAt(const Screenshot& s, const ButtonSpot& spot) {
  const ButtonSpot b = Placed(s, spot);
  return IsFill(s.At(b.x + 2, b.y + 3));
}
bool ShowsMainScreen(const Screenshot& s) { return IsFill(s.At(5, 15)) && NotBlack(s.At(640, 400)); }
bool ShowsMating(const Screenshot& s) {
  return IsBlack(s.At(640, 300)) && FilledAt(s, kPickLeft) && FilledAt(s, kMate) && FilledAt(s, kBack);
}
bool ShowsPicker(const Screenshot& s) { return IsFill(s.At(150, 650)) && FilledAt(s, kSelect) && FilledAt(s, kBack); }
bool ShowsTournament(const Screenshot& s) {
  return IsBlack(s.At(640, 300)) && FilledAt(s, kPickRight) && !FilledAt(s, kMate) && !FilledAt(s, kPickLeft);
}
bool ShowsRival(const Screenshot& s) { return IsFill(s.At(150, 650)) && !FilledAt(s, kSelect) && FilledAt(s, kBack); }
// The main screen's panel resting at the left edge, 30 % of the width.
bool ShowsPanelAtRest(const Screenshot& s) {
  return IsFrame(s.At(0, 400)) && IsFrame(s.At(int(s.width * 0.3) - 1, 400)) && IsFill(s.At(200, 690));
}
bool HasLabel(const Screenshot& s, const ButtonSpot& spot) {
  const ButtonSpot b = Placed(s, spot);
  return s.Count(b.x, b.y, b.w, b.h, IsWhiteText) > 10;
}

class GameProgram : public ::testing::Test {
 protected:
  using Ready = std::function<bool(const Screenshot&)>;

  void SetUp() override { ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run"; }
  void Launch() {
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20)) << "the program's window did not appear";
    ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen))) << "no main screen";
  }
  void Click(const ButtonSpot& spot) {
    const ButtonSpot b = spot.In(width, height);
    ASSERT_TRUE(program.Click(b.CentreX(), b.CentreY()));
  }
  void ClickAt(int x, int y) { ASSERT_TRUE(program.Click(x, y)); }
  // Press and release at once, as a fast click or a touchpad tap: both reach
  // the program in one event poll.
  void QuickClickAt(int x, int y) {
    ASSERT_TRUE(program.MoveTo(x, y));
    ProgramHarness::Pause(80);
    ASSERT_TRUE(program.Xdotool({"click", "1"}));
    ProgramHarness::Pause(120);
  }
  // The harness's ShootWhen, kept as an artifact when named.
  Screenshot ShootWhen(const Ready& ready, const char* artifact = nullptr, double seconds = 15) {
    Screenshot shot = program.ShootWhen(ready, seconds);
    EXPECT_FALSE(shot.Empty()) << program.WhyNoShot();
    if (artifact) shot.Save(Artifact(artifact));
    return shot;
  }
  // For what must not change: lets the program run a while first.
  Screenshot ShootAfter(int milliseconds) {
    ProgramHarness::Pause(milliseconds);
    return program.Shoot();
  }
  void CloseAndExpectExitZero() {
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(20), 0);
  }

  ProgramHarness program;
  // The window's size: where Click finds the buttons.
  int width = 1280;
  int height = 720;
};

TEST_F(GameProgram, MainScreenShowsBackgroundBarAndLabelledButtons) {
  Launch();
  Screenshot shot = ShootWhen(ShowsMainScreen, "main-empty.png");
  ASSERT_EQ(shot.width, 1280u);
  ASSERT_EQ(shot.height, 720u);

  // The top bar: framed, filled between the buttons, across the whole width.
  EXPECT_TRUE(IsFrame(shot.At(700, 0)));
  EXPECT_TRUE(IsFrame(shot.At(700, 31)));
  EXPECT_TRUE(IsFill(shot.At(700, 15)));
  EXPECT_TRUE(IsFill(shot.At(5, 15)));
  for (const ButtonSpot& b : kMainButtons) {
    EXPECT_TRUE(IsFrame(shot.At(b.x, b.y + b.h / 2))) << b.what;
    EXPECT_TRUE(FilledAt(shot, b)) << b.what;
    EXPECT_TRUE(HasLabel(shot, b)) << b.what;
  }

  // Below the bar, the workshop picture pixel for pixel.
  std::vector<unsigned char> picture;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(picture, w, h, std::string(TARN_WORKDIR) + "/gfx/3_blacksmith_a.png"), 0u);
  ASSERT_EQ(w, 1280u);
  int off = 0;
  for (int y = 100; y < 720; y += 37) {
    for (int x = 3; x < 1280; x += 41) {
      const unsigned char* p = &picture[(size_t(y) * w + x) * 4];
      const Rgb s = shot.At(x, y);
      off += std::abs(s.r - p[0]) > 3 || std::abs(s.g - p[1]) > 3 || std::abs(s.b - p[2]) > 3;
    }
  }
  EXPECT_EQ(off, 0);
  CloseAndExpectExitZero();
}

TEST_F(GameProgram, CharacterPanelListsPicksAndCloses) {
  Launch();
  const Screenshot empty = ShootWhen(ShowsMainScreen);

  // Right clicks do nothing.
  ASSERT_TRUE(program.Click(kChara.CentreX(), kChara.CentreY(), 3));
  ASSERT_TRUE(program.Click(kMating.CentreX(), kMating.CentreY(), 3));
  program.MoveTo(kChara.CentreX(), kChara.CentreY());
  EXPECT_EQ(ShootAfter(600).Differences(empty, 0, 32, 1280, 688), 0) << "no panel, no other screen";

  // キャラ: the panel slides in from the left and rests at (0, 32), 384 wide.
  Click(kChara);
  Screenshot panel = ShootWhen(ShowsPanelAtRest, "panel-open.png");
  ASSERT_TRUE(ShowsPanelAtRest(panel));
  EXPECT_EQ(panel.Differences(empty, 386, 100, 800, 600), 0) << "the rest of the screen is untouched";
  EXPECT_TRUE(HasLabel(panel, kPanelClose));
  // Five lines, each with a framed portrait and a name; the first four
  // portraits are the picture characters' faces, the fifth the skeletal one's.
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const int top = MainLineY(i);
    EXPECT_TRUE(IsFrame(panel.At(4, top + 50)));
    EXPECT_GT(panel.Count(104, top + 8, 120, 30, IsWhiteText), 20) << "name";
    EXPECT_GT(panel.Count(104, top + 50, 250, 30, IsWhiteText), 50) << "status line";
    EXPECT_GT(panel.Count(13, top + 9, 82, 82, [](Rgb p) { return !IsFill(p); }), 2000) << "face";
  }

  // A line picks its character, who then stands large in the middle; a quick
  // click does it as well as a held one.
  QuickClickAt(190, MainLineY(1) + 50);
  auto characterDrawn = [&](const Screenshot& s) { return s.Differences(empty, 520, 200, 240, 500) > 20000; };
  Screenshot picked = ShootWhen(characterDrawn);
  EXPECT_TRUE(characterDrawn(picked));
  EXPECT_TRUE(IsSelectedBand(picked.At(2, MainLineY(1) + 50)));

  // キャラ again: a new panel (no selection) over the old one sliding away.
  Click(kChara);
  Screenshot again =
      ShootWhen([](const Screenshot& s) { return ShowsPanelAtRest(s) && IsFill(s.At(2, MainLineY(1) + 50)); });
  EXPECT_TRUE(ShowsPanelAtRest(again));
  EXPECT_TRUE(IsFill(again.At(2, MainLineY(1) + 50))) << "the new list has no selection";
  EXPECT_EQ(again.Differences(picked, 386, 100, 800, 600), 0) << "nothing left of the old panel";

  // ×: the panel slides out; the character stays.
  QuickClickAt(kPanelClose.CentreX(), kPanelClose.CentreY());
  auto panelGone = [&](const Screenshot& s) { return s.Differences(empty, 0, 32, 170, 688) == 0; };
  Screenshot closed = ShootWhen(panelGone, "main-character.png");
  EXPECT_TRUE(panelGone(closed));
  EXPECT_TRUE(characterDrawn(closed)) << "the character is still drawn";
  EXPECT_TRUE(ShowsMainScreen(closed));
  CloseAndExpectExitZero();
}

// Escape slides the character panel out, as its × does, and on every other
// screen does what that screen's 戻る does; where there is nothing to close
// it changes nothing.
TEST_F(GameProgram, EscapeClosesThePanelAndActsAsBackOnTheOtherScreens) {
  Launch();
  const Screenshot empty = ShootWhen(ShowsMainScreen);
  auto escape = [&] { ASSERT_TRUE(program.Xdotool({"key", "Escape"})); };
  ASSERT_TRUE(program.MoveTo(640, 400));  // the keyboard follows the pointer
  escape();
  EXPECT_EQ(ShootAfter(500).Differences(empty, 0, 0, 1280, 720), 0) << "nothing open, nothing changes";

  Click(kChara);
  ASSERT_TRUE(ShowsPanelAtRest(ShootWhen(ShowsPanelAtRest)));
  escape();
  auto panelGone = [&](const Screenshot& s) { return s.Differences(empty, 0, 0, 1280, 720) == 0; };
  EXPECT_TRUE(panelGone(ShootWhen(panelGone))) << "the panel slid out";

  // The picker: Escape drops the pick, as 戻る does, and returns to the
  // mating screen with that place empty; Escape there returns to the main screen.
  auto leftPlace = [](const Screenshot& s) { return s.Count(220, 200, 200, 420, NotBlack); };
  Click(kMating);
  ASSERT_TRUE(ShowsMating(ShootWhen(ShowsMating)));
  Click(kPickLeft);
  ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker)));
  ClickAt(150, PickerLineY(0) + 50);
  auto drawn = [](const Screenshot& s) { return s.Count(500, 150, 280, 480, NotBlack) > 20000; };
  ASSERT_TRUE(drawn(ShootWhen(drawn)));
  escape();
  auto emptyMating = [&](const Screenshot& s) { return ShowsMating(s) && leftPlace(s) == 0; };
  EXPECT_TRUE(emptyMating(ShootWhen(emptyMating)));
  escape();
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen)));
  for (const auto& [button, shows] :
       {std::pair<ButtonSpot, bool (*)(const Screenshot&)>{kTournament, ShowsTournament}, {kRival, ShowsRival}}) {
    SCOPED_TRACE(button.what);
    Click(button);
    ASSERT_TRUE(shows(ShootWhen(shows)));
    escape();
    EXPECT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen)));
  }
  CloseAndExpectExitZero();
}

TEST_F(GameProgram, SkeletalCharacterAnimatesWhenPicked) {
  Launch();
  const Screenshot empty = ShootWhen(ShowsMainScreen);
  Click(kChara);
  ASSERT_TRUE(ShowsPanelAtRest(ShootWhen(ShowsPanelAtRest)));
  ClickAt(190, MainLineY(4) + 50);
  auto characterDrawn = [&](const Screenshot& s) { return s.Differences(empty, 420, 100, 440, 620) > 20000; };
  const Screenshot first = ShootWhen(characterDrawn, "skeletal-character.png");
  ASSERT_TRUE(characterDrawn(first));
  // Its idle loop breathes, sways and blinks: a moment later it looks different.
  auto moved = [&](const Screenshot& s) { return s.Differences(first, 420, 100, 440, 620) > 100; };
  EXPECT_TRUE(moved(ShootWhen(moved)));
  CloseAndExpectExitZero();
}

TEST_F(GameProgram, MatingTournamentAndRivalScreensWithThePicker) {
  Launch();
  auto leftPlace = [](const Screenshot& s) { return s.Count(220, 200, 200, 420, NotBlack); };
  auto rightPlace = [](const Screenshot& s) { return s.Count(860, 200, 200, 420, NotBlack); };
  auto bigDrawing = [](const Screenshot& s) { return s.Count(500, 150, 280, 480, NotBlack); };
  // Picks line in the picker, waits for its drawing, then presses 選択.
  auto pick = [&](int line) {
    ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker)));
    ClickAt(150, PickerLineY(line) + 50);
    EXPECT_GT(bigDrawing(ShootWhen([&](const Screenshot& s) { return bigDrawing(s) > 20000; })), 20000);
    Click(kSelect);
  };

  // 交配: two empty places and three buttons on a black screen.
  Click(kMating);
  Screenshot mating = ShootWhen(ShowsMating);
  ASSERT_TRUE(ShowsMating(mating));
  for (const ButtonSpot& b : {kPickLeft, kPickRight, kMate, kBack}) EXPECT_TRUE(HasLabel(mating, b)) << b.what;
  EXPECT_EQ(leftPlace(mating) + rightPlace(mating), 0);

  // Left place through the picker: a line shows the character, 選択 keeps it.
  Click(kPickLeft);
  Screenshot picker = ShootWhen(ShowsPicker);
  ASSERT_TRUE(ShowsPicker(picker));
  EXPECT_TRUE(HasLabel(picker, kSelect));
  EXPECT_TRUE(HasLabel(picker, kBack));
  EXPECT_EQ(bigDrawing(picker), 0);
  pick(0);
  auto leftFilled = [&](const Screenshot& s) { return ShowsMating(s) && leftPlace(s) > 10000; };
  mating = ShootWhen(leftFilled);
  ASSERT_TRUE(leftFilled(mating));
  EXPECT_EQ(rightPlace(mating), 0);

  // Right place: the picker starts empty again.
  Click(kPickRight);
  picker = ShootWhen(ShowsPicker);
  EXPECT_EQ(bigDrawing(picker), 0);
  pick(2);
  auto bothFilled = [&](const Screenshot& s) { return leftFilled(s) && rightPlace(s) > 10000; };
  mating = ShootWhen(bothFilled, "mating.png");
  ASSERT_TRUE(bothFilled(mating));
  // Both stand on the ground line 96 pixels above the bottom, nothing below it
  // between the buttons.
  EXPECT_EQ(mating.Count(400, 625, 150, 95, NotBlack), 0);
  EXPECT_GT(mating.Count(220, 560, 200, 64, NotBlack), 500);
  EXPECT_GT(mating.Count(860, 560, 200, 64, NotBlack), 500);

  // Left place again, left with 戻る: that place is emptied.
  Click(kPickLeft);
  ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker)));
  Click(kBack);
  auto leftEmptied = [&](const Screenshot& s) { return ShowsMating(s) && leftPlace(s) == 0; };
  mating = ShootWhen(leftEmptied);
  ASSERT_TRUE(leftEmptied(mating));
  EXPECT_GT(rightPlace(mating), 10000);

  // 戻る: the main screen.
  Click(kBack);
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen)));

  // 大会: one place at three quarters of the width, filled through the picker.
  Click(kTournament);
  Screenshot tournament = ShootWhen(ShowsTournament);
  ASSERT_TRUE(ShowsTournament(tournament));
  EXPECT_TRUE(HasLabel(tournament, kPickRight));
  EXPECT_EQ(rightPlace(tournament), 0);
  Click(kPickRight);
  pick(3);
  auto entered = [&](const Screenshot& s) { return ShowsTournament(s) && rightPlace(s) > 10000; };
  tournament = ShootWhen(entered, "tournament.png");
  ASSERT_TRUE(entered(tournament));
  EXPECT_EQ(leftPlace(tournament), 0);
  Click(kBack);
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen)));

  // ライバル: ten two-line entries; they fit, so the wheel leaves them in place.
  Click(kRival);
  ASSERT_TRUE(ShowsRival(ShootWhen(ShowsRival)));
  program.MoveTo(150, 300);
  Screenshot rival = ShootAfter(300);
  rival.Save(Artifact("rival.png"));
  for (int i = 0; i < 10; ++i) {
    EXPECT_GT(rival.Count(4, 4 + 44 * i, 200, 20, IsWhiteText), 20) << "entry " << i << ", first line";
    EXPECT_GT(rival.Count(4, 24 + 44 * i, 200, 20, IsWhiteText), 20) << "entry " << i << ", second line";
  }
  ASSERT_TRUE(program.Wheel(150, 300, 3));
  EXPECT_EQ(ShootAfter(300).Differences(rival, 0, 0, 300, 720), 0);
  Click(kBack);
  EXPECT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen)));
  CloseAndExpectExitZero();
}

// The window at the design size and at full HD, under a window manager on a
// screen large enough for both: every button is drawn whole with its label,
// and every one that leads somewhere still opens its screen.
struct WindowSize {
  int width, height;
};
void PrintTo(const WindowSize& size, std::ostream* out) { *out << size.width << " x " << size.height; }

class GameProgramAtSize : public GameProgram, public ::testing::WithParamInterface<WindowSize> {
 protected:
  // The desktop comes before the fixture, whose harness connects to it.
  static void SetUpTestSuite() { desktop = new tarn_test::VirtualDesktop(); }
  static void TearDownTestSuite() {
    delete desktop;
    desktop = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(desktop && desktop->Ready()) << (desktop ? desktop->Why() : "no desktop");
    GameProgram::SetUp();
  }
  // Resizes the window as a user would and waits for the main screen drawn
  // for the new size (its top-right button in the new corner).
  void ResizeTo(int w, int h) {
    const std::string window = std::to_string(program.window());
    ASSERT_TRUE(program.Xdotool({"windowmove", window, "0", "0"}));
    ASSERT_TRUE(program.Xdotool({"windowsize", window, std::to_string(w), std::to_string(h)}));
    width = w;
    height = h;
    auto resized = [&](const Screenshot& s) {
      return int(s.width) == w && int(s.height) == h && ShowsMainScreen(s) && FilledAt(s, kMainButtons[6]);
    };
    ASSERT_TRUE(resized(ShootWhen(resized))) << "not drawn at " << w << " x " << h;
  }

  static tarn_test::VirtualDesktop* desktop;
};

tarn_test::VirtualDesktop* GameProgramAtSize::desktop = nullptr;

TEST_P(GameProgramAtSize, EveryButtonIsWholeAndOpensItsScreen) {
  const WindowSize size = GetParam();
  Launch();
  ResizeTo(size.width, size.height);
  const std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);

  // The top bar: each button framed on both sides, filled and labelled, and
  // none over another (the spots leave a gap between neighbours).
  const Screenshot main = ShootWhen(ShowsMainScreen, ("main-" + name + ".png").c_str());
  for (const ButtonSpot& spot : kMainButtons) {
    const ButtonSpot b = spot.In(size.width, size.height);
    EXPECT_TRUE(IsFrame(main.At(b.x, b.y + b.h / 2))) << b.what;
    EXPECT_TRUE(IsFrame(main.At(b.x + b.w - 1, b.y + b.h / 2))) << b.what;
    EXPECT_TRUE(FilledAt(main, spot)) << b.what;
    EXPECT_TRUE(HasLabel(main, spot)) << b.what;
  }

  // キャラ: the panel; its × closes it.
  Click(kChara);
  ASSERT_TRUE(ShowsPanelAtRest(ShootWhen(ShowsPanelAtRest))) << "キャラ";
  EXPECT_TRUE(HasLabel(program.Shoot(), kPanelClose));
  Click(kPanelClose);
  auto panelGone = [&](const Screenshot& s) { return s.Differences(main, 0, 32, 170, 600) == 0; };
  ASSERT_TRUE(panelGone(ShootWhen(panelGone))) << "×";

  // 交配, and from it both pickers (left with 戻る and with 選択), then 戻る.
  Click(kMating);
  ASSERT_TRUE(ShowsMating(ShootWhen(ShowsMating))) << "交配";
  for (const ButtonSpot& b : {kPickLeft, kPickRight, kMate, kBack}) EXPECT_TRUE(HasLabel(program.Shoot(), b)) << b.what;
  Click(kPickLeft);
  ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker))) << "left キャラを選択";
  Click(kBack);
  ASSERT_TRUE(ShowsMating(ShootWhen(ShowsMating))) << "the picker's 戻る";
  Click(kPickRight);
  ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker))) << "right キャラを選択";
  Click(kSelect);
  ASSERT_TRUE(ShowsMating(ShootWhen(ShowsMating))) << "the picker's 選択";
  Click(kBack);
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen))) << "the mating screen's 戻る";

  // 大会, its picker, then 戻る.
  Click(kTournament);
  ASSERT_TRUE(ShowsTournament(ShootWhen(ShowsTournament))) << "大会";
  Click(kPickRight);
  ASSERT_TRUE(ShowsPicker(ShootWhen(ShowsPicker))) << "the tournament's キャラを選択";
  Click(kBack);
  ASSERT_TRUE(ShowsTournament(ShootWhen(ShowsTournament))) << "back from the picker";
  Click(kBack);
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen))) << "the tournament's 戻る";

  // ライバル, then 戻る.
  Click(kRival);
  ASSERT_TRUE(ShowsRival(ShootWhen(ShowsRival, ("rival-" + name + ".png").c_str()))) << "ライバル";
  Click(kBack);
  ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen))) << "the rival's 戻る";
  CloseAndExpectExitZero();
}

INSTANTIATE_TEST_SUITE_P(DesignAndFullHd, GameProgramAtSize,
                         ::testing::Values(WindowSize{1280, 720}, WindowSize{1920, 1080}),
                         [](const ::testing::TestParamInfo<WindowSize>& param) {
                           return std::to_string(param.param.width) + "x" + std::to_string(param.param.height);
                         });

// Runs the program with OpenAL Soft writing its mix to a file; returns the
// mix's peak after the program has closed.
int PeakOfARun(bool pressChara) {
  tarn_test::TempDir dir;
  ProgramHarness program;
  const std::string mix = program.RecordSoundIn(dir.path());
  if (!program.Start() || !program.WaitForWindow(20)) return -2;
  ProgramHarness::Pause(2000);
  if (pressChara) program.Click(kChara.CentreX(), kChara.CentreY());
  ProgramHarness::Pause(1500);
  program.SendDeleteWindow();
  if (program.WaitForExit(20) != 0) return -3;
  return tarn_test::WavPeak(mix);
}

TEST(GameProgramSound, CharaButtonPlaysTheChime) {
  EXPECT_EQ(PeakOfARun(false), 0) << "silence until a button plays the chime";
  EXPECT_GT(PeakOfARun(true), 1000);
}

}  // namespace
