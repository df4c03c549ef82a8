// skelview's command line, and the start-up checks of the files it names.
#pragma once

#include <cstdint>
#include <string>

namespace skelview {

// Exit codes, as skelcheck uses them: 1 the loader refused the content, 2 a
// usage error or a file that cannot be read or written, 3 no window (no
// display, no OpenGL context, no font).
enum ExitCode { kExitOk = 0, kExitLoad = 1, kExitUsage = 2, kExitNoWindow = 3 };

struct Options {
  std::string atlasPath;
  std::string jsonPath;
  std::string skin;       // empty: the data's default skin
  std::string animation;  // empty: the first animation
  bool render = false;    // write a sprite sheet instead of opening the viewer
  // Behind the skeleton, 0xAABBGGRR as the framework's colours; without one
  // the view shows a checkerboard and the sheet is transparent.
  bool hasBackground = false;
  uint32_t background = 0;
  double fps = 0;
  int frames = 0;  // 0: enough to cover the animation once
  int frameWidth = 256;
  int frameHeight = 256;
  bool sizeGiven = false;  // else the canvas fits the frames at scale
  std::string out;
  // The render mode's outputs (Export.h): the sheet's layout, pixels per
  // skeleton unit, the frame data, and every animation or skin in one run.
  int columns = 8;
  int padding = 0;
  double scale = 1;
  bool scaleGiven = false;
  std::string dataPath;
  bool allAnimations = false;
  bool allSkins = false;
  // The viewer's onion skin (O): this many poses each side of the one
  // shown, this many seconds apart.
  double onionSpacing = 1.0 / 15;
  int onionCount = 2;
  bool help = false;
  // Editing with no window: the script of commands to run, and the file to
  // save to (empty: over the skeleton file).
  std::string applyScript;
  std::string savePath;
};

// Fills options from argv; false with a message in error on a usage mistake.
bool ParseArguments(int argc, char** argv, Options& options, std::string& error);

// The short usage text (for stderr on a mistake, stdout for --help).
const char* UsageText();

// "RRGGBB" or "RRGGBBAA" in hexadecimal, with or without a leading '#', as
// 0xAABBGGRR; false for anything else.
bool ParseColor(const std::string& text, uint32_t& color);

// Checks the files as skelcheck's skeleton verb does (no textures, no
// window), printing the lines it prints, warnings included, and returning its
// exit code: kExitUsage for a file that cannot be read, kExitLoad for any
// error. Then checks the names the options give: "no animation named X" / "no
// skin named X" and kExitLoad. kExitOk otherwise.
int CheckContent(const Options& options);

}  // namespace skelview
