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
  /// The number of clip slots.
  static constexpr int kClipCount = 256;

  /// One clip: an OpenAL buffer and the source that plays it.
  class SoundWav {
   public:
    SoundWav() = default;
    virtual ~SoundWav();
    SoundWav(const SoundWav&) = delete;
    SoundWav& operator=(const SoundWav&) = delete;

    /// Deletes the buffer and source; the clip is unloaded.
    virtual void Release();

    /// Replaces the clip with a PCM WAV file (8 or 16 bits, mono or stereo).
    /// False, with one warning on standard error, when the file cannot be
    /// read or is not such a WAV; the clip is then unloaded.
    bool Load(const char* path);
    /// Starts the clip from its beginning; an unloaded clip does nothing.
    void Play();

    /// The OpenAL buffer and source names (0 when none), and whether a WAV is loaded.
    /// @{
    ALuint buffer = 0;
    ALuint source = 0;
    bool loaded = false;
    /// @}
  };

  SoundManager() = default;
  virtual ~SoundManager();
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  /// Opens the default device and makes a context on it current. False when
  /// sound is unavailable. Calling it on an open manager keeps what is open.
  bool Init();
  /// Releases every clip, then the context and the device.
  virtual void Release();

  /// The device and context; null without sound.
  /// @{
  ALCdevice* device = nullptr;
  ALCcontext* context = nullptr;
  /// @}
  /// The clips, by the number the game gives each sound.
  SoundWav clips[kClipCount];
};

}  // namespace TarnFramework
