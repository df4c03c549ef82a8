#include "tarn/Path.h"

namespace tarn {

std::string NativePath(const char* path) {
  std::string native = path ? path : "";
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  return native;
}

std::FILE* OpenFile(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  return std::fopen(NativePath(path).c_str(), mode);
}

bool ReadFile(const char* path, std::vector<unsigned char>& out) {
  out.clear();
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return false;
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(file) : -1;
  ok = size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<size_t>(size));
    ok = size == 0 || std::fread(out.data(), 1, out.size(), file) == out.size();
  }
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}

}  // namespace tarn
