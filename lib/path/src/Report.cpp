#include "tarn/Report.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "tarn/Path.h"

namespace tarn {

namespace {

std::string g_programName = "tarn";

std::string Visible(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void Say(const char* kind, const std::string& what, const std::string& why) {
  std::string line = g_programName + ": " + kind + Visible(what);
  if (!why.empty()) line += ": " + Visible(why);
  line += '\n';
  // One write, so lines of the program and of its libraries do not interleave.
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

void SetProgramName(const char* argv0) {
  if (!argv0 || !argv0[0]) return;
  const char* slash = std::strrchr(argv0, '/');
  const char* name = slash ? slash + 1 : argv0;
  if (name[0]) g_programName = name;
}

const char* ProgramName() { return g_programName.c_str(); }

void ReportError(const std::string& what, const std::string& why) { Say("", what, why); }

void ReportWarning(const std::string& what, const std::string& why) { Say("warning: ", what, why); }

std::string FileName(const char* path) {
  const std::string opened = tarn::NativePath(path ? path : "");
  if (!opened.empty() && opened[0] == '/') return opened;
  // Relative to the working directory: the data folder the program chose.
  char here[4096];
  if (!getcwd(here, sizeof here)) return opened;
  return std::string(here) + (std::strcmp(here, "/") == 0 ? "" : "/") + opened;
}

}  // namespace tarn
