// `cmake --install` into a staging folder (DESTDIR), which is the installed
// tree moved away from its prefix: every file in its place, the desktop files
// valid, and the installed program, started from elsewhere, finding its data
// beside itself.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ProgramHarness.h"
#include "TempDir.h"

namespace {

namespace fs = std::filesystem;
using tarn_test::ProgramHarness;
using tarn_test::Screenshot;

const char kPrefix[] = "/opt/tarn";

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs a shell command with its output in log; true on exit status 0.
bool Succeeds(const std::string& command, const std::string& log) {
  const int status = std::system((command + " >" + Quoted(log) + " 2>&1").c_str());
  return status == 0;
}

// Installs the build under kPrefix, staged in stage; the installed root.
std::string Install(const tarn_test::TempDir& stage) {
  const std::string log = stage.File("install.log");
  EXPECT_TRUE(Succeeds("DESTDIR=" + Quoted(stage.path()) + " " + Quoted(TARN_CMAKE) + " --install " +
                           Quoted(TARN_BUILD_DIR) + " --prefix " + kPrefix,
                       log))
      << ReadAll(log);
  return stage.path() + kPrefix;
}

TEST(Install, PutsEveryFileInItsPlaceAndTheDesktopFilesValidate) {
  tarn_test::TempDir stage;
  const std::string root = Install(stage);
  for (const char* file :
       {"bin/tarn", "bin/skelcheck", "share/tarn/gfx/3_blacksmith_a.png", "share/tarn/gfx/testchar4.png",
        "share/tarn/sound/test_mono.wav", "share/tarn/skel_data/Char01.atlas", "share/tarn/skel_data/Char01.json",
        "share/tarn/skel_data/Char01.png", "share/tarn/font/rounded-mplus-2m-medium.ttf",
        "share/tarn/font/fonts-mplus.copyright", "share/applications/tarn.desktop", "share/metainfo/tarn.metainfo.xml",
        "share/icons/hicolor/48x48/apps/tarn.png", "share/icons/hicolor/128x128/apps/tarn.png",
        "share/icons/hicolor/256x256/apps/tarn.png", "share/doc/tarn/LICENSE",
        "share/doc/tarn/fonts-mplus.copyright"}) {
    EXPECT_TRUE(fs::is_regular_file(root + "/" + file)) << file;
  }
  EXPECT_EQ(ReadAll(root + "/share/tarn/font/rounded-mplus-2m-medium.ttf"),
            ReadAll(std::string(TARN_WORKDIR) + "/font/rounded-mplus-2m-medium.ttf"));
  EXPECT_NE(ReadAll(root + "/share/doc/tarn/fonts-mplus.copyright").find("OFL-1.1"), std::string::npos);
  EXPECT_NE(ReadAll(root + "/share/doc/tarn/LICENSE").find("the Tarn developers"), std::string::npos);

  const std::string log = stage.File("check.log");
  EXPECT_TRUE(Succeeds("desktop-file-validate " + Quoted(root + "/share/applications/tarn.desktop"), log))
      << ReadAll(log) << "(desktop-file-validate comes with desktop-file-utils: scripts/deps.sh test)";
  EXPECT_TRUE(
      Succeeds("appstream-util validate-relax --nonet " + Quoted(root + "/share/metainfo/tarn.metainfo.xml"), log))
      << ReadAll(log) << "(appstream-util: scripts/deps.sh test)";
  // Docks match the window (class "tarn") to the entry.
  EXPECT_NE(ReadAll(root + "/share/applications/tarn.desktop").find("\nStartupWMClass=tarn\n"), std::string::npos);
  // The installed program tells the version of the metainfo's latest release
  // (AppStream lists the newest first), without a display or its data.
  const std::string metainfo = ReadAll(root + "/share/metainfo/tarn.metainfo.xml");
  const std::string tag = "<release version=\"";
  const size_t at = metainfo.find(tag);
  ASSERT_NE(at, std::string::npos) << "no release in the metainfo";
  const std::string released = metainfo.substr(at + tag.size(), metainfo.find('"', at + tag.size()) - at - tag.size());
  EXPECT_TRUE(Succeeds("env -u DISPLAY " + Quoted(root + "/bin/tarn") + " --version", log)) << ReadAll(log);
  EXPECT_EQ(ReadAll(log), "tarn " + released + "\n");
  // The installed tool reads the installed data.
  EXPECT_TRUE(Succeeds(Quoted(root + "/bin/skelcheck") + " skeleton " +
                           Quoted(root + "/share/tarn/skel_data/Char01.atlas") + " " +
                           Quoted(root + "/share/tarn/skel_data/Char01.json"),
                       log))
      << ReadAll(log);
}

bool ShowsMainScreen(const Screenshot& s) {
  // The top bar's fill, and the background picture below it.
  const Screenshot::Rgb bar = s.At(5, 15);
  const int lit = s.Count(0, 100, 1280, 20, [](Screenshot::Rgb p) { return p.r + p.g + p.b > 60; });
  return bar.r == 120 && bar.g == 120 && bar.b == 150 && lit > 1280 * 20 / 2;
}

TEST(Install, InstalledProgramStartedElsewhereDrawsTheMainScreenAndEndsWithZero) {
  tarn_test::TempDir stage, elsewhere;
  const std::string root = Install(stage);
  unsetenv("TARN_DATA_DIR");  // found beside the program, nowhere else

  ProgramHarness program;
  ASSERT_NE(program.display(), nullptr) << "no X display: run under xvfb-run";
  program.SetProgram(root + "/bin/tarn", {}, "OpenGL");
  program.SetWorkingDirectory(elsewhere.path());
  ASSERT_TRUE(program.Start());
  ASSERT_TRUE(program.WaitForWindow(30)) << "the installed program's window did not appear";
  EXPECT_TRUE(ShowsMainScreen(program.ShootWhen(ShowsMainScreen, 20))) << "no main screen";
  program.SendDeleteWindow();
  EXPECT_EQ(program.WaitForExit(30), 0);
}

}  // namespace
