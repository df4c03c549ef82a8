// The reference's first program, built from the code the guide shows, runs:
// the character is loaded and queued animations follow each other; a
// missing file stops it with the reason.
#include <gtest/gtest.h>

#include <string>

#include "FirstProgram.h"

namespace {

TEST(Guide, TheFirstProgramRunsItsQueueAndSaysWhyItCannotStart) {
  const char* atlas = "skel_data\\Char01.atlas";
  const char* skeleton = "skel_data\\Char01.json";
  EXPECT_GT(CountBones(atlas, skeleton), 1);
  EXPECT_EQ(CountBones(atlas, "skel_data\\none.json"), -1);

  std::string why;
  // Idle's loop of 3 s, then wave, fading in over the pair's 0.5 s: it
  // starts at 2.5 s (frame 150).
  EXPECT_EQ(RunFirstProgram(atlas, skeleton, 140, why), 0) << why;
  EXPECT_EQ(RunFirstProgram(atlas, skeleton, 160, why), 2) << why;
  EXPECT_EQ(RunFirstProgram("skel_data\\none.atlas", skeleton, 1, why), 1);
  EXPECT_NE(why.find("skel_data/none.atlas: "), std::string::npos) << why;
}

}  // namespace
