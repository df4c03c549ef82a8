// The real program against what a player and a damaged installation can do
// to it: every asset file broken in turn, a random player, a long session.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ProgramHarness.h"
#include "TempDir.h"

namespace {

using tarn_test::ProgramHarness;
using tarn_test::Screenshot;

bool IsFill(Screenshot::Rgb p) { return p.r == 120 && p.g == 120 && p.b == 150; }
// The main screen's top bar: drawn whatever else is missing.
bool ShowsBar(const Screenshot& s) { return IsFill(s.At(5, 15)); }

constexpr int kCharaX = 60, kCharaY = 16;  // opens the character panel
constexpr int kPanelCloseX = 370, kPanelCloseY = 46;
int MainLineY(int i) { return 64 + 104 * i + 50; }

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void CopyFile(const std::string& from, const std::string& to) { std::ofstream(to, std::ios::binary) << ReadAll(from); }

// A private copy of the working directory, real files rather than links so
// that one of them can be broken.
void CopyWorkdir(const std::string& to) {
  const char* folders[][4] = {
      {"gfx", "3_blacksmith_a.png", "testchar.png", "testchar2.png"},
      {"gfx", "testchar3.png", "testchar4.png", nullptr},
      {"skel_data", "Char01.atlas", "Char01.json", "Char01.png"},
      {"sound", "test_mono.wav", nullptr, nullptr},
      {"font", "rounded-mplus-2m-medium.ttf", nullptr, nullptr},
  };
  for (const auto& f : folders) {
    mkdir((to + "/" + f[0]).c_str(), 0755);
    for (int i = 1; i < 4 && f[i]; ++i) {
      CopyFile(std::string(TARN_WORKDIR) + "/" + f[0] + "/" + f[i], to + "/" + f[0] + "/" + f[i]);
    }
  }
}

enum class Damage { Missing, Empty, Truncated, Random, Directory, Pipe };
const char* Name(Damage d) {
  switch (d) {
    case Damage::Missing: return "missing";
    case Damage::Empty: return "empty";
    case Damage::Truncated: return "truncated";
    case Damage::Random: return "random";
    case Damage::Directory: return "a directory";
    case Damage::Pipe: return "a named pipe";
  }
  return "?";
}

// The reason the program gives when it cannot open the file at all; empty
// when the file opens and its content is at fault.
std::string OpenFailure(Damage d) {
  switch (d) {
    case Damage::Missing: return "No such file or directory";
    case Damage::Directory: return "Is a directory";
    case Damage::Pipe: return "Not a regular file";
    default: return "";
  }
}

void Break(const std::string& path, Damage damage) {
  const std::string bytes = ReadAll(path);
  switch (damage) {
    case Damage::Missing: std::remove(path.c_str()); break;
    case Damage::Empty: std::ofstream(path, std::ios::binary | std::ios::trunc); break;
    case Damage::Truncated:
      std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() / 2);
      break;
    case Damage::Random: {
      std::mt19937 random(20261207);
      std::string noise(bytes.size(), '\0');
      for (char& c : noise) c = static_cast<char>(random());
      std::ofstream(path, std::ios::binary | std::ios::trunc) << noise;
      break;
    }
    case Damage::Directory: tarn_test::MakeOddFile(path, tarn_test::OddFile::Directory); break;
    case Damage::Pipe: tarn_test::MakeOddFile(path, tarn_test::OddFile::Pipe); break;
  }
}

enum class Role { Background, Character, Sound, Font };
struct Asset {
  const char* path;
  Role role;
  int line;  // the panel line whose character uses the file
  // A cut file still serves: a cut WAV plays the samples it has. (A cut
  // skeleton is refused at its syntax error rather than drawn in part.)
  bool halfServes;
};

void PrintTo(const Asset& asset, std::ostream* out) { *out << asset.path; }

// How a message names a file of the data folder: the path opened, absolute.
std::string Named(const std::string& folder, const char* path) {
  return std::filesystem::canonical(folder).string() + "/" + path;
}

// One line, "start" followed by the reason: the given one, or any.
void ExpectLine(const std::vector<std::string>& lines, const std::string& start, const std::string& reason,
                const std::string& all) {
  ASSERT_EQ(lines.size(), 1u) << all;
  if (reason.empty()) {
    EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
    EXPECT_GT(lines[0].size(), start.size()) << "a reason: " << lines[0];
  } else {
    EXPECT_EQ(lines[0], start + reason);
  }
}

class BrokenAsset : public ::testing::TestWithParam<Asset> {};

// The player opens the panel (the chime plays), picks the character the file
// belongs to, watches it a moment and closes the window. The program says
// why on standard error in one line: a warning when it runs on, an error
// when it ends.
TEST_P(BrokenAsset, ProgramRunsOnWithoutItOrEndsAtStartUp) {
  const Asset asset = GetParam();
  for (Damage damage :
       {Damage::Missing, Damage::Empty, Damage::Truncated, Damage::Random, Damage::Directory, Damage::Pipe}) {
    SCOPED_TRACE(std::string(asset.path) + " " + Name(damage));
    tarn_test::TempDir dir;
    CopyWorkdir(dir.path());
    Break(dir.path() + "/" + asset.path, damage);

    ProgramHarness program;
    ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
    program.SetWorkingDirectory(dir.path());
    const std::string mix = program.RecordSoundIn(dir.path());
    program.CaptureErrors();
    ASSERT_TRUE(program.Start());
    if (asset.role == Role::Font) {
      EXPECT_EQ(program.WaitForExit(30), -1);
      ExpectLine(program.ErrorLines(), "tarn: cannot read " + Named(dir.path(), asset.path) + ": ", OpenFailure(damage),
                 program.Errors());
      std::printf("[ outcome ] %s %s: exit -1 at start-up\n%s", asset.path, Name(damage), program.Errors().c_str());
      continue;
    }
    ASSERT_TRUE(program.WaitForWindow(30)) << "no window";
    ASSERT_TRUE(ShowsBar(program.ShootWhen(ShowsBar, 20))) << "no main screen";
    ASSERT_TRUE(program.Click(kCharaX, kCharaY));
    ProgramHarness::Pause(300);
    const Screenshot open = program.Shoot();
    if (asset.role == Role::Character) {
      ASSERT_TRUE(program.Click(190, MainLineY(asset.line)));
      ProgramHarness::Pause(300);
    } else if (asset.role == Role::Sound) {
      ProgramHarness::Pause(600);  // the whole chime
    }
    const Screenshot shot = program.Shoot();
    EXPECT_TRUE(ShowsBar(shot)) << "still drawing";
    // What stands beside the panel: the broken file's part is missing unless
    // its first half still serves, and without the background a plain colour.
    const bool kept = damage == Damage::Truncated && asset.halfServes;
    if (asset.role == Role::Character) {
      const int changed = shot.Differences(open, 386, 100, 894, 600);
      if (kept) {
        EXPECT_GT(changed, 20000) << "the character drawn";
      } else {
        EXPECT_EQ(changed, 0) << "no character drawn";
      }
    } else if (asset.role == Role::Background) {
      const Screenshot::Rgb corner = shot.At(1279, 719);
      EXPECT_EQ(shot.Count(386, 100, 894, 600,
                           [&](Screenshot::Rgb p) { return p.r == corner.r && p.g == corner.g && p.b == corner.b; }),
                894 * 600)
          << "no background drawn";
    }
    EXPECT_EQ(program.WaitForExit(0), ProgramHarness::kNoExit) << "still running";
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(30), 0);
    if (asset.role == Role::Sound) {
      const int peak = tarn_test::WavPeak(mix);
      if (kept) {
        EXPECT_GT(peak, 1000) << "the first half of the chime";
      } else {
        EXPECT_EQ(peak, 0) << "no chime";
      }
    }
    if (kept) {
      EXPECT_TRUE(program.ErrorLines().empty()) << program.Errors();
    } else {
      // A skeleton whose atlas holds the wrong regions fails for want of
      // them: the skeleton's loader tells which.
      const bool atlasContent = std::string(asset.path) == "skel_data/Char01.atlas" &&
                                (damage == Damage::Truncated || damage == Damage::Random);
      const std::string named = Named(dir.path(), atlasContent ? "skel_data/Char01.json" : asset.path);
      ExpectLine(program.ErrorLines(), "tarn: warning: cannot read " + named + ": ", OpenFailure(damage),
                 program.Errors());
      if (std::string(asset.path) == "skel_data/Char01.json" &&
          (damage == Damage::Truncated || damage == Damage::Random)) {
        EXPECT_NE(program.Errors().find(": Invalid skeleton JSON: line "), std::string::npos) << program.Errors();
      }
    }
    std::printf("[ outcome ] %s %s: runs on %s, exit 0 on close\n%s", asset.path, Name(damage),
                kept ? "with what the first half holds" : "without it", program.Errors().c_str());
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, BrokenAsset,
                         ::testing::Values(Asset{"gfx/3_blacksmith_a.png", Role::Background, 0, false},
                                           Asset{"gfx/testchar.png", Role::Character, 0, false},
                                           Asset{"gfx/testchar2.png", Role::Character, 1, false},
                                           Asset{"gfx/testchar3.png", Role::Character, 2, false},
                                           Asset{"gfx/testchar4.png", Role::Character, 3, false},
                                           Asset{"skel_data/Char01.atlas", Role::Character, 4, false},
                                           Asset{"skel_data/Char01.png", Role::Character, 4, false},
                                           Asset{"skel_data/Char01.json", Role::Character, 4, false},
                                           Asset{"sound/test_mono.wav", Role::Sound, 0, true},
                                           Asset{"font/rounded-mplus-2m-medium.ttf", Role::Font, 0, false}),
                         [](const ::testing::TestParamInfo<Asset>& param) {
                           std::string name = param.param.path;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

// VmRSS: resident now; VmHWM: its peak.
long ResidentKb(pid_t pid, const char* field = "VmRSS:") {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  long kb = -1;
  while (status >> key) {
    if (key == field) {
      status >> kb;
      break;
    }
  }
  return kb;
}

double EnvNumber(const char* name, double fallback) {
  const char* value = std::getenv(name);
  return value ? std::atof(value) : fallback;
}

// A process out of threads: start-up's pictures decode as they are taken,
// and the main screen is the one a normal start shows.
TEST(OutOfThreads, TheProgramStartsWithEveryPictureAndClosesCleanly) {
  Screenshot shots[2];
  for (const bool threadless : {false, true}) {
    SCOPED_TRACE(threadless ? "no thread to be had" : "a normal start");
    ProgramHarness program;
    ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
    program.CaptureErrors();
    // llvmpipe waits for ever on drawing threads it could not make.
    program.SetEnvironment("LP_NUM_THREADS", "0");
    if (threadless) {
      const char* preload = std::getenv("LD_PRELOAD");
      program.SetEnvironment("LD_PRELOAD", std::string(TARN_NO_THREADS) + (preload ? std::string(":") + preload : ""));
    }
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(60)) << program.Errors();
    ASSERT_TRUE(ShowsBar(program.ShootWhen(ShowsBar, 60)));
    ProgramHarness::Pause(300);
    shots[threadless] = program.Shoot();
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(60), 0) << program.Errors();
    EXPECT_TRUE(program.ErrorLines().empty()) << program.Errors();
    if (threadless) {
      EXPECT_NE(program.Errors().find("pthread_create refused"), std::string::npos) << "the program asked for none";
    }
  }
  EXPECT_EQ(shots[true].Differences(shots[false], 0, 0, 1280, 720), 0);
}

// Starts to the main screen and closes, again and again: a fault that shows
// once in hundreds of starts (a race among start-up's threads, heap damage)
// needs hundreds of them. TARN_STARTS chooses how many; every start runs
// whatever the one before did, and each failed one is shown with what the
// program wrote.
TEST(StartUpStress, EveryStartReachesTheMainScreenAndClosesCleanly) {
  const int starts = static_cast<int>(EnvNumber("TARN_STARTS", 3));
  int failed = 0;
  std::vector<double> times;
  for (int i = 0; i < starts; ++i) {
    ProgramHarness program;
    ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
    program.CaptureErrors();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(program.Start());
    std::string fault;
    if (!program.WaitForWindow(60)) {
      fault = "no window";
    } else if (!ShowsBar(program.ShootWhen(ShowsBar, 60))) {
      fault = "no main screen";
    } else {
      times.push_back(Seconds(start));
      program.SendDeleteWindow();
    }
    const int exit = program.WaitForExit(60);
    if (fault.empty() && exit != 0) {
      fault = exit != ProgramHarness::kNoExit ? "exit " + std::to_string(exit)
              : program.pid() < 0             ? "killed by a signal"
                                              : "still running a minute after the close";
    }
    // Sanitizer reports and the program's own lines; the GL driver's chatter
    // is not the program's.
    const std::string errors = program.Errors();
    if (fault.empty() && (!program.ErrorLines().empty() || errors.find("Sanitizer") != std::string::npos))
      fault = "wrote to standard error";
    if (!fault.empty()) {
      ++failed;
      ADD_FAILURE() << "start " << i + 1 << ": " << fault << "\n" << errors;
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("[ starts  ] %d of %d clean; to the main screen %.2f s median, %.2f s at most\n", starts - failed, starts,
              times.empty() ? 0.0 : times[times.size() / 2], times.empty() ? 0.0 : times.back());
}

// Random pointer moves, presses, releases, right clicks, wheel turns and
// resizes. TARN_MONKEY_SECONDS and TARN_MONKEY_SEED choose a longer run or
// replay one.
TEST(Monkey, RandomPlayerNeitherCrashesNorStopsDrawingNorGrows) {
  const double seconds = EnvNumber("TARN_MONKEY_SECONDS", 20);
  const unsigned seed = static_cast<unsigned>(EnvNumber("TARN_MONKEY_SEED", 11));
  std::printf("[ monkey  ] seed %u, %.0f s\n", seed, seconds);
  std::mt19937 random(seed);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

  ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(30));
  ASSERT_TRUE(ShowsBar(program.ShootWhen(ShowsBar, 20)));
  const std::string window = std::to_string(program.window());

  const auto start = std::chrono::steady_clock::now();
  long settledKb = -1, peakKb = 0;
  int events = 0, shots = 0, changed = 0;
  int width = 1280, height = 720;
  Screenshot last = program.Shoot();
  bool buttonDown[4] = {};
  while (Seconds(start) < seconds) {
    const int what = pick(100);
    // A third of the pointer's visits go to the top bar, whose buttons lead
    // to the other screens; their back buttons sit in the top right corner.
    const int x = pick(width), y = pick(3) == 0 ? pick(64) : pick(height);
    if (what < 35) {
      program.Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
    } else if (what < 80) {
      // Press and release apart, as a player's click reaches the game.
      const int button = what < 70 ? 1 : 3;
      program.Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
      program.Xdotool({buttonDown[button] ? "mouseup" : "mousedown", std::to_string(button)});
      buttonDown[button] = !buttonDown[button];
      ProgramHarness::Pause(40);
    } else if (what < 95) {
      program.Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y)});
      program.Xdotool({"click", "--repeat", std::to_string(1 + pick(3)), what < 88 ? "4" : "5"});
    } else if (what < 97) {
      width = 320 + pick(1280 - 320 + 1);
      height = 240 + pick(720 - 240 + 1);
      program.Xdotool({"windowsize", window, std::to_string(width), std::to_string(height)});
    } else {
      ProgramHarness::Pause(100 + pick(300));
    }
    ++events;
    if (events % 25 == 0) {
      if (settledKb < 0 && Seconds(start) >= 10) {
        // Measured at full window size, as at the end: a smaller window holds
        // smaller buffers and would make the later reading look like growth.
        program.Xdotool({"windowsize", window, "1280", "720"});
        width = 1280;
        height = 720;
        ProgramHarness::Pause(300);
        settledKb = ResidentKb(program.pid());
      }
      const long kb = ResidentKb(program.pid());
      ASSERT_GT(kb, 0) << "the program ended after " << events << " events";
      peakKb = std::max(peakKb, kb);
      const Screenshot shot = program.Shoot();
      ASSERT_FALSE(shot.Empty()) << "after " << events << " events: " << program.WhyNoShot();
      ++shots;
      if (shot.width != last.width || shot.height != last.height ||
          shot.Differences(last, 0, 0, static_cast<int>(shot.width), static_cast<int>(shot.height)) > 0) {
        ++changed;
      }
      last = shot;
    }
  }
  for (int button : {1, 3}) {
    if (buttonDown[button]) program.Xdotool({"mouseup", std::to_string(button)});
  }
  // Back to the full window: what it draws must still follow the player.
  program.Xdotool({"windowsize", window, "1280", "720"});
  ProgramHarness::Pause(300);
  const long endKb = ResidentKb(program.pid());
  std::printf(
      "[ monkey  ] %d events, %d of %d screenshots changed, resident %ld kB after 10 s, %ld kB at the end, "
      "peak %ld kB\n",
      events, changed, shots, settledKb, endKb, std::max(peakKb, endKb));
  EXPECT_GT(changed, 0) << "the picture never changed";
  if (settledKb > 0) {
    EXPECT_LE(endKb, settledKb * 11 / 10) << "resident memory grew by more than 10%";
  }

  // Back to the main screen from wherever the monkey left it (there the
  // corner button does nothing), then a new panel must slide in.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(program.Click(1248, 32));
  ProgramHarness::Pause(600);
  const Screenshot before = program.ShootWhen(ShowsBar, 10);
  ASSERT_TRUE(program.Click(kCharaX, kCharaY));
  ProgramHarness::Pause(600);
  EXPECT_GT(program.Shoot().Differences(before, 0, 32, 384, 688), 1000) << "a new panel slides in";

  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(60), 0) << "and ends cleanly";
}

// Every screen, the panel opened and closed over and over, every picker used,
// every list scrolled, and the window closed at the end. Under the sanitizer
// build a leak makes the program's exit code non-zero.
long FramesIn(const std::string& countFile) {
  std::ifstream in(countFile);
  long frames = 0;
  in >> frames;
  return frames;
}

// Input paced by the program's own frames as well as by the clock: under
// valgrind the program draws about a frame a second, and a press and a
// release that land in one frame would be no click at all.
class PacedInput {
 public:
  PacedInput(ProgramHarness& program, std::string countFile) : program_(program), countFile_(std::move(countFile)) {}

  // At least `milliseconds` and `frames` more frames; false when the program
  // has drawn nothing for a minute or has ended.
  bool Settle(int milliseconds, int frames = 2) {
    const long target = FramesIn(countFile_) + frames;
    ProgramHarness::Pause(milliseconds);
    const auto start = std::chrono::steady_clock::now();
    while (FramesIn(countFile_) < target) {
      // A program that has ended draws no more: say so now, not a minute later.
      if (Seconds(start) > 60 || program_.WaitForExit(0) != ProgramHarness::kNoExit) return false;
      ProgramHarness::Pause(20);
    }
    return true;
  }
  bool Click(int x, int y) {
    return program_.MoveTo(x, y) && Settle(80) && program_.Xdotool({"mousedown", "1"}) && Settle(120) &&
           program_.Xdotool({"mouseup", "1"}) && Settle(120);
  }
  bool Wheel(int x, int y, int notches) {
    if (!program_.MoveTo(x, y) || !Settle(80)) return false;
    for (int i = 0; i < std::abs(notches); ++i) {
      if (!program_.Xdotool({"click", notches > 0 ? "5" : "4"}) || !Settle(100)) return false;
    }
    return true;
  }

 private:
  ProgramHarness& program_;
  std::string countFile_;
};

TEST(LongSession, EveryScreenForThousandsOfFramesEndsCleanly) {
  // TARN_SESSION_FRAMES: fewer for a quick look under a slow tool.
  const long frames = static_cast<long>(EnvNumber("TARN_SESSION_FRAMES", 3000));
  tarn_test::TempDir dir;
  const std::string countFile = dir.File("frames");
  ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  const char* preload = std::getenv("LD_PRELOAD");
  program.SetEnvironment("LD_PRELOAD", std::string(TARN_FRAME_COUNTER) + (preload ? std::string(":") + preload : ""));
  program.SetEnvironment("TARN_FRAME_COUNT_FILE", countFile);
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(120));
  ASSERT_TRUE(ShowsBar(program.ShootWhen(ShowsBar, 120)));
  const auto start = std::chrono::steady_clock::now();
  PacedInput input(program, countFile);
  auto click = [&](int x, int y) { ASSERT_TRUE(input.Click(x, y)) << "no frame for a minute"; };
  auto wheel = [&](int x, int y, int notches) { ASSERT_TRUE(input.Wheel(x, y, notches)) << "no frame for a minute"; };
  // The panel slides for ten frames.
  auto settle = [&](int milliseconds) { ASSERT_TRUE(input.Settle(milliseconds, 12)) << "no frame for a minute"; };
  int rounds = 0;
  while (FramesIn(countFile) < frames || rounds == 0) {
    for (int line = 0; line < 5; ++line) {
      click(kCharaX, kCharaY);
      settle(250);
      wheel(190, 300, 2);
      wheel(190, 300, -2);
      click(190, MainLineY(line));
      settle(300);
      click(kPanelCloseX, kPanelCloseY);
      settle(600);
    }
    // Mating: both places through the picker.
    click(170, 16);
    click(320, 656);
    wheel(150, 300, 1);
    click(150, 6 + 104 * (rounds % 5) + 50);
    click(640, 688);
    click(960, 656);
    click(150, 6 + 104 * ((rounds + 2) % 5) + 50);
    click(640, 688);
    click(640, 656);
    click(1248, 32);
    // Tournament.
    click(500, 16);
    click(960, 656);
    click(150, 6 + 104 * ((rounds + 4) % 5) + 50);
    click(640, 688);
    settle(300);
    click(1248, 32);
    // The rival barrack's list.
    click(610, 16);
    wheel(150, 300, 3);
    wheel(150, 300, -3);
    click(1248, 32);
    ++rounds;
    ASSERT_EQ(program.WaitForExit(0), ProgramHarness::kNoExit) << "the program ended in round " << rounds;
  }
  std::printf("[ session ] %d rounds, %ld frames in %.1f s, peak resident %ld kB\n", rounds, FramesIn(countFile),
              Seconds(start), ResidentKb(program.pid(), "VmHWM:"));
  ASSERT_TRUE(ShowsBar(program.ShootWhen(ShowsBar, 60)));
  program.SendDeleteWindow();
  // valgrind's leak search at exit takes a while.
  EXPECT_EQ(program.WaitForExit(600), 0) << "a leak at exit, under the sanitizers, makes this non-zero";
}

}  // namespace
