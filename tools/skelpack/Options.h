// skelpack's command line.
#pragma once

#include <string>
#include <vector>

namespace skelpack {

struct Options {
  std::string input;   // the folder of pictures
  std::string output;  // the atlas's path without ".atlas"
  int maxSize = 2048;  // the largest page width and height
  int padding = 2;     // between regions and from the page's edges
  int extrude = 0;     // edge pixels repeated around each region
  bool trim = true;
  bool rotate = false;
  bool pot = false;
  std::vector<std::string> skeletons;  // whose meshes' pictures are kept whole
};

enum class Parsed { kRun, kHelp, kUsageError };

Parsed ParseArguments(int argc, char** argv, Options& options, std::string& error);
const char* UsageText();

}  // namespace skelpack
