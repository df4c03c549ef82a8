#include "TempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tarn_test {

const char* OddFileName(OddFile kind) {
  switch (kind) {
    case OddFile::Directory: return "directory";
    case OddFile::Pipe: return "pipe";
    case OddFile::DevZeroLink: return "link to /dev/zero";
    case OddFile::Sparse: return "sparse 5 GiB";
    case OddFile::LinkLoop: return "link loop";
  }
  return "?";
}

bool MakeOddFile(const std::string& path, OddFile kind) {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
  switch (kind) {
    case OddFile::Directory: return std::filesystem::create_directory(path, ignored);
    case OddFile::Pipe: return mkfifo(path.c_str(), 0600) == 0;
    case OddFile::DevZeroLink: return symlink("/dev/zero", path.c_str()) == 0;
    case OddFile::LinkLoop: return symlink(path.c_str(), path.c_str()) == 0;
    case OddFile::Sparse: {
      int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      bool ok = fd >= 0 && ftruncate(fd, off_t{5} << 30) == 0;
      if (fd >= 0) close(fd);
      return ok;
    }
  }
  return false;
}

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
