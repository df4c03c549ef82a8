// Faults injected where the code under test meets the C library: linked into
// a test program, FileFaults.cpp replaces open, read and close, and passes
// every call through unchanged unless a test watches the file it concerns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tarn_test {

struct FileFaults {
  std::string path;  // the file watched, as open sees it ('/' separators)
  // Faults: reads past this many bytes fail with EIO; every open and read
  // fails once with EINTR before it goes through; a step taken as the path
  // is opened, before the open goes through (once).
  size_t failReadsAfter = SIZE_MAX;
  bool interrupt = false;
  std::function<void()> onOpen;
  // What happened: opens that went through, bytes read, calls interrupted.
  int opens = 0;
  size_t bytesRead = 0;
  int interruptions = 0;
};

// Watches faults.path for as long as it lives; one at a time, on one thread.
class WatchFile {
 public:
  explicit WatchFile(FileFaults& faults);
  ~WatchFile();
  WatchFile(const WatchFile&) = delete;
  WatchFile& operator=(const WatchFile&) = delete;
};

}  // namespace tarn_test
