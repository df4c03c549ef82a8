#include "Options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "skel/SkeletonData.h"
#include "skelcheck/Character.h"
#include "skelcheck/Output.h"

namespace skelview {

static_assert(kExitLoad == skelcheck::kProblem && kExitUsage == skelcheck::kUsage, "skelcheck's exit codes");

namespace {

// Whole numbers only, nothing after them, within [low, high].
bool ParseInt(const char* text, int low, int high, int& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text, &end, 10);
  if (errno || *end || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

bool ParseSize(const char* text, int& width, int& height) {
  const char* x = text ? std::strchr(text, 'x') : nullptr;
  if (!x) return false;
  const std::string w(text, x);
  return ParseInt(w.c_str(), 1, 4096, width) && ParseInt(x + 1, 1, 4096, height);
}

}  // namespace

const char* UsageText() {
  return "usage: skelview ATLAS JSON [--skin NAME] [--animation NAME] [--background RRGGBB[AA]]\n"
         "       skelview ATLAS JSON --render [ANIMATION] --fps N --out FILE.png [--frames K] [--size WxH]"
         " [--skin NAME] [--animation NAME] [--background RRGGBB[AA]]\n";
}

bool ParseColor(const std::string& text, uint32_t& color) {
  if (text.size() != 6 && text.size() != 8) return false;
  uint32_t bytes[4] = {0, 0, 0, 255};
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return false;
    bytes[i / 2] = (i % 2 ? bytes[i / 2] : 0) * 16 + digit;
  }
  color = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24;
  return true;
}

bool ParseArguments(int argc, char** argv, Options& options, std::string& error) {
  std::string* paths[] = {&options.atlasPath, &options.jsonPath};
  int pathCount = 0;
  bool fpsGiven = false, sizeGiven = false;
  std::string renderName;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    }
    if (arg == "--render") {
      options.render = true;
      // The animation may follow, or come with --animation.
      if (i + 1 < argc && argv[i + 1][0] != '-') renderName = argv[++i];
      continue;
    }
    const bool takesValue = arg == "--skin" || arg == "--animation" || arg == "--fps" || arg == "--frames" ||
                            arg == "--size" || arg == "--out" || arg == "--background";
    if (takesValue) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      const char* value = argv[++i];
      if (arg == "--skin") {
        options.skin = value;
      } else if (arg == "--animation") {
        options.animation = value;
      } else if (arg == "--out") {
        options.out = value;
      } else if (arg == "--background") {
        if (!ParseColor(value, options.background)) {
          error = std::string("--background wants RRGGBB or RRGGBBAA in hexadecimal, not ") + value;
          return false;
        }
        options.hasBackground = true;
      } else if (arg == "--fps") {
        char* end = nullptr;
        options.fps = std::strtod(value, &end);
        if (!*value || *end || !std::isfinite(options.fps) || options.fps <= 0 || options.fps > 1000) {
          error = std::string("--fps wants a number of frames per second above 0, not ") + value;
          return false;
        }
        fpsGiven = true;
      } else if (arg == "--frames") {
        if (!ParseInt(value, 1, 10000, options.frames)) {
          error = std::string("--frames wants a count from 1 to 10000, not ") + value;
          return false;
        }
      } else if (!ParseSize(value, options.frameWidth, options.frameHeight)) {
        error = std::string("--size wants WIDTHxHEIGHT, each 1 to 4096, not ") + value;
        return false;
      } else {
        sizeGiven = true;
      }
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    }
    if (pathCount == 2) {
      error = "too many files: " + arg;
      return false;
    }
    *paths[pathCount++] = arg;
  }
  if (pathCount < 2) {
    error = "an atlas and a skeleton file are needed";
    return false;
  }
  if (!renderName.empty()) {
    if (!options.animation.empty() && options.animation != renderName) {
      error = "--render " + renderName + " and --animation " + options.animation + " name different animations";
      return false;
    }
    options.animation = renderName;
  }
  if (options.render) {
    if (!fpsGiven || options.out.empty()) {
      error = "--render needs --fps and --out";
      return false;
    }
    // The extension says what is written; a sheet under another name would
    // be a PNG that no program opens as what it claims to be.
    const size_t dot = options.out.find_last_of("./");
    std::string extension = dot == std::string::npos || options.out[dot] != '.' ? "" : options.out.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".png") {
      error = "--out " + options.out + ": only .png sheets are written";
      return false;
    }
  } else if (fpsGiven || sizeGiven || !options.out.empty() || options.frames) {
    error = "--fps, --frames, --size and --out go with --render";
    return false;
  }
  return true;
}

int CheckContent(const Options& options) {
  // skelcheck's skeleton checks, so that its lines (warnings too) and exit
  // code are skelview's.
  skelcheck::Report report;
  skelcheck::Character character;
  const int loaded =
      skelcheck::LoadCharacter(options.atlasPath.c_str(), options.jsonPath.c_str(), true, report, character);
  if (loaded != skelcheck::kClean) return loaded;
  skelcheck::CheckLoadedCharacter(character, report);
  if (report.hasProblems()) return kExitLoad;
  const skel::SkeletonData* data = character.data;
  if (!options.animation.empty() && !data->findAnimation(skel::String(options.animation.c_str()))) {
    std::fprintf(stderr, "skelview: no animation named %s\n", options.animation.c_str());
    return kExitLoad;
  }
  if (!options.skin.empty() && !data->findSkin(skel::String(options.skin.c_str()))) {
    std::fprintf(stderr, "skelview: no skin named %s\n", options.skin.c_str());
    return kExitLoad;
  }
  return kExitOk;
}

}  // namespace skelview
