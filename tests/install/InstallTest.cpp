// `cmake --install` into a staging folder (DESTDIR), which is the installed
// tree moved away from its prefix: every file in its place, the desktop files
// valid, the installed program, started from elsewhere, finding its data
// beside itself, and other programs built on the installed libraries through
// the CMake package and pkg-config. Also Tarn's tree as another project's
// subproject.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ProgramHarness.h"
#include "TempDir.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "tarn/Version.h"

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

// The installed library file of a module: the one the linker takes.
std::string Library(const std::string& name) {
  const std::string lib = std::string(TARN_LIBDIR) + "/libtarn_" + name;
#if TARN_SHARED
  return lib + ".so." + std::to_string(TARN_VERSION_MAJOR) + "." + std::to_string(TARN_VERSION_MINOR);
#else
  return lib + ".a";
#endif
}

// The fenced block of the language in the README's part on using Tarn in
// one's own program that holds the text: the snippets are tested as they stand.
std::string ReadmeBlock(const std::string& language, const std::string& holding) {
  const std::string readme = ReadAll(TARN_SOURCE_DIR "/README.md");
  const size_t part = readme.find("\n## Using Tarn in your own program\n");
  const size_t partEnd = readme.find("\n## ", part + 1);
  const std::string open = "\n```" + language + "\n";
  for (size_t at = readme.find(open, part); at < partEnd; at = readme.find(open, at + 1)) {
    const size_t begin = at + open.size();
    const std::string block = readme.substr(begin, readme.find("\n```\n", begin) + 1 - begin);
    if (block.find(holding) != std::string::npos) return block;
  }
  ADD_FAILURE() << "the README has no " << language << " block with " << holding;
  return "";
}

// A program of the README's include block, printing the version it was built against.
void WriteIncludeBlockProgram(const std::string& path) {
  std::ofstream(path) << ReadmeBlock("cpp", "#include \"tarn/Version.h\"")
                      << "#include <cstdio>\n\nint main() {\n  std::puts(TARN_VERSION_STRING);\n  return 0;\n}\n";
}

// A shell line of the README with its prefix made root and the compiler the build's.
std::string AsBuilt(std::string line, const std::string& root) {
  for (size_t at; (at = line.find("~/tarn")) != std::string::npos;) line.replace(at, 6, Quoted(root));
  if (line.rfind("c++ ", 0) == 0) line.replace(0, 4, Quoted(TARN_CXX) + " " TARN_SANITIZER_FLAGS " ");
  return line;
}

TEST(Install, PutsEveryFileInItsPlaceAndTheDesktopFilesValidate) {
  tarn_test::TempDir stage;
  const std::string root = Install(stage);
  const std::string libdir = TARN_LIBDIR;
  for (const std::string& file :
       std::vector<std::string>{"include/skel/Skeleton.h", "include/tarn/Path.h", "include/tarn/Version.h",
                                "include/framework/core/StartUp.h", "include/framework/skel/SkelAnimation.h",
                                "include/framework/widgets/WidgetAnimeBase.h", libdir + "/cmake/Tarn/TarnConfig.cmake",
                                libdir + "/cmake/Tarn/TarnConfigVersion.cmake", libdir + "/pkgconfig/tarn-skel.pc",
                                libdir + "/pkgconfig/tarn-framework.pc", libdir + "/cmake/Tarn/tarn-lsan.supp",
                                Library("skel"), Library("path"), Library("core"), Library("graphics"), Library("text"),
                                Library("sound"), Library("widgets"), Library("skel_glue")}) {
    EXPECT_TRUE(fs::exists(root + "/" + file)) << file;
  }
#if TARN_SHARED
  // Programs ask for the library by its SONAME, the file named after the version.
  const std::string soname = fs::path(Library("skel")).filename().string();
  EXPECT_TRUE(Succeeds("readelf -d " + Quoted(root + "/" + Library("skel")) + " | grep -F '[" + soname + "]'",
                       stage.File("soname.log")))
      << ReadAll(stage.File("soname.log"));
#endif
  for (const char* file : {"bin/tarn",
                           "bin/skelcheck",
                           "share/tarn/gfx/3_blacksmith_a.png",
                           "share/tarn/gfx/testchar4.png",
                           "share/tarn/sound/test_mono.wav",
                           "share/tarn/skel_data/Char01.atlas",
                           "share/tarn/skel_data/Char01.json",
                           "share/tarn/skel_data/Char01.png",
                           "share/tarn/font/rounded-mplus-2m-medium.ttf",
                           "share/tarn/font/fonts-mplus.copyright",
                           "share/applications/org.tarngame.tarn.desktop",
                           "share/metainfo/org.tarngame.tarn.metainfo.xml",
                           "share/icons/hicolor/48x48/apps/tarn.png",
                           "share/icons/hicolor/128x128/apps/tarn.png",
                           "share/icons/hicolor/256x256/apps/tarn.png",
                           "share/doc/tarn/LICENSE",
                           "share/doc/tarn/fonts-mplus.copyright",
                           "share/doc/tarn/examples/CMakeLists.txt",
                           "share/doc/tarn/examples/skeleton.cpp",
                           "share/doc/tarn/html/index.html",
                           "share/doc/tarn/html/skeleton_8cpp-example.html"}) {
    EXPECT_TRUE(fs::is_regular_file(root + "/" + file)) << file;
  }
  EXPECT_EQ(ReadAll(root + "/share/tarn/font/rounded-mplus-2m-medium.ttf"),
            ReadAll(std::string(TARN_WORKDIR) + "/font/rounded-mplus-2m-medium.ttf"));
  EXPECT_NE(ReadAll(root + "/share/doc/tarn/fonts-mplus.copyright").find("OFL-1.1"), std::string::npos);
  EXPECT_NE(ReadAll(root + "/share/doc/tarn/LICENSE").find("the Tarn developers"), std::string::npos);

  const std::string log = stage.File("check.log");
  EXPECT_TRUE(Succeeds("desktop-file-validate " + Quoted(root + "/share/applications/org.tarngame.tarn.desktop"), log))
      << ReadAll(log) << "(desktop-file-validate comes with desktop-file-utils: scripts/deps.sh test)";
  EXPECT_TRUE(Succeeds(
      "appstream-util validate-relax --nonet " + Quoted(root + "/share/metainfo/org.tarngame.tarn.metainfo.xml"), log))
      << ReadAll(log) << "(appstream-util: scripts/deps.sh test)";
  EXPECT_TRUE(Succeeds(
      "appstreamcli validate --no-net " + Quoted(root + "/share/metainfo/org.tarngame.tarn.metainfo.xml"), log))
      << ReadAll(log) << "(appstreamcli comes with appstream: scripts/deps.sh test)";
  // Docks match the window (class "tarn") to the entry.
  EXPECT_NE(ReadAll(root + "/share/applications/org.tarngame.tarn.desktop").find("\nStartupWMClass=tarn\n"),
            std::string::npos);
  // The installed program tells the version of the metainfo's latest release
  // (AppStream lists the newest first), without a display or its data.
  const std::string metainfo = ReadAll(root + "/share/metainfo/org.tarngame.tarn.metainfo.xml");
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

// What the pose example prints, computed with the tree's runtime.
std::string ExpectedPose(const std::string& atlasPath, const std::string& skeletonPath, const char* animation,
                         float seconds) {
  skel::Atlas atlas(skel::String(atlasPath.c_str()), nullptr);
  skel::SkeletonJson json(&atlas);
  std::unique_ptr<skel::SkeletonData> data(json.readSkeletonDataFile(skel::String(skeletonPath.c_str())));
  if (!data) return "no skeleton";
  skel::Skeleton skeleton(data.get());
  skel::AnimationStateData mixes(data.get());
  skel::AnimationState state(&mixes);
  state.setAnimation(0, skel::String(animation), true);
  state.update(seconds);
  state.apply(skeleton);
  skeleton.updateWorldTransform();
  char line[256];
  std::snprintf(line, sizeof line, "%s at %.3f s\n", animation, seconds);
  std::string out = line;
  for (skel::Bone* bone : skeleton.getBones()) {
    std::snprintf(line, sizeof line, "%-14s %9.3f %9.3f %8.2f\n", bone->getData().getName().buffer(), bone->getWorldX(),
                  bone->getWorldY(), bone->getWorldRotationX());
    out += line;
  }
  return out;
}

// Runs the three examples built in dir on the installed data under root.
void RunExamples(const std::string& dir, const std::string& root, const std::string& log) {
  const std::string data = root + "/share/tarn";
  const std::string atlas = data + "/skel_data/Char01.atlas", json = data + "/skel_data/Char01.json";
  EXPECT_TRUE(Succeeds(Quoted(dir + "/pose") + " " + Quoted(atlas) + " " + Quoted(json) + " wave 0.5", log))
      << ReadAll(log);
  EXPECT_EQ(ReadAll(log), ExpectedPose(atlas, json, "wave", 0.5f));
  EXPECT_TRUE(Succeeds(Quoted(dir + "/window") + " " + Quoted(data) + " 20", log)) << ReadAll(log);
  if (fs::exists(dir + "/skeleton")) {
    // Past the first change of animation, which blends into the next.
    EXPECT_TRUE(Succeeds(Quoted(dir + "/skeleton") + " " + Quoted(atlas) + " " + Quoted(json) + " 130", log))
        << ReadAll(log);
    EXPECT_NE(ReadAll(log).find("now wave\n"), std::string::npos) << ReadAll(log);
  }
}

TEST(Install, ExamplesBuildOnTheInstalledCMakePackage) {
  tarn_test::TempDir stage;
  const std::string root = Install(stage);
  const std::string build = stage.File("examples"), log = stage.File("examples.log");
  ASSERT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " -S " + Quoted(TARN_SOURCE_DIR "/examples") + " -B " + Quoted(build) +
                           " -DCMAKE_PREFIX_PATH=" + Quoted(root) + " -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=" +
                           Quoted(TARN_CXX) + " '-DCMAKE_CXX_FLAGS=" TARN_SANITIZER_FLAGS "'",
                       log))
      << ReadAll(log);
  ASSERT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " --build " + Quoted(build) + " -j2", log)) << ReadAll(log);
  RunExamples(build, root, log);

  // The README's project and include block, as they stand.
  const std::string mine = stage.File("mygame");
  fs::create_directory(mine);
  std::ofstream(mine + "/CMakeLists.txt") << ReadmeBlock("cmake", "find_package(Tarn");
  WriteIncludeBlockProgram(mine + "/main.cpp");
  ASSERT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " -S " + Quoted(mine) + " -B " + Quoted(mine + "/build") +
                           " -DCMAKE_PREFIX_PATH=" + Quoted(root) + " -DCMAKE_CXX_COMPILER=" + Quoted(TARN_CXX) +
                           " '-DCMAKE_CXX_FLAGS=" TARN_SANITIZER_FLAGS "' && " + Quoted(TARN_CMAKE) + " --build " +
                           Quoted(mine + "/build") + " && " + Quoted(mine + "/build/mygame"),
                       log))
      << ReadAll(log);
  EXPECT_EQ(ReadAll(log).substr(ReadAll(log).rfind('\n', ReadAll(log).size() - 2) + 1), TARN_VERSION_STRING "\n");

  // The window's button, clicked, plays the sound; closed, the window ends the program.
  ProgramHarness window;
  ASSERT_NE(window.display(), nullptr) << "no X display: run under xvfb-run";
  window.SetProgram(build + "/window", {root + "/share/tarn"}, "Tarn example: window");
  const std::string mix = window.RecordSoundIn(stage.path());
  ASSERT_TRUE(window.Start());
  ASSERT_TRUE(window.WaitForWindow(30)) << "the example's window did not appear";
  ProgramHarness::Pause(1000);
  EXPECT_TRUE(window.Click(640 - 20 - 80, 360 - 20 - 24));  // the button's centre, 20 px from the corner
  ProgramHarness::Pause(1000);
  window.SendDeleteWindow();
  EXPECT_EQ(window.WaitForExit(30), 0);
  EXPECT_GT(tarn_test::WavPeak(mix), 1000) << "no sound from the button";

  // Before 1.0 another minor version may break the interface: the package is
  // found for this version, not for the next minor or major one.
  const std::string versions = stage.File("versions");
  fs::create_directory(versions);
  const int major = TARN_VERSION_MAJOR, minor = TARN_VERSION_MINOR;
  const std::string same = std::to_string(major) + "." + std::to_string(minor);
  const std::string nextMinor = std::to_string(major) + "." + std::to_string(minor + 1);
  const std::string nextMajor = std::to_string(major + 1) + ".0";
  std::ofstream(versions + "/CMakeLists.txt")
      << "cmake_minimum_required(VERSION 3.25)\nproject(Versions LANGUAGES NONE)\n"
      << "foreach(v " << same << " " << nextMinor << " " << nextMajor << ")\n"
      << "  find_package(Tarn ${v} QUIET COMPONENTS skel)\n"
      << "  message(STATUS \"Tarn ${v}: ${Tarn_FOUND}\")\n"
      << "  unset(Tarn_FOUND)\nendforeach()\n"
      // A component Tarn does not know fails the package only when required.
      << "find_package(Tarn QUIET COMPONENTS skel OPTIONAL_COMPONENTS sparkles)\n"
      << "message(STATUS \"optional: ${Tarn_FOUND} ${Tarn_sparkles_FOUND}\")\n"
      << "unset(Tarn_FOUND)\n"
      << "find_package(Tarn QUIET COMPONENTS skel sparkles)\n"
      << "message(STATUS \"required: ${Tarn_FOUND}\")\n"
      << "message(STATUS \"suppressions: ${Tarn_LSAN_SUPPRESSIONS}\")\n";
  ASSERT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " -S " + Quoted(versions) + " -B " + Quoted(versions + "/build") +
                           " -DCMAKE_PREFIX_PATH=" + Quoted(root),
                       log))
      << ReadAll(log);
  const std::string found = ReadAll(log);
  EXPECT_NE(found.find("Tarn " + same + ": 1\n"), std::string::npos) << found;
  EXPECT_NE(found.find("Tarn " + nextMinor + ": 0\n"), std::string::npos) << found;
  EXPECT_NE(found.find("Tarn " + nextMajor + ": 0\n"), std::string::npos) << found;
  EXPECT_NE(found.find("optional: 1 FALSE\n"), std::string::npos) << found;
  EXPECT_NE(found.find("required: 0\n"), std::string::npos) << found;
  const size_t named = found.find("suppressions: ");
  ASSERT_NE(named, std::string::npos) << found;
  const std::string suppressions = found.substr(named + 14, found.find('\n', named) - named - 14);
  EXPECT_NE(ReadAll(suppressions).find("leak:"), std::string::npos) << suppressions;
}

TEST(Install, PkgConfigBuildsProgramsOnTheInstalledLibraries) {
  tarn_test::TempDir stage;
  const std::string root = Install(stage);
  const std::string log = stage.File("pkg-config.log");
  const std::string pkgConfig = "PKG_CONFIG_PATH=" + Quoted(root + "/" + TARN_LIBDIR + "/pkgconfig") + " pkg-config";
  EXPECT_TRUE(Succeeds(pkgConfig + " --exact-version=" TARN_VERSION_STRING " tarn-skel tarn-framework", log))
      << ReadAll(log);
  const std::string compile =
      Quoted(TARN_CXX) + " -std=c++17 " TARN_SANITIZER_FLAGS " -Wl,-rpath," + Quoted(root + "/" + TARN_LIBDIR) + " ";
  for (const char* program : {"pose", "window"}) {
    const std::string package = std::string(program) == "pose" ? "tarn-skel" : "tarn-framework";
    ASSERT_TRUE(Succeeds(compile + "-o " + Quoted(stage.File(program)) + " " +
                             Quoted(std::string(TARN_SOURCE_DIR "/examples/") + program + ".cpp") + " $(" + pkgConfig +
                             " --cflags --libs " + package + ")",
                         log))
        << ReadAll(log);
  }
  RunExamples(stage.path(), root, log);

  // The README's lines, as they stand, on its include block; a shared
  // install outside the loader's path is found through LD_LIBRARY_PATH, as
  // the README says.
  const std::string mine = stage.File("mygame");
  fs::create_directory(mine);
  for (const char* program : {"pose", "window"}) WriteIncludeBlockProgram(mine + "/" + program + ".cpp");
  std::string script = "cd " + Quoted(mine) + "\n";
  std::istringstream lines(ReadmeBlock("sh", "pkg-config --cflags --libs tarn-framework"));
  for (std::string line; std::getline(lines, line);) script += AsBuilt(line, root) + "\n";
  script += "LD_LIBRARY_PATH=" + Quoted(root + "/" + TARN_LIBDIR) + " ./window\n";
  std::ofstream(mine + "/build.sh") << script;
  ASSERT_TRUE(Succeeds("sh " + Quoted(mine + "/build.sh"), log)) << script << ReadAll(log);
  EXPECT_EQ(ReadAll(log), TARN_VERSION_STRING "\n") << script;
}

// Another game with Tarn's tree added as a subdirectory: the libraries under
// their package names, the game, tools, tests and working directory off unless
// asked for, and the includes the same as against an install.
TEST(Subproject, GivesTheLibrariesOnlyWithTheInstalledIncludes) {
  tarn_test::TempDir dir;
  const std::string build = dir.File("build"), log = dir.File("subproject.log");
  ASSERT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " -S " + Quoted(TARN_SOURCE_DIR "/tests/install/consumer") + " -B " +
                           Quoted(build) + " -G 'Unix Makefiles' -DTARN_SOURCE_DIR=" + Quoted(TARN_SOURCE_DIR) +
                           " -DCMAKE_CXX_COMPILER=" + Quoted(TARN_CXX),
                       log))
      << ReadAll(log);
  // Compiling the examples is the check; linking would build all of Tarn again.
  // Makefiles name the object of a source outside the project by its path.
  const std::string objects = std::string(TARN_SOURCE_DIR).substr(1) + "/examples/";
  EXPECT_TRUE(
      Succeeds("make -C " + Quoted(build) + " " + Quoted(objects + "pose.o") + " " + Quoted(objects + "window.o"), log))
      << ReadAll(log);
  // The README's project as it stands, Tarn in third_party/tarn, beside a
  // docs target of its own: the include block compiles.
  const std::string mine = dir.File("mygame");
  fs::create_directories(mine + "/third_party");
  fs::create_directory_symlink(TARN_SOURCE_DIR, mine + "/third_party/tarn");
  std::ofstream(mine + "/CMakeLists.txt")
      << ReadmeBlock("cmake", "add_subdirectory(third_party/tarn)") << "add_custom_target(docs)\n";
  WriteIncludeBlockProgram(mine + "/main.cpp");
  EXPECT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " -S " + Quoted(mine) + " -B " + Quoted(mine + "/build") +
                           " -G 'Unix Makefiles' -DCMAKE_CXX_COMPILER=" + Quoted(TARN_CXX) + " && make -C " +
                           Quoted(mine + "/build") + " main.o",
                       log))
      << ReadAll(log);

  // Asked for, the game comes with its working directory.
  EXPECT_TRUE(Succeeds(Quoted(TARN_CMAKE) + " " + Quoted(build) + " -DTARN_GAME=ON -DTARN_WORKDIR_ASSETS=ON", log))
      << ReadAll(log);
}

}  // namespace
