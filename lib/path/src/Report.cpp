#include "tarn/Report.h"

#include <errno.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "tarn/Path.h"

namespace tarn {

namespace {

// The name the process was started by, until main gives its own.
std::string g_programName = program_invocation_short_name;

std::mutex g_logLock;
LogCallback g_logCallback = nullptr;
void* g_logUser = nullptr;

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

void Say(LogLevel level, const std::string& what, const std::string& why) {
  std::string message = Visible(what);
  if (!why.empty()) message += ": " + Visible(why);
  LogCallback callback;
  void* user;
  {
    std::lock_guard<std::mutex> hold(g_logLock);
    callback = g_logCallback;
    user = g_logUser;
  }
  if (callback) {
    callback(level, message.c_str(), user);
    return;
  }
  const std::string line = g_programName + ": " + (level == LogLevel::Warning ? "warning: " : "") + message + '\n';
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

void SetLogCallback(LogCallback callback, void* user) {
  std::lock_guard<std::mutex> hold(g_logLock);
  g_logCallback = callback;
  g_logUser = callback ? user : nullptr;
}

void ReportError(const std::string& what, const std::string& why) { Say(LogLevel::Error, what, why); }

void ReportWarning(const std::string& what, const std::string& why) { Say(LogLevel::Warning, what, why); }

std::string FileName(const char* path) {
  const std::string opened = tarn::NativePath(path ? path : "");
  if (!opened.empty() && opened[0] == '/') return opened;
  // Relative to the working directory: the data folder the program chose.
  char here[4096];
  if (!getcwd(here, sizeof here)) return opened;
  return std::string(here) + (std::strcmp(here, "/") == 0 ? "" : "/") + opened;
}

}  // namespace tarn
