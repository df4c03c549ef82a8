#include "CommandLine.h"

#include <cstring>

#include "tarn/Version.h"

CommandLineAction ParseCommandLine(int argc, const char* const* argv) {
  if (argc <= 1) return CommandLineAction::Play;
  if (argc == 2 && argv[1]) {
    if (std::strcmp(argv[1], "--help") == 0) return CommandLineAction::Help;
    if (std::strcmp(argv[1], "--version") == 0) return CommandLineAction::Version;
  }
  return CommandLineAction::Misuse;
}

std::string UsageLine(const std::string& program) { return "usage: " + program + " [--help | --version]\n"; }

std::string HelpText(const std::string& program) {
  return UsageLine(program) +
         "\n"
         "Tarn, a character-raising game. Without arguments it opens its window and\n"
         "plays; close the window to quit. It is played with the mouse.\n"
         "\n"
         "  --help     show this help and exit\n"
         "  --version  show the version and exit\n"
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
