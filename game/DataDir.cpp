#include "DataDir.h"

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tarn/Path.h"

// Where the installed data lies seen from the program's folder; the build
// sets it from the install layout.
#ifndef TARN_DATA_FROM_BIN
#define TARN_DATA_FROM_BIN "../share/tarn"
#endif

namespace {

const char kMarker[] = "font/rounded-mplus-2m-medium.ttf";

std::string ProgramPath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::string();
  return std::string(buffer, static_cast<size_t>(n));
}

// "." shown as the folder it stands for, so the message says where that was.
std::string Shown(const std::string& folder) {
  if (folder != ".") return folder;
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? std::string(buffer) : folder;
}

}  // namespace

bool HoldsGameData(const std::string& folder) {
  return !folder.empty() && tarn::CheckRegularFile((folder + "/" + kMarker).c_str());
}

std::vector<std::string> DataDirCandidates(const char* dataDirEnv, const std::string& programPath,
                                           const std::string& fromProgram) {
  std::vector<std::string> candidates{"."};
  if (dataDirEnv && *dataDirEnv) candidates.push_back(dataDirEnv);
  const size_t slash = programPath.rfind('/');
  if (slash != std::string::npos) candidates.push_back(programPath.substr(0, slash + 1) + fromProgram);
  return candidates;
}

std::string FindDataDir(const std::vector<std::string>& candidates) {
  for (const std::string& folder : candidates) {
    if (HoldsGameData(folder)) return folder;
  }
  return std::string();
}

std::string DataDirNotFoundMessage(const std::vector<std::string>& candidates) {
  std::string message = std::string("tarn: game data (") + kMarker + ") not found in";
  for (size_t i = 0; i < candidates.size(); ++i) message += (i ? ", " : " ") + Shown(candidates[i]);
  return message + "; set TARN_DATA_DIR to the folder that holds it";
}

bool EnterDataDir() {
  const std::vector<std::string> candidates =
      DataDirCandidates(std::getenv("TARN_DATA_DIR"), ProgramPath(), TARN_DATA_FROM_BIN);
  const std::string folder = FindDataDir(candidates);
  if (folder.empty()) {
    std::fprintf(stderr, "%s\n", DataDirNotFoundMessage(candidates).c_str());
    return false;
  }
  if (folder != "." && chdir(folder.c_str()) != 0) {
    std::fprintf(stderr, "tarn: cannot enter the game data folder %s: %s\n", folder.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}
