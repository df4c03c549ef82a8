// What the tarn program decides before its window opens: its command line,
// the frame pacing switch, and the window it asks for (class, minimum size,
// icons built from assets/icons).
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>
#include <lodepng.h>

#include <string>
#include <vector>

#include "CommandLine.h"
#include "GameKeys.h"
#include "GameWindow.h"
#include "framework/graphics/PictureDecoder.h"
#include "tarn/Version.h"

namespace {

CommandLineAction Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "tarn");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, NoArgumentPlaysAndTheTwoQuestionsAreAnswered) {
  EXPECT_EQ(Parse({}), CommandLineAction::Play);
  EXPECT_EQ(ParseCommandLine(0, nullptr), CommandLineAction::Play);
  EXPECT_EQ(Parse({"--help"}), CommandLineAction::Help);
  EXPECT_EQ(Parse({"--version"}), CommandLineAction::Version);
  EXPECT_EQ(Parse({"-h"}), CommandLineAction::Help);
  EXPECT_EQ(Parse({"-V"}), CommandLineAction::Version);
}

TEST(CommandLine, EverythingElseIsMisuse) {
  for (const std::vector<const char*>& args : std::vector<std::vector<const char*>>{
           {"-H"}, {"-v"}, {"--Help"}, {"--help="}, {"help"}, {""}, {"--"}, {"--help", "--help"}, {"-V", "x"}}) {
    EXPECT_EQ(Parse(args), CommandLineAction::Misuse) << args[0];
  }
  EXPECT_EQ(kExitMisuse, 2);
}

TEST(CommandLine, MisuseNamesTheWrongArgumentBeforeTheUsage) {
  const auto said = [](std::vector<const char*> args) {
    args.insert(args.begin(), "tarn");
    return MisuseText("tarn", static_cast<int>(args.size()), args.data());
  };
  const std::string usage = UsageLine("tarn");
  EXPECT_EQ(said({"--bogus"}), "tarn: unknown argument --bogus\n" + usage);
  EXPECT_EQ(said({""}), "tarn: unknown argument ''\n" + usage);
  EXPECT_EQ(said({"--bogus", "--help"}), "tarn: unknown argument --bogus\n" + usage);
  EXPECT_EQ(said({"-h", "x"}), "tarn: -h takes no argument, but was given x\n" + usage);
}

TEST(CommandLine, TextsNameTheProgramAndTheVersion) {
  EXPECT_EQ(UsageLine("tarn"), "usage: tarn [--help | --version]\n");
  EXPECT_EQ(VersionText("tarn"), std::string("tarn ") + TARN_VERSION_STRING + "\n");
  const std::string help = HelpText("tarn");
  EXPECT_EQ(help.rfind(UsageLine("tarn"), 0), 0u);
  EXPECT_EQ(help.back(), '\n');
  for (const std::string& line : {std::string("  -h, --help "), std::string("  -V, --version ")}) {
    EXPECT_NE(help.find(line), std::string::npos) << line;
  }
}

TEST(CommandLine, VersionHeaderAgreesWithItself) {
  const std::string parts = std::to_string(TARN_VERSION_MAJOR) + "." + std::to_string(TARN_VERSION_MINOR);
  const std::string full = parts + "." + std::to_string(TARN_VERSION_PATCH);
  EXPECT_TRUE(TARN_VERSION_STRING == parts || TARN_VERSION_STRING == full) << TARN_VERSION_STRING;
}

TEST(GameKeys, F11AndAltEnterToggleFullscreenOnTheirFirstPressOnly) {
  struct Case {
    int key, action, mods;
    bool toggles;
  };
  for (const Case& c : {Case{GLFW_KEY_F11, GLFW_PRESS, 0, true},
                        {GLFW_KEY_F11, GLFW_PRESS, GLFW_MOD_SHIFT, true},
                        {GLFW_KEY_F11, GLFW_REPEAT, 0, false},
                        {GLFW_KEY_F11, GLFW_RELEASE, 0, false},
                        {GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_ALT, true},
                        {GLFW_KEY_KP_ENTER, GLFW_PRESS, GLFW_MOD_ALT | GLFW_MOD_NUM_LOCK, true},
                        {GLFW_KEY_ENTER, GLFW_PRESS, 0, false},
                        {GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_CONTROL, false},
                        {GLFW_KEY_ENTER, GLFW_REPEAT, GLFW_MOD_ALT, false},
                        {GLFW_KEY_F10, GLFW_PRESS, 0, false},
                        {GLFW_KEY_ESCAPE, GLFW_PRESS, GLFW_MOD_ALT, false}}) {
    EXPECT_EQ(IsFullscreenKey(c.key, c.action, c.mods), c.toggles) << c.key << " " << c.action << " " << c.mods;
  }
}

TEST(FramePacingSwitch, OnUnlessTurnedOff) {
  EXPECT_TRUE(FramePacingWanted(nullptr));
  EXPECT_TRUE(FramePacingWanted(""));
  EXPECT_TRUE(FramePacingWanted("on"));
  EXPECT_TRUE(FramePacingWanted("1"));
  EXPECT_FALSE(FramePacingWanted("off"));
  EXPECT_FALSE(FramePacingWanted("0"));
}

TEST(GameWindow, AsksForItsClassTheDesignSizeAsMinimumAndTheCommittedIcons) {
  const TarnFramework::WindowRequest request = GameWindowRequest();
  EXPECT_EQ(request.x11Class, "tarn");
  EXPECT_EQ(request.minWidth, 1280);
  EXPECT_EQ(request.minHeight, 720);
  ASSERT_EQ(request.icons.size(), 3u);
  const unsigned sides[] = {48, 128, 256};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(sides[i]);
    // Built in byte for byte from the committed file...
    std::vector<unsigned char> file;
    ASSERT_EQ(
        lodepng::load_file(file, std::string(ASSETS_SOURCE_DIR) + "/icons/tarn-" + std::to_string(sides[i]) + ".png"),
        0u);
    EXPECT_EQ(std::vector<unsigned char>(request.icons[i].bytes, request.icons[i].bytes + request.icons[i].size), file);
    // ...and decoding to a square of its size.
    TarnFramework::PictureDecoder::Picture picture;
    TarnFramework::PictureDecoder::DecodeBytes(request.icons[i].bytes, request.icons[i].size, 1024, picture);
    ASSERT_TRUE(picture.pixels) << picture.why;
    EXPECT_EQ(picture.width, sides[i]);
    EXPECT_EQ(picture.height, sides[i]);
  }
}

TEST(GameWindow, BytesThatAreNoPictureDecodeToNothingWithAReason) {
  TarnFramework::PictureDecoder::Picture picture;
  const unsigned char junk[] = {1, 2, 3};
  TarnFramework::PictureDecoder::DecodeBytes(junk, sizeof junk, 1024, picture);
  EXPECT_FALSE(picture.pixels);
  EXPECT_FALSE(picture.why.empty());
  TarnFramework::PictureDecoder::DecodeBytes(nullptr, 0, 1024, picture);
  EXPECT_FALSE(picture.pixels);
  EXPECT_EQ(picture.why, "empty file");
  // An icon larger than the side allowed is refused from its header.
  const TarnFramework::WindowRequest request = GameWindowRequest();
  TarnFramework::PictureDecoder::DecodeBytes(request.icons[2].bytes, request.icons[2].size, 128, picture);
  EXPECT_FALSE(picture.pixels);
  EXPECT_NE(picture.why.find("256 x 256"), std::string::npos) << picture.why;
}

}  // namespace
