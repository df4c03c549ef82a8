// A fresh temporary folder, removed with everything in it at the end of scope.
#pragma once

#include <string>
#include <vector>

namespace tarn_test {

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
