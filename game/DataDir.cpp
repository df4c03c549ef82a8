#include "DataDir.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tarn/Report.h"

// Where the installed data lies seen from the program's folder; the build
// sets it from the install layout.
#ifndef TARN_DATA_FROM_BIN
#define TARN_DATA_FROM_BIN "../share/tarn"
#endif

namespace {

const char* const kDataFolders[] = {"gfx", "font", "sound", "skel_data"};

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
  if (folder.empty()) return false;
  for (const char* name : kDataFolders) {
    struct stat info;
    if (stat((folder + "/" + name).c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  }
  return true;
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
  std::string message = "none of";
  for (size_t i = 0; i < candidates.size(); ++i) message += (i ? ", " : " ") + Shown(candidates[i]);
  return message + " holds gfx, font, sound and skel_data; set TARN_DATA_DIR to the folder that does";
}

bool EnterDataDir() {
  const std::vector<std::string> candidates =
      DataDirCandidates(std::getenv("TARN_DATA_DIR"), ProgramPath(), TARN_DATA_FROM_BIN);
  const std::string folder = FindDataDir(candidates);
  if (folder.empty()) {
    tarn::ReportError("cannot find the game data", DataDirNotFoundMessage(candidates));
    return false;
  }
  if (folder != "." && chdir(folder.c_str()) != 0) {
    tarn::ReportError("cannot enter the game data folder " + folder, std::strerror(errno));
    return false;
  }
  return true;
}
