#include "tarn/Path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
  // writer before the type could be checked. O_NOCTTY: a terminal named as a
  // file must not become the program's controlling terminal.
  const std::string native = NativePath(path);
  int fd;
  do {
    fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  } while (fd < 0 && errno == EINTR);
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

bool ReadOpenFile(int fd, size_t size, std::vector<unsigned char>& out, std::string* why) {
  out.clear();
  const char* failure = nullptr;
  try {
    // Read to the end whatever the size said: files under /proc give 0 and
    // hold more, and a file may grow while it is read.
    out.resize(size);
    size_t done = 0;
    for (;;) {
      // Once the buffer is full, a small read tells the end from more to
      // come without growing a buffer that holds the whole file already.
      unsigned char probe[4096];
      const bool full = done == out.size();
      ssize_t n = ::read(fd, full ? probe : out.data() + done, full ? sizeof probe : out.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        failure = std::strerror(errno);
        break;
      }
      if (n == 0) break;
      if (full) {
        if (static_cast<size_t>(n) > kMaxFileSize - done) {
          failure = "File too large";
          break;
        }
        out.resize(std::min(std::max(2 * done, done + sizeof probe), kMaxFileSize));
        std::memcpy(out.data() + done, probe, static_cast<size_t>(n));
      }
      done += static_cast<size_t>(n);
    }
    out.resize(done);
  } catch (const std::bad_alloc&) {
    failure = std::strerror(ENOMEM);
  }
  if (!failure) return true;
  out.clear();
  SetWhy(why, failure);
  return false;
}

bool ReadFile(const char* path, std::vector<unsigned char>& out, std::string* why) {
  out.clear();
  size_t size = 0;
  const int fd = OpenRegularFile(path, &size, why);
  if (fd < 0) return false;
  const bool read = ReadOpenFile(fd, size, out, why);
  ::close(fd);
  return read;
}

bool CheckRegularFile(const char* path, std::string* why) {
  int fd = OpenRegularFile(path, nullptr, why);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

}  // namespace tarn
