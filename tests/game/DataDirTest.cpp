// Finding the game's data wherever the program starts: the working
// directory, then TARN_DATA_DIR, then the folder beside the program.
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DataDir.h"
#include "TempDir.h"
#include "tarn/Report.h"

namespace {

using tarn_test::TempDir;

const char kFont[] = "font/rounded-mplus-2m-medium.ttf";

std::string WithData(const TempDir& dir) {
  for (const char* folder : {"gfx", "font", "sound", "skel_data"})
    std::filesystem::create_directories(dir.File(folder));
  dir.Write(kFont, "font bytes");
  return dir.path();
}

std::string WorkingDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

// Leaves the process where it was, whatever EnterDataDir did.
class DataDirEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = WorkingDirectory();
    if (const char* env = getenv("TARN_DATA_DIR")) savedEnv_ = env, hadEnv_ = true;
  }
  void TearDown() override {
    EXPECT_EQ(chdir(home_.c_str()), 0);
    if (hadEnv_) {
      setenv("TARN_DATA_DIR", savedEnv_.c_str(), 1);
    } else {
      unsetenv("TARN_DATA_DIR");
    }
  }
  std::string home_, savedEnv_;
  bool hadEnv_ = false;
};

TEST(DataDirCandidates, WorkingDirectoryThenEnvironmentThenBesideTheProgram) {
  const std::string beside = "/opt/tarn/bin/../share/tarn";
  EXPECT_EQ(DataDirCandidates("/data", "/opt/tarn/bin/tarn", "../share/tarn"),
            (std::vector<std::string>{".", "/data", beside}));
  // An unset or empty variable is no place to look; nor is an unknown program path.
  EXPECT_EQ(DataDirCandidates(nullptr, "/opt/tarn/bin/tarn", "../share/tarn"), (std::vector<std::string>{".", beside}));
  EXPECT_EQ(DataDirCandidates("", "/opt/tarn/bin/tarn", "../share/tarn"), (std::vector<std::string>{".", beside}));
  EXPECT_EQ(DataDirCandidates("/data", "", "../share/tarn"), (std::vector<std::string>{".", "/data"}));
}

TEST(FindDataDir, TakesTheFirstFolderThatHoldsTheFont) {
  TempDir empty, first, second;
  WithData(first);
  WithData(second);
  EXPECT_EQ(FindDataDir({empty.path(), first.path(), second.path()}), first.path());
  EXPECT_EQ(FindDataDir({empty.path(), "/nonexistent/tarn"}), "");
  EXPECT_EQ(FindDataDir({}), "");
  EXPECT_EQ(FindDataDir({""}), "") << "an empty path is not the working directory";
}

// A folder missing one of the data folders (or holding a file or a loop in
// its place) is skipped; one with all four is taken even when a file inside
// is broken, so that the game says what is wrong with it.
TEST(FindDataDir, TakesOnlyAFolderWithAllFourDataFolders) {
  for (const char* missing : {"gfx", "font", "sound", "skel_data"}) {
    for (tarn_test::OddFile kind : {tarn_test::OddFile::Pipe, tarn_test::OddFile::LinkLoop}) {
      SCOPED_TRACE(std::string(missing) + " " + tarn_test::OddFileName(kind));
      TempDir odd, good;
      WithData(odd);
      ASSERT_TRUE(tarn_test::MakeOddFile(odd.File(missing), kind));
      WithData(good);
      EXPECT_EQ(FindDataDir({odd.path(), good.path()}), good.path());
    }
  }
  TempDir brokenFont;
  WithData(brokenFont);
  ASSERT_TRUE(tarn_test::MakeOddFile(brokenFont.File(kFont), tarn_test::OddFile::Directory));
  EXPECT_EQ(FindDataDir({brokenFont.path()}), brokenFont.path());
}

TEST(DataDirNotFoundMessage, IsOneLineNamingEveryPlaceLookedIn) {
  const std::string message = DataDirNotFoundMessage({".", "/data", "/opt/tarn/bin/../share/tarn"});
  EXPECT_NE(message.find("skel_data"), std::string::npos) << message;
  EXPECT_NE(message.find(WorkingDirectory() + ","), std::string::npos) << "the working directory by name: " << message;
  EXPECT_NE(message.find("/data"), std::string::npos) << message;
  EXPECT_NE(message.find("/opt/tarn/bin/../share/tarn"), std::string::npos) << message;
  EXPECT_NE(message.find("TARN_DATA_DIR"), std::string::npos) << "says how to point at the data: " << message;
}

TEST_F(DataDirEntry, EntersTheEnvironmentsFolderFromAnywhereElse) {
  TempDir start, data;
  ASSERT_EQ(chdir(start.path().c_str()), 0);
  setenv("TARN_DATA_DIR", WithData(data).c_str(), 1);
  ASSERT_TRUE(EnterDataDir());
  EXPECT_EQ(std::filesystem::canonical(WorkingDirectory()), std::filesystem::canonical(data.path()));
}

TEST_F(DataDirEntry, FailsAndStaysPutWhenNoFolderHoldsTheData) {
  TempDir start, notData;
  ASSERT_EQ(chdir(start.path().c_str()), 0);
  setenv("TARN_DATA_DIR", notData.path().c_str(), 1);
  const std::string before = WorkingDirectory();
  testing::internal::CaptureStderr();
  EXPECT_FALSE(EnterDataDir());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(WorkingDirectory(), before);
  EXPECT_EQ(said.rfind(std::string(tarn::ProgramName()) + ": ", 0), 0u) << said;
  EXPECT_NE(said.find(notData.path()), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

}  // namespace
