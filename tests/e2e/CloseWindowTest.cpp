#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ProgramHarness.h"
#include "tarn/Version.h"

TEST(Program, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  tarn_test::ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  program.CaptureErrors();
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(20)) << "the program's window did not appear";
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it run a few frames
  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(20), 0);
  // A run where everything loads says nothing; under a wrapper only the
  // program's own lines count.
  if (std::getenv("TARN_PROGRAM_WRAPPER")) {
    EXPECT_TRUE(program.ErrorLines().empty()) << program.Errors();
  } else {
    EXPECT_EQ(program.Errors(), "");
  }
}

TEST(Program, StartUpFailureEndsWithExitCodeMinusOneAndSaysWhy) {
  tarn_test::ProgramHarness program;
  program.CaptureErrors();
  ASSERT_TRUE(program.Start(/*withDisplay=*/false));
  EXPECT_EQ(program.WaitForExit(20), -1) << "no display: the window cannot open";
  const auto lines = program.ErrorLines();
  ASSERT_EQ(lines.size(), 1u) << program.Errors();
  // GLFW's own words follow, e.g. "X11: The DISPLAY environment variable is missing".
  const std::string start = "tarn: cannot start GLFW: ";
  EXPECT_EQ(lines[0].rfind(start, 0), 0u) << lines[0];
  EXPECT_GT(lines[0].size(), start.size()) << lines[0];
}

// A crash names itself and the stack it happened on, then ends the process as
// the signal would have. Where a sanitizer watches the signal, its own report
// stands instead.
TEST(Program, ACrashSaysSoWithItsStackAndEndsAsTheSignalWould) {
  for (const auto& [number, name] :
       {std::pair<int, std::string>{SIGSEGV, "segmentation fault"}, {SIGABRT, "aborted"}}) {
    SCOPED_TRACE(name);
    tarn_test::ProgramHarness program;
    ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
    program.CaptureErrors();
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20));
    ASSERT_EQ(kill(program.pid(), number), 0);
    const int ended = program.WaitForExit(20);
    const std::string errors = program.Errors();
    if (errors.find("Sanitizer") != std::string::npos) continue;
    EXPECT_EQ(ended, 128 + number);
    const std::string said = "tarn: crashed: " + name + "\n";
    const size_t at = errors.find(said);
    ASSERT_NE(at, std::string::npos) << errors;
    // Then the build id, and the frames: the program's own named by function
    // (main, at least), each with its place in the file.
    EXPECT_NE(errors.find("tarn: build id ", at), std::string::npos) << errors;
    EXPECT_NE(errors.find(" main+0x", at), std::string::npos) << errors;
    EXPECT_NE(errors.find("(tarn+0x", at), std::string::npos) << errors;
  }
}

// A thread the program starts reports its crash too, even one that overflows
// its stack: the picture decoder, made to recurse without end.
TEST(Program, AStackOverflowOnTheDecoderThreadIsReported) {
  tarn_test::ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  const char* preload = std::getenv("LD_PRELOAD");
  program.SetEnvironment("LD_PRELOAD", std::string(TARN_DEEP_DECODER) + (preload ? std::string(":") + preload : ""));
  program.CaptureErrors();
  ASSERT_TRUE(program.Start());
  const int ended = program.WaitForExit(30);
  const std::string errors = program.Errors();
  if (errors.find("Sanitizer") != std::string::npos) GTEST_SKIP() << "a sanitizer reports it";
  EXPECT_EQ(ended, 128 + SIGSEGV);
  const size_t at = errors.find("tarn: crashed: segmentation fault\n");
  ASSERT_NE(at, std::string::npos) << errors;
  EXPECT_NE(errors.find("DeeperAndDeeper", at), std::string::npos) << errors;
}

// The environment is set before any thread starts: setenv is not safe while
// another thread may read it.
TEST(Program, SetsItsEnvironmentBeforeStartingAThread) {
  tarn_test::ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  const char* preload = std::getenv("LD_PRELOAD");
  program.SetEnvironment("LD_PRELOAD", std::string(TARN_SETENV_WATCH) + (preload ? std::string(":") + preload : ""));
  program.CaptureErrors();
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(20));
  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(20), 0);
  const std::string errors = program.Errors();
  EXPECT_NE(errors.find("setenv-watch: LP_NUM_THREADS before any thread"), std::string::npos) << errors;
  EXPECT_EQ(errors.find("after a thread started"), std::string::npos) << errors;
}

// Without a GPU, Mesa's llvmpipe draws on the program's own thread (its own
// threads race with the program's flushes), unless the player chose a number
// of threads.
TEST(Program, SoftwareRenderingDrawsOnTheProgramsThreadUnlessThePlayerSaysOtherwise) {
  auto rasterizerThreads = [](pid_t pid) {
    int count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task")) {
      std::string name;
      std::getline(std::ifstream(task.path() / "comm"), name);
      count += name.rfind("llvmpipe-", 0) == 0;
    }
    return count;
  };
  for (const char* chosen : {static_cast<const char*>(nullptr), "2"}) {
    SCOPED_TRACE(chosen ? "LP_NUM_THREADS=2" : "LP_NUM_THREADS unset");
    if (!chosen && std::getenv("LP_NUM_THREADS")) continue;  // a choice made for the whole run
    tarn_test::ProgramHarness program;
    ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
    if (chosen) program.SetEnvironment("LP_NUM_THREADS", chosen);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(program.WaitForWindow(20));
    // The window opens before its context draws: wait for the first frames.
    program.ShootWhen([](const tarn_test::Screenshot& s) { return !s.Empty(); }, 15);
    tarn_test::ProgramHarness::Pause(300);
    EXPECT_EQ(rasterizerThreads(program.pid()), chosen ? 2 : 0);
    program.SendDeleteWindow();
    EXPECT_EQ(program.WaitForExit(20), 0);
  }
}

// The command line: two questions answered on standard output, anything else
// refused with one usage line on standard error; none of it opens a window or
// needs a display or the game's data.
namespace {

struct Answer {
  int exitCode;
  std::string out, err;
};

Answer RunWith(const std::vector<std::string>& args) {
  tarn_test::ProgramHarness program;
  program.SetProgram(TARN_BINARY, args, "OpenGL");
  program.SetWorkingDirectory("/");  // no data here
  program.CaptureOutput();
  program.CaptureErrors();
  if (!program.Start(/*withDisplay=*/false)) return {-2, "", ""};
  const int code = program.WaitForExit(20);
  // Under a wrapper (valgrind) only the program's own lines count.
  std::string err;
  std::istringstream lines(program.Errors());
  for (std::string line; std::getline(lines, line);) {
    if (!std::getenv("TARN_PROGRAM_WRAPPER") || line.rfind("==", 0) != 0) err += line + "\n";
  }
  return {code, program.Output(), err};
}

TEST(Program, HelpPrintsTheUsageOnStandardOutputAndExitsZero) {
  const Answer answer = RunWith({"--help"});
  EXPECT_EQ(answer.exitCode, 0);
  EXPECT_EQ(answer.err, "");
  EXPECT_EQ(answer.out.rfind("usage: tarn [--help | --version]\n", 0), 0u) << answer.out;
  for (const char* said : {"--help", "--version", "TARN_DATA_DIR", "1280 x 720", "60 frames a second"}) {
    EXPECT_NE(answer.out.find(said), std::string::npos) << said << " in\n" << answer.out;
  }
}

TEST(Program, VersionPrintsTheProjectVersionAndExitsZero) {
  for (const char* asked : {"--version", "-V"}) {
    const Answer answer = RunWith({asked});
    EXPECT_EQ(answer.exitCode, 0) << asked;
    EXPECT_EQ(answer.err, "") << asked;
    EXPECT_EQ(answer.out, std::string("tarn ") + TARN_VERSION_STRING + "\n") << asked;
  }
  EXPECT_EQ(RunWith({"-h"}).out, RunWith({"--help"}).out);
}

TEST(Program, AnyOtherArgumentIsNamedThenTheUsageOnStandardErrorAndExitTwo) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--bogus"}, "tarn: unknown argument --bogus\n"},
      {{"--helpme"}, "tarn: unknown argument --helpme\n"},
      {{"help"}, "tarn: unknown argument help\n"},
      {{""}, "tarn: unknown argument ''\n"},
      {{"-"}, "tarn: unknown argument -\n"},
      {{"--version", "--help"}, "tarn: --version takes no argument, but was given --help\n"},
      {{"--help", "x"}, "tarn: --help takes no argument, but was given x\n"},
  };
  for (const auto& [args, why] : cases) {
    std::string shown;
    for (const std::string& arg : args) shown += " '" + arg + "'";
    SCOPED_TRACE("tarn" + shown);
    const Answer answer = RunWith(args);
    EXPECT_EQ(answer.exitCode, 2);
    EXPECT_EQ(answer.out, "");
    EXPECT_EQ(answer.err, why + "usage: tarn [--help | --version]\n");
  }
}

}  // namespace
