#include "tarn/Path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace tarn {

namespace {

void SetWhy(std::string* why, const char* text) {
  if (why) *why = text;
}

}  // namespace

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

int OpenRegularFile(const char* path, size_t* size, std::string* why) {
  if (!path || !path[0]) {
    SetWhy(why, std::strerror(ENOENT));
    return -1;
  }
  // O_NONBLOCK: opening a named pipe for reading would otherwise wait for a
  // writer before the type could be checked.
  int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetWhy(why, std::strerror(errno));
    return -1;
  }
  struct stat info;
  const char* refusal = nullptr;
  if (::fstat(fd, &info) != 0) {
    refusal = std::strerror(errno);
  } else if (S_ISDIR(info.st_mode)) {
    refusal = std::strerror(EISDIR);
  } else if (!S_ISREG(info.st_mode)) {
    refusal = "Not a regular file";
  } else if (static_cast<unsigned long long>(info.st_size) > kMaxFileSize) {
    refusal = "File too large";
  }
  if (refusal) {
    SetWhy(why, refusal);
    ::close(fd);
    return -1;
  }
  // Reads from a regular file never block; clear the flag all the same.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (size) *size = static_cast<size_t>(info.st_size);
  return fd;
}

size_t ReadUpTo(int fd, void* buffer, size_t size) {
  size_t done = 0;
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (done < size) {
    ssize_t n = ::read(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

bool ReadFile(const char* path, std::vector<unsigned char>& out, std::string* why) {
  out.clear();
  size_t size = 0;
  int fd = OpenRegularFile(path, &size, why);
  if (fd < 0) return false;
  bool ok = true;
  try {
    out.resize(size);
    out.resize(ReadUpTo(fd, out.data(), size));
  } catch (const std::bad_alloc&) {
    out.clear();
    SetWhy(why, std::strerror(ENOMEM));
    ok = false;
  }
  ::close(fd);
  return ok;
}

bool CheckRegularFile(const char* path, std::string* why) {
  int fd = OpenRegularFile(path, nullptr, why);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace tarn
