// The real tarn program's share of a core with its frame pacing on (as it
// ships) and off (TARN_FRAME_PACING=off, frames as fast as the display takes
// them), under openbox on a virtual display of its own (Xvfb, Mesa's software
// GL, no vsync): the idle main screen, the tournament screen, and the window
// minimised. CPU is the process's user and system time (every thread, the GL
// driver's included) over wall time, beside the X server's; frames are
// counted by the preloaded frame counter of the end-to-end tests.
// TARN_PACING_SECONDS sets each measurement's length (default 10).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "ProgramHarness.h"
#include "TempDir.h"
#include "VirtualDesktop.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;

bool IsFill(Screenshot::Rgb p) { return p.r == 120 && p.g == 120 && p.b == 150; }
bool ShowsBar(const Screenshot& s) { return IsFill(s.At(5, 15)); }
// The tournament screen: black with its pick button at the bottom right.
bool ShowsTournament(const Screenshot& s) {
  const Screenshot::Rgb middle = s.At(640, 300);
  return middle.r == 0 && middle.g == 0 && middle.b == 0 && IsFill(s.At(898, 627)) && !IsFill(s.At(258, 627));
}

long FramesIn(const std::string& countFile) {
  std::ifstream in(countFile);
  long frames = 0;
  in >> frames;
  return frames;
}

struct Share {
  double fps, cpu, server;  // frames a second; percent of a core, the program's and the X server's
};

Share Measure(ProgramHarness& program, pid_t server, const std::string& countFile, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  const long frames = FramesIn(countFile);
  const double cpu = tarn_test::ProcessCpuSeconds(program.pid());
  const double serverCpu = tarn_test::ProcessCpuSeconds(server);
  ProgramHarness::Pause(static_cast<int>(seconds * 1000));
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return {(FramesIn(countFile) - frames) / wall, 100 * (tarn_test::ProcessCpuSeconds(program.pid()) - cpu) / wall,
          100 * (tarn_test::ProcessCpuSeconds(server) - serverCpu) / wall};
}

void Print(const char* what, const char* mode, const Share& share) {
  std::printf("pacing %-12s %-9s %7.1f fps %7.1f %% of a core (X server %5.1f %%)\n", what, mode, share.fps, share.cpu,
              share.server);
  std::fflush(stdout);
}

// One run of the program: main screen, tournament, minimised. False when a
// step did not happen (the reason on standard error).
bool Run(bool paced, pid_t server, double seconds) {
  const char* mode = paced ? "paced" : "uncapped";
  tarn_test::TempDir dir;
  const std::string countFile = dir.File("frames");
  ProgramHarness program;
  program.SetEnvironment("LD_PRELOAD", TARN_FRAME_COUNTER);
  program.SetEnvironment("TARN_FRAME_COUNT_FILE", countFile);
  program.SetEnvironment("TARN_FRAME_PACING", paced ? "on" : "off");
  if (!program.Start() || !program.WaitForWindow(30) ||
      !tarn_test::WaitForWmState(program.display(), program.window(), 1, 20) ||
      !ShowsBar(program.ShootWhen(ShowsBar, 30))) {
    std::fprintf(stderr, "pacing: the program's window did not come up\n");
    return false;
  }
  // The pointer rests outside the window: no button is lit while measuring.
  program.Xdotool({"mousemove", "2000", "1200"});
  ProgramHarness::Pause(2000);
  Print("main screen", mode, Measure(program, server, countFile, seconds));

  program.Click(500, 16);  // 大会
  program.Xdotool({"mousemove", "2000", "1200"});
  if (!ShowsTournament(program.ShootWhen(ShowsTournament, 20))) {
    std::fprintf(stderr, "pacing: no tournament screen\n");
    return false;
  }
  ProgramHarness::Pause(1000);
  Print("tournament", mode, Measure(program, server, countFile, seconds));

  program.Xdotool({"windowminimize", std::to_string(program.window())});
  if (!tarn_test::WaitForWmState(program.display(), program.window(), 3, 20)) {
    std::fprintf(stderr, "pacing: the window was not minimised\n");
    return false;
  }
  ProgramHarness::Pause(1000);
  Print("minimised", mode, Measure(program, server, countFile, seconds));

  program.SendDeleteWindow();
  return program.WaitForExit(30) == 0;
}

}  // namespace

int main() {
  const char* length = std::getenv("TARN_PACING_SECONDS");
  const double seconds = length && std::atof(length) > 0 ? std::atof(length) : 10;
  tarn_test::VirtualDesktop desktop(1920, 1080);
  if (!desktop.Ready()) {
    std::fprintf(stderr, "pacing: %s\n", desktop.Why().c_str());
    return 1;
  }
  bool ok = Run(true, desktop.ServerPid(), seconds);
  ok = Run(false, desktop.ServerPid(), seconds) && ok;
  return ok ? 0 : 1;
}
