#include "Options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace skelpack {

namespace {

// Far above any texture a GL driver takes.
constexpr int kLargestPage = 16384;

bool ParseInt(const char* text, int low, int high, int& out) {
  if (!text || !*text || *text == '+' || *text == '-' || *text == ' ') return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (*end || errno || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

bool EndsWith(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  return text.size() > n && text.compare(text.size() - n, n, tail) == 0;
}

}  // namespace

const char* UsageText() {
  return "usage: skelpack [options] INPUT_DIR OUTPUT\n"
         "Packs every PNG under INPUT_DIR into OUTPUT.atlas and its pages OUTPUT.png,\n"
         "OUTPUT_2.png, ... A region is named by its picture's path under INPUT_DIR\n"
         "without .png (\"ui/button\"); a name ending in _N is frame N of a sequence\n"
         "(\"walk_3.png\": region \"walk\", index 3).\n"
         "\n"
         "  --max-size N   the largest page width and height (default 2048)\n"
         "  --padding N    pixels between regions and from the page's edges (default 2)\n"
         "  --extrude N    repeat each region's edge pixels N times around it, against\n"
         "                 bleeding under linear filtering; the padding lies beyond (default 0)\n"
         "  --rotate       store regions turned a quarter where they fit better\n"
         "  --pot          page sizes in powers of two\n"
         "  --no-trim      keep fully transparent edges (trimmed by default; a trimmed\n"
         "                 region still draws where the whole picture would)\n"
         "  --skeleton FILE.json  keep whole the pictures that the skeleton's meshes use:\n"
         "                 a mesh spans its whole picture, so trimmed it would show what\n"
         "                 lies beside it on the page (may be given more than once)\n"
         "  --help         print this text\n"
         "\n"
         "Pictures with the same pixels are stored once. Nothing is written when a\n"
         "picture does not decode, does not fit a page or has another's name and\n"
         "index (walk_1.png and walk_01.png), or when there is no picture.\n"
         "Exit codes: 0 written; 1 refused (the file is named); 2 a usage error.\n";
}

Parsed ParseArguments(int argc, char** argv, Options& options, std::string& error) {
  std::string* positional[] = {&options.input, &options.output};
  size_t given = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    int* number = arg == "--max-size"  ? &options.maxSize
                  : arg == "--padding" ? &options.padding
                  : arg == "--extrude" ? &options.extrude
                                       : nullptr;
    if (arg == "--help" || arg == "-h") return Parsed::kHelp;
    if (number) {
      const int low = number == &options.maxSize ? 1 : 0;
      const int high = number == &options.maxSize ? kLargestPage : 256;
      if (!ParseInt(value, low, high, *number)) {
        error = arg + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                (value ? std::string(", not \"") + value + "\"" : "");
        return Parsed::kUsageError;
      }
      ++i;
    } else if (arg == "--skeleton") {
      if (!value) {
        error = "--skeleton takes a skeleton JSON file";
        return Parsed::kUsageError;
      }
      options.skeletons.push_back(value);
      ++i;
    } else if (arg == "--no-trim") {
      options.trim = false;
    } else if (arg == "--rotate") {
      options.rotate = true;
    } else if (arg == "--pot") {
      options.pot = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return Parsed::kUsageError;
    } else if (given < 2) {
      *positional[given++] = arg;
    } else {
      error = "one INPUT_DIR and one OUTPUT, not also " + arg;
      return Parsed::kUsageError;
    }
  }
  if (given < 2) {
    error = given ? "no OUTPUT given" : "no INPUT_DIR and OUTPUT given";
    return Parsed::kUsageError;
  }
  // "out/hero.atlas" is taken to mean the atlas itself.
  if (EndsWith(options.output, ".atlas")) options.output.resize(options.output.size() - 6);
  const size_t slash = options.output.find_last_of('/');
  const std::string base = options.output.substr(slash == std::string::npos ? 0 : slash + 1);
  if (base.empty() || base.find_first_of("\n\r:") != std::string::npos ||
      std::isspace(static_cast<unsigned char>(base[0]))) {
    error = "OUTPUT \"" + options.output + "\" must end in a file name (no colon, line break or leading space)";
    return Parsed::kUsageError;
  }
  return Parsed::kRun;
}

}  // namespace skelpack
