#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "ProgramHarness.h"

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
