/// @class TarnFramework::SoundManager
/// The OpenAL device and context plus a fixed table of WAV clips, each one
/// buffer and one source. Fire-and-forget: clips are played, never stopped.
/// Without a device everything still runs and nothing is heard.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

namespace TarnFramework {

class SoundManager {
 public:
  static constexpr int kClipCount = 256;

  class SoundWav {
   public:
    SoundWav() = default;
    virtual ~SoundWav();
    SoundWav(const SoundWav&) = delete;
    SoundWav& operator=(const SoundWav&) = delete;

    virtual void Release();

    // Replaces the clip with a PCM WAV file (8 or 16 bits, mono or stereo).
    // False, with one warning on standard error, when the file cannot be
    // read or is not such a WAV; the clip is then unloaded.
    bool Load(const char* path);
    void Play();

    ALuint buffer = 0;
    ALuint source = 0;
    bool loaded = false;
  };

  SoundManager() = default;
  virtual ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  /// Opens the default device and makes a context on it current. False when
  /// sound is unavailable. Calling it on an open manager keeps what is open.
  bool Init();
  virtual void Release();

  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  SoundWav clips[kClipCount];
};

}  // namespace TarnFramework
