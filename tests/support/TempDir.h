// A fresh temporary folder, removed with everything in it at the end of scope.
#pragma once

#include <string>
#include <vector>

namespace tarn_test {

// Things that are not a regular file, put where a file is expected.
enum class OddFile { Directory, Pipe, DevZeroLink, Sparse, LinkLoop };
constexpr OddFile kOddFiles[] = {OddFile::Directory, OddFile::Pipe, OddFile::DevZeroLink, OddFile::Sparse,
                                 OddFile::LinkLoop};
const char* OddFileName(OddFile kind);
// Replaces whatever is at path by one of them (a sparse file is 5 GiB).
bool MakeOddFile(const std::string& path, OddFile kind);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path()/name
  std::string File(const std::string& name) const;
  // Writes bytes to path()/name and returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  std::string Write(const std::string& name, const std::vector<unsigned char>& bytes) const;

 private:
  std::string path_;
};

}  // namespace tarn_test
