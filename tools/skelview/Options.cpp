#include "Options.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Export.h"
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

// A number above 0 and at most high, nothing after it.
bool ParsePositive(const char* text, double high, double& out) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (!*text || *end || !std::isfinite(value) || value <= 0 || value > high) return false;
  out = value;
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
  return "usage: skelview ATLAS JSON [--skin NAME] [--animation NAME] [--background [#]RRGGBB[AA]]\n"
         "                [--onion-spacing SECONDS] [--onion-count N]\n"
         "       skelview ATLAS JSON --render [ANIMATION] --fps N --out OUT [--frames K] [--size WxH]"
         " [--scale F] [--skin NAME] [--animation NAME] [--background [#]RRGGBB[AA]]\n"
         "                [--columns N] [--padding P] [--data FILE.json] [--all] [--skins all]\n"
         "       OUT: SHEET.png, 'NAME_%03d.png' (one file per frame), FILE.webp, FILE.apng or FILE.gif;\n"
         "            %s in OUT and in --data stands for the animation's name\n"
         "       skelview ATLAS JSON --apply SCRIPT [--save OUT]\n"
         "            runs the editing commands in SCRIPT with no window, then saves to OUT (or over JSON,\n"
         "            keeping the old file as JSON.bak); a JSON that does not exist starts with one bone, root.\n"
         "            A command that cannot be done stops with its line number, exit 1, nothing written.\n"
         "       In the window: Tab setup/animate mode, click a bone (bones shown) to select it, drag rotates,\n"
         "            Shift+drag moves, Ctrl+drag scales, K keys (animate mode), Delete removes the key under\n"
         "            the pointer on the time bar, Ctrl+Z undo, Ctrl+Y or Ctrl+Shift+Z redo, Ctrl+S save.\n";
}

bool ParseColor(const std::string& written, uint32_t& color) {
  const std::string text = !written.empty() && written[0] == '#' ? written.substr(1) : written;
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
  bool fpsGiven = false, layoutGiven = false, onionGiven = false;
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
    if (arg == "--all") {
      options.allAnimations = true;
      continue;
    }
    const bool takesValue = arg == "--skin" || arg == "--animation" || arg == "--fps" || arg == "--frames" ||
                            arg == "--size" || arg == "--out" || arg == "--background" || arg == "--columns" ||
                            arg == "--padding" || arg == "--scale" || arg == "--data" || arg == "--skins" ||
                            arg == "--apply" || arg == "--save" || arg == "--onion-spacing" || arg == "--onion-count";
    if (takesValue) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      const char* value = argv[++i];
      if (arg == "--apply") {
        options.applyScript = value;
      } else if (arg == "--save") {
        options.savePath = value;
      } else if (arg == "--skin") {
        options.skin = value;
      } else if (arg == "--animation") {
        options.animation = value;
      } else if (arg == "--out") {
        options.out = value;
      } else if (arg == "--background") {
        if (!ParseColor(value, options.background)) {
          error =
              std::string("--background wants RRGGBB or RRGGBBAA in hexadecimal (# before it or not), not ") + value;
          return false;
        }
        options.hasBackground = true;
      } else if (arg == "--data") {
        options.dataPath = value;
        layoutGiven = true;
      } else if (arg == "--skins") {
        if (std::strcmp(value, "all") != 0) {
          error = std::string("--skins takes only all (one skin: --skin NAME), not ") + value;
          return false;
        }
        options.allSkins = true;
      } else if (arg == "--columns" || arg == "--padding") {
        const bool columns = arg == "--columns";
        if (!ParseInt(value, columns ? 1 : 0, columns ? 10000 : 1024, columns ? options.columns : options.padding)) {
          error =
              arg + (columns ? " wants a count from 1 to 10000, not " : " wants pixels from 0 to 1024, not ") + value;
          return false;
        }
        layoutGiven = true;
      } else if (arg == "--scale") {
        if (!ParsePositive(value, 64, options.scale)) {
          error = std::string("--scale wants a number above 0, at most 64, not ") + value;
          return false;
        }
        options.scaleGiven = true;
      } else if (arg == "--onion-spacing") {
        if (!ParsePositive(value, 10, options.onionSpacing)) {
          error = std::string("--onion-spacing wants seconds above 0, at most 10, not ") + value;
          return false;
        }
        onionGiven = true;
      } else if (arg == "--onion-count") {
        if (!ParseInt(value, 1, 10, options.onionCount)) {
          error = std::string("--onion-count wants a count from 1 to 10, not ") + value;
          return false;
        }
        onionGiven = true;
      } else if (arg == "--fps") {
        if (!ParsePositive(value, 1000, options.fps)) {
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
        options.sizeGiven = true;
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
  if (options.allAnimations && (!renderName.empty() || !options.animation.empty())) {
    error = "--all renders every animation; name none";
    return false;
  }
  if (options.allSkins && !options.skin.empty()) {
    error = "--skins all renders every skin; --skin names one";
    return false;
  }
  if (!renderName.empty()) {
    if (!options.animation.empty() && options.animation != renderName) {
      error = "--render " + renderName + " and --animation " + options.animation + " name different animations";
      return false;
    }
    options.animation = renderName;
  }
  // Editing from a script.
  if (!options.savePath.empty() && options.applyScript.empty()) {
    error = "--save goes with --apply";
    return false;
  }
  if (!options.applyScript.empty() && options.render) {
    error = "--apply edits and saves; render the saved file in a second run";
    return false;
  }
  if (options.render && onionGiven) {
    error = "--onion-spacing and --onion-count go with the viewer, not --render";
    return false;
  }
  if (options.render) {
    if (!fpsGiven || options.out.empty()) {
      error = "--render needs --fps and --out";
      return false;
    }
    OutputKind kind;
    if (!ClassifyOutput(options.out, kind, error)) return false;
    // Several outputs under one name would overwrite each other.
    const bool several = options.allAnimations || options.allSkins;
    if (several && options.out.find("%s") == std::string::npos) {
      error = "--out " + options.out + ": --all and --skins all need %s in the name, for each animation's own";
      return false;
    }
    if (!options.dataPath.empty() && several && options.dataPath.find("%s") == std::string::npos) {
      error = "--data " + options.dataPath + ": --all and --skins all need %s in the name, for each animation's own";
      return false;
    }
  } else if (fpsGiven || options.sizeGiven || !options.out.empty() || options.frames || layoutGiven ||
             options.scaleGiven || options.allAnimations || options.allSkins) {
    error = "--fps, --frames, --size, --scale, --out, --columns, --padding, --data, --all and --skins go with --render";
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
