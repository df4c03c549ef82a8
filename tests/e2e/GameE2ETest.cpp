// The real tarn program played through real X pointer events: what a player
// sees on each screen, read back from screenshots of the window.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "ProgramHarness.h"
#include "TempDir.h"

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

// Where the main screen puts things at 1280 x 720.
struct ButtonSpot {
  const char* what;
  int x, y, w, h;
  int CentreX() const { return x + w / 2; }
  int CentreY() const { return y + h / 2; }
};
constexpr ButtonSpot kMainButtons[] = {
    {"キャラ", 10, 2, 100, 28}, {"交配", 120, 2, 100, 28},      {"市場", 230, 2, 100, 28},
    {"施設", 340, 2, 100, 28},  {"大会", 450, 2, 100, 28},      {"ライバル", 560, 2, 100, 28},
    {"Next", 1216, 0, 64, 64},  {"123456 G", 1106, 2, 100, 28}, {"カモメ兵舎", 896, 2, 200, 28},
};
constexpr const ButtonSpot& kChara = kMainButtons[0];
constexpr const ButtonSpot& kMating = kMainButtons[1];
constexpr const ButtonSpot& kTournament = kMainButtons[4];
constexpr const ButtonSpot& kRival = kMainButtons[5];
constexpr ButtonSpot kBack{"戻る", 1216, 0, 64, 64};
constexpr ButtonSpot kSelect{"選択", 608, 656, 64, 64};
constexpr ButtonSpot kPickLeft{"キャラを選択", 256, 624, 128, 64};
constexpr ButtonSpot kPickRight{"キャラを選択", 896, 624, 128, 64};
constexpr ButtonSpot kMate{"交配", 576, 624, 128, 64};
constexpr ButtonSpot kPanelClose{"×", 358, 34, 24, 24};

// Line i of the main screen's character panel (list at y 60) and of the
// picker's (list at y 2): a 100-pixel line every 104 pixels.
int MainLineY(int i) { return 64 + 104 * i; }
int PickerLineY(int i) { return 6 + 104 * i; }

// Which screen a screenshot shows, told by spots only that screen fills.
bool FilledAt(const Screenshot& s, const ButtonSpot& b) { return IsFill(s.At(b.x + 2, b.y + 3)); }
bool ShowsMainScreen(const Screenshot& s) { return IsFill(s.At(5, 15)) && NotBlack(s.At(640, 400)); }
bool ShowsMating(const Screenshot& s) {
  return IsBlack(s.At(640, 300)) && FilledAt(s, kPickLeft) && FilledAt(s, kMate) && FilledAt(s, kBack);
}
bool ShowsPicker(const Screenshot& s) { return IsFill(s.At(150, 650)) && FilledAt(s, kSelect) && FilledAt(s, kBack); }
bool ShowsTournament(const Screenshot& s) {
  return IsBlack(s.At(640, 300)) && FilledAt(s, kPickRight) && !FilledAt(s, kMate) && !FilledAt(s, kPickLeft);
}
bool ShowsRival(const Screenshot& s) { return IsFill(s.At(150, 650)) && !FilledAt(s, kSelect) && FilledAt(s, kBack); }
// The main screen's panel resting at the left edge.
bool ShowsPanelAtRest(const Screenshot& s) {
  return IsFrame(s.At(0, 400)) && IsFrame(s.At(383, 400)) && IsFill(s.At(200, 690));
}
bool HasLabel(const Screenshot& s, const ButtonSpot& b) { return s.Count(b.x, b.y, b.w, b.h, IsWhiteText) > 10; }

class GameProgram : public ::testing::Test {
 protected:
  using Ready = std::function<bool(const Screenshot&)>;

  void SetUp() override { ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run"; }
  void Launch() {
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20)) << "the program's window did not appear";
    ASSERT_TRUE(ShowsMainScreen(ShootWhen(ShowsMainScreen))) << "no main screen";
  }
  void Click(const ButtonSpot& b) { ASSERT_TRUE(program.Click(b.CentreX(), b.CentreY())); }
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
    EXPECT_FALSE(shot.Empty());
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
