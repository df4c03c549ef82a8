#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ProgramHarness.h"

TEST(Program, ClosingTheWindowEndsTheProgramWithExitCodeZero) {
  tarn_test::ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(20)) << "the program's window did not appear";
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it run a few frames
  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(20), 0);
}

TEST(Program, StartUpFailureEndsWithExitCodeMinusOne) {
  tarn_test::ProgramHarness program;
  ASSERT_TRUE(program.Start(/*withDisplay=*/false));
  EXPECT_EQ(program.WaitForExit(20), -1) << "no display: the window cannot open";
}
