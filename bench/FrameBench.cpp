// Whole frames of the real game in the real window (the virtual display's
// software GL): each screen for a few hundred frames, then the floor, a frame
// that only clears and swaps. Prints median and 99th-percentile CPU time per
// frame of the whole process, as the GL driver rasterises on its own threads.
// Frames run uncapped: the benchmark turns the game's frame pacing off
// (SystemBase::framePacing) and times each frame's CPU, not its wall time.
#include <GLFW/glfw3.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CharList.h"
#include "GameMainScreen.h"
#include "GameTestSupport.h"
#include "SubPanelCharList.h"

namespace {

constexpr int kWarmUp = 30;
constexpr int kFrames = 300;

double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Figures {
  double median, p99;
};

template <class Frame>
Figures Measure(Frame frame) {
  for (int i = 0; i < kWarmUp; ++i) frame();
  std::vector<double> times;
  times.reserve(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    const double start = CpuMs();
    frame();
    times.push_back(CpuMs() - start);
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times[(times.size() * 99) / 100]};
}

void Print(const char* name, Figures f, double floorMedian) {
  std::printf("frame %-24s median %7.3f ms  p99 %7.3f ms  %5.1fx floor\n", name, f.median, f.p99,
              floorMedian > 0 ? f.median / floorMedian : 0.0);
}

// TARN_FRAME_SCREEN names the one screen to run (for recording its GL stream
// alone); unset, every screen runs.
bool Wanted(const char* name) {
  const char* only = std::getenv("TARN_FRAME_SCREEN");
  return !only || !only[0] || std::strcmp(only, name) == 0;
}

class FrameBench : public game_test::GameTest {};

TEST_F(FrameBench, Screens) {
  // Uncapped: frames back to back, not held to 60 a second.
  system->framePacing = false;
  GLFWwindow* window = system->graphicManager.window;
  const char* only = std::getenv("TARN_FRAME_SCREEN");
  const bool one = only && only[0];
  const Figures floor = one ? Figures{0, 0} : Measure([&] {
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    glfwPollEvents();
  });

  // The main screen with the character panel open and the skeletal character
  // picked (the line of unit 4), as the heaviest screen a player sees.
  auto* main = ScreenAt<GameMainScreen>(0);
  ASSERT_NE(main, nullptr);
  TarnFramework::Widget* chara = game_test::FindChild(main, "UP_B01");
  ASSERT_NE(chara, nullptr);
  Click(chara);
  Frames(10);
  SubPanelCharList* panel = nullptr;
  for (int32_t i = 0; i < main->children.count; ++i)
    if (auto* p = dynamic_cast<SubPanelCharList*>(main->children[i])) panel = p;
  ASSERT_NE(panel, nullptr);
  for (int line = 4; line >= 0 && (!main->selectedUnit || main->selectedUnit->graphicIndex != 4); --line)
    ClickLine(panel->charList, line);
  ASSERT_NE(main->selectedUnit, nullptr);
  std::printf("picked unit with graphic %d\n", main->selectedUnit->graphicIndex);

  std::vector<std::pair<const char*, Figures>> rows;
  if (Wanted("GameMainScreen")) rows.push_back({"GameMainScreen", Measure([&] { Frame(); })});
  const struct {
    int slot;
    const char* name;
  } others[] = {
      {1, "CharSelectScreen"}, {4, "CharMattingScreen"}, {5, "TournamentSelectScreen"}, {6, "OtherBarrackScreen"}};
  for (const auto& screen : others) {
    if (!Wanted(screen.name)) continue;
    system->screenManager.ChangeScreen(screen.slot);
    Frame();
    rows.push_back({screen.name, Measure([&] { Frame(); })});
  }
  if (!one) Print("floor (clear and swap)", floor, floor.median);
  for (const auto& row : rows) Print(row.first, row.second, floor.median);
}

}  // namespace
