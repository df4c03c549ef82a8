#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tarn_test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarn-test-XXXXXX").string();
  if (char* made = mkdtemp(pattern.data())) path_ = made;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return path_ + "/" + name; }

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::string full = File(name);
  std::ofstream(full, std::ios::binary) << bytes;
  return full;
}

std::string TempDir::Write(const std::string& name, const std::vector<unsigned char>& bytes) const {
  return Write(name, std::string(bytes.begin(), bytes.end()));
}

}  // namespace tarn_test
