#include "CommandLine.h"

#include <cstring>

#include "tarn/Version.h"

namespace {

bool IsHelp(const char* arg) { return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0; }
bool IsVersion(const char* arg) { return std::strcmp(arg, "--version") == 0 || std::strcmp(arg, "-V") == 0; }
// An empty argument is otherwise invisible in the message.
std::string Shown(const char* arg) { return arg[0] ? std::string(arg) : std::string("''"); }

}  // namespace

CommandLineAction ParseCommandLine(int argc, const char* const* argv) {
  if (argc <= 1) return CommandLineAction::Play;
  if (argc == 2 && argv[1]) {
    if (IsHelp(argv[1])) return CommandLineAction::Help;
    if (IsVersion(argv[1])) return CommandLineAction::Version;
  }
  return CommandLineAction::Misuse;
}

std::string MisuseText(const std::string& program, int argc, const char* const* argv) {
  std::string said;
  if (argc >= 2 && argv && argv[1]) {
    const char* first = argv[1];
    if (!IsHelp(first) && !IsVersion(first)) {
      said = program + ": unknown argument " + Shown(first) + "\n";
    } else if (argc >= 3 && argv[2]) {
      said = program + ": " + first + " takes no argument, but was given " + Shown(argv[2]) + "\n";
    }
  }
  return said + UsageLine(program);
}

std::string UsageLine(const std::string& program) { return "usage: " + program + " [--help | --version]\n"; }

std::string HelpText(const std::string& program) {
  return UsageLine(program) +
         "\n"
         "Tarn, a character-raising game. Without arguments it opens its window and\n"
         "plays; close the window to quit. It is played with the mouse.\n"
         "\n"
         "  -h, --help     show this help and exit\n"
         "  -V, --version  show the version and exit\n"
         "\n"
         "The game's data (gfx, font, sound, skel_data) is looked for in the working\n"
         "directory, then in TARN_DATA_DIR, then in ../share/tarn beside the program.\n"
         "The window is 1280 x 720 at least; the game runs at 60 frames a second\n"
         "(TARN_FRAME_PACING=off runs frames as fast as the display takes them) and\n"
         "stands still while the window is minimised.\n";
}

std::string VersionText(const std::string& program) { return program + " " + TARN_VERSION_STRING + "\n"; }

bool FramePacingWanted(const char* value) {
  return !value || (std::strcmp(value, "off") != 0 && std::strcmp(value, "0") != 0);
}
