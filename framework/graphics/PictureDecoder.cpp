#include "framework/graphics/PictureDecoder.h"

#include <GL/glew.h>
#include <lodepng.h>
#include <malloc.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "framework/graphics/GLCheck.h"
#include "tarn/Path.h"
#include "tarn/ThreadSignalStack.h"

namespace TarnFramework {

namespace {

// One worker: start-up asks before the window opens, and a second would take
// the core that the window's own set-up and the X server need.
constexpr size_t kWorkers = 1;
// Enough for every picture the game shows at start (13.5 MB decoded), so that
// they all decode while the window opens.
constexpr size_t kWaitingAtMost = 8;
// Requests come before there is a GL context to ask for its largest texture:
// the worker refuses only what no context takes, and Take checks the real limit.
constexpr unsigned kLargestSide = 32768;

struct Job {
  bool started = false;
  bool done = false;
  PictureDecoder::Picture picture;
};

struct Workers {
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::string> queue;
  std::map<std::string, Job> jobs;
  std::vector<std::thread> threads;
  size_t held = 0;  // started or decoded, not yet taken
  bool stopping = false;

  ~Workers() { Stop(); }

  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopping = true;
    }
    changed.notify_all();
    for (std::thread& t : threads) t.join();
    threads.clear();
    std::lock_guard<std::mutex> lock(mutex);
    queue.clear();
    jobs.clear();
    held = 0;
    stopping = false;
  }

  void Run() {
    // A crash here (a stack overflow in a decoder) is reported like one on
    // the main thread.
    const tarn::ThreadSignalStack signalStack;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      changed.wait(lock, [&] { return stopping || (!queue.empty() && held < kWaitingAtMost); });
      if (stopping) return;
      const std::string path = std::move(queue.front());
      queue.pop_front();
      Job& job = jobs[path];
      job.started = true;
      ++held;
      lock.unlock();
      PictureDecoder::Picture picture;
      PictureDecoder::Decode(path.c_str(), kLargestSide, picture);
      lock.lock();
      job.picture = std::move(picture);
      job.done = true;
      changed.notify_all();
    }
  }
};

Workers& TheWorkers() {
  static Workers workers;
  return workers;
}

}  // namespace

std::string PictureDecoder::TooLarge(unsigned w, unsigned h, unsigned maxSide) {
  return "a picture of " + std::to_string(w) + " x " + std::to_string(h) + " does not fit in a texture (up to " +
         std::to_string(maxSide) + ")";
}

void PictureDecoder::Decode(const char* path, unsigned maxSide, Picture& picture) {
  // Files, inflated rows and pixels are large and short-lived: mapped on
  // their own, they go back to the system when freed instead of staying in
  // the heap (glibc would otherwise raise the threshold after the first one).
  static const bool mapped = mallopt(M_MMAP_THRESHOLD, 128 * 1024) != 0;
  (void)mapped;
  picture = Picture();
  std::vector<unsigned char> file;
  if (!path || !path[0]) {
    picture.why = std::strerror(ENOENT);
    return;
  }
  if (!tarn::ReadFile(path, file, &picture.why)) return;
  DecodeBytes(file.data(), file.size(), maxSide, picture);
}

void PictureDecoder::DecodeBytes(const unsigned char* bytes, size_t size, unsigned maxSide, Picture& picture) {
  picture = Picture();
  if (!bytes || size == 0) {
    picture.why = "empty file";
    return;
  }
  // The size comes from the header before anything is decoded: a header may
  // claim a picture far larger than any texture (and than memory).
  unsigned w = 0, h = 0;
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned error = lodepng_inspect(&w, &h, &state, bytes, size);
  lodepng_state_cleanup(&state);
  if (error != 0) {
    picture.why = lodepng_error_text(error);
    return;
  }
  if (w == 0 || h == 0 || w > maxSide || h > maxSide) {
    picture.why = TooLarge(w, h, maxSide);
    return;
  }
  // Straight into one block: the vector form would copy the whole picture.
  unsigned char* pixels = nullptr;
  error = lodepng_decode32(&pixels, &w, &h, bytes, size);
  if (error != 0 || w == 0 || h == 0) {
    std::free(pixels);
    picture.why = error != 0 ? lodepng_error_text(error) : "an empty picture";
    return;
  }
  picture.width = w;
  picture.height = h;
  picture.pixels.reset(pixels);
}

void PictureDecoder::Request(const char* path) {
  if (!path || !path[0]) return;
  Workers& w = TheWorkers();
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    if (w.jobs.count(path)) return;
    w.jobs[path];
    w.queue.emplace_back(path);
    // Workers start with the first request: a program that never asks pays
    // for no threads. A process out of threads decodes each picture as it is
    // taken instead.
    try {
      while (w.threads.size() < kWorkers) w.threads.emplace_back([&w] { w.Run(); });
    } catch (const std::system_error&) {
    }
  }
  w.changed.notify_all();
}

bool PictureDecoder::Take(const char* path, Picture& picture) {
  if (!path || !path[0]) return false;
  Workers& w = TheWorkers();
  std::unique_lock<std::mutex> lock(w.mutex);
  auto it = w.jobs.find(path);
  if (it == w.jobs.end()) return false;
  GLint largest = 0;
  TARN_GL(glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest));
  const unsigned maxSide = largest > 0 ? static_cast<unsigned>(largest) : 0;
  if (!it->second.started) {
    // Not begun (the worker may be full with pictures taken later): decode
    // it here rather than wait for it.
    for (auto q = w.queue.begin(); q != w.queue.end(); ++q)
      if (*q == path) {
        w.queue.erase(q);
        break;
      }
    w.jobs.erase(it);
    lock.unlock();
    Decode(path, maxSide, picture);
    return true;
  }
  w.changed.wait(lock, [&] { return it->second.done; });
  picture = std::move(it->second.picture);
  w.jobs.erase(it);
  --w.held;
  lock.unlock();
  w.changed.notify_all();
  if (picture.pixels && (picture.width > maxSide || picture.height > maxSide)) {
    picture.why = TooLarge(picture.width, picture.height, maxSide);
    picture.pixels.reset();
    picture.width = picture.height = 0;
  }
  return true;
}

void PictureDecoder::Finish() { TheWorkers().Stop(); }

}  // namespace TarnFramework
