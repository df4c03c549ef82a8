#include "Options.h"

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
  return "usage: skelview ATLAS JSON [--skin NAME] [--animation NAME]\n"
         "       skelview ATLAS JSON --render ANIMATION --fps N --out FILE.png [--frames K] [--size WxH]"
         " [--skin NAME]\n";
}

bool ParseArguments(int argc, char** argv, Options& options, std::string& error) {
  std::string* paths[] = {&options.atlasPath, &options.jsonPath};
  int pathCount = 0;
  bool fpsGiven = false, sizeGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return true;
    }
    const bool takesValue = arg == "--skin" || arg == "--animation" || arg == "--render" || arg == "--fps" ||
                            arg == "--frames" || arg == "--size" || arg == "--out";
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
      } else if (arg == "--render") {
        options.render = value;
      } else if (arg == "--out") {
        options.out = value;
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
  if (!options.render.empty()) {
    if (!fpsGiven || options.out.empty()) {
      error = "--render needs --fps and --out";
      return false;
    }
  } else if (fpsGiven || sizeGiven || !options.out.empty() || options.frames) {
    error = "--fps, --frames, --size and --out go with --render";
    return false;
  }
  return true;
}

int CheckContent(const Options& options) {
  skelcheck::Report report;
  skelcheck::Character character;
  const int loaded =
      skelcheck::LoadCharacter(options.atlasPath.c_str(), options.jsonPath.c_str(), true, report, character);
  if (loaded != skelcheck::kClean) return loaded;
  const skel::SkeletonData* data = character.data;
  for (const std::string* name : {&options.animation, &options.render}) {
    if (!name->empty() && !data->findAnimation(skel::String(name->c_str()))) {
      std::fprintf(stderr, "skelview: no animation named %s\n", name->c_str());
      return kExitLoad;
    }
  }
  if (!options.skin.empty() && !data->findSkin(skel::String(options.skin.c_str()))) {
    std::fprintf(stderr, "skelview: no skin named %s\n", options.skin.c_str());
    return kExitLoad;
  }
  return kExitOk;
}

}  // namespace skelview
