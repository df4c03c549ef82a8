// libFuzzer entry for loading a WAV clip the way the game does: bytes written
// to a file, then SoundWav::Load into a live OpenAL context (run with
// ALSOFT_DRIVERS=null). A clip must either load and play or be refused.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "framework/sound/SoundManager.h"

namespace {

TarnFramework::SoundManager* Sound() {
  static TarnFramework::SoundManager* sound = [] {
    setenv("ALSOFT_DRIVERS", "null", 0);
    auto* manager = new TarnFramework::SoundManager;
    if (!manager->Init()) std::abort();  // no OpenAL device: nothing is being tested
    return manager;
  }();
  return sound;
}

// A plain buffer: it must outlive the exit handler that removes the file.
const char* ScratchPath() {
  static char path[64];
  if (!path[0]) {
    std::snprintf(path, sizeof path, "/tmp/tarn-sound-fuzz-%d.wav", static_cast<int>(getpid()));
    std::atexit([] { std::remove(path); });
  }
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Sound();
  const char* path = ScratchPath();
  FILE* file = std::fopen(path, "wb");
  if (!file) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);

  TarnFramework::SoundManager::SoundWav clip;
  if (clip.Load(path)) {
    if (!clip.loaded) __builtin_trap();  // success reported with nothing loaded
    clip.Play();
  } else if (clip.loaded) {
    __builtin_trap();  // a refused clip must hold no OpenAL names
  }
  clip.Release();
  return 0;
}
