// Runs the skelcheck tool as a content maker would and keeps what it printed.
// The test target defines SKELCHECK_PATH.
#pragma once

#include <lodepng.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"

namespace skelcheck_test {

struct Result {
  int code = -1;
  std::string out, err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A plain white PNG with a clear corner (so it keeps its alpha channel), for
// a page image that must decode.
inline std::string Png(unsigned width, unsigned height) {
  std::vector<unsigned char> rgba(size_t{width} * height * 4, 0xff), png;
  if (!rgba.empty()) rgba.back() = 0;
  lodepng::encode(png, rgba, width, height);
  return std::string(png.begin(), png.end());
}

// A shell command line (already quoted), its output kept in dir.
inline Result RunCommand(const tarn_test::TempDir& dir, const std::string& command) {
  const std::string out = dir.File("stdout"), err = dir.File("stderr");
  const int status = std::system((command + " >'" + out + "' 2>'" + err + "'").c_str());
  Result result;
  if (WIFEXITED(status)) result.code = WEXITSTATUS(status);
  result.out = Slurp(out);
  result.err = Slurp(err);
  return result;
}

// args as written on a shell's command line (already quoted).
inline Result RunSkelcheck(const tarn_test::TempDir& dir, const std::string& args) {
  return RunCommand(dir, std::string("'") + SKELCHECK_PATH + "' " + args);
}

}  // namespace skelcheck_test
