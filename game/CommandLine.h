// The tarn program's command line: no argument plays; --help and --version
// answer and end; anything else is a usage error. And the one environment
// switch of the frame loop.
#pragma once

#include <string>

enum class CommandLineAction {
  Play,     // no argument: open the window and play
  Help,     // --help or -h: the usage on standard output, exit 0
  Version,  // --version or -V: the version on standard output, exit 0
  Misuse,   // anything else: what was wrong and the usage line on standard error, exit 2
};

constexpr int kExitMisuse = 2;

// What the arguments ask for (argv[0] is the program and is not looked at).
// Only a single --help or --version (-h, -V) is understood; a second argument,
// or any other, is misuse.
CommandLineAction ParseCommandLine(int argc, const char* const* argv);

// For misuse: which argument was wrong ("tarn: unknown argument --bogus"),
// then the usage line.
std::string MisuseText(const std::string& program, int argc, const char* const* argv);

// "usage: tarn [--help | --version]\n", with the program's name.
std::string UsageLine(const std::string& program);
// The --help text: the usage line and what the program does with what.
std::string HelpText(const std::string& program);
// "tarn 0.1\n": the name and the project's version.
std::string VersionText(const std::string& program);

// TARN_FRAME_PACING's value (null when unset): "off" or "0" turns the 60
// frames a second cap off, so a measurement sees what a frame costs; anything
// else leaves it on.
bool FramePacingWanted(const char* value);
