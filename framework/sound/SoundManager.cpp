#include "framework/sound/SoundManager.h"

#include <climits>
#include <string>
#include <vector>

#include "framework/sound/WavReader.h"
#include "tarn/Path.h"
#include "tarn/Report.h"

namespace TarnFramework {

namespace {

ALenum OpenAlFormat(const WavInfo& wav) {
  if (wav.channels == 1) return wav.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
  return wav.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

}  // namespace

SoundManager::SoundWav::~SoundWav() { Release(); }

void SoundManager::SoundWav::Release() {
  if (loaded) {
    // OpenAL refuses to delete a buffer still attached to a source.
    alDeleteSources(1, &source);
    alDeleteBuffers(1, &buffer);
  }
  buffer = 0;
  source = 0;
  loaded = false;
}

bool SoundManager::SoundWav::Load(const char* path) {
  Release();

  // The file is parsed before any OpenAL name exists, so a bad file leaves
  // nothing behind to delete.
  std::vector<unsigned char> bytes;
  std::string why;
  if (!tarn::ReadFile(path, bytes, &why)) {
    tarn::ReportWarning("cannot read " + tarn::FileName(path), why);
    return false;
  }
  WavInfo wav;
  const WavResult parsed = ParseWav(bytes.data(), bytes.size(), &wav);
  if (parsed != WavResult::Ok) {
    tarn::ReportWarning("cannot read " + tarn::FileName(path), bytes.empty() ? "empty file" : WavResultName(parsed));
    return false;
  }
  if (wav.sampleBytes > static_cast<size_t>(INT_MAX)) {
    tarn::ReportWarning("cannot read " + tarn::FileName(path), "too many samples for one clip");
    return false;
  }

  // With no current context these calls do nothing and the clip plays silently.
  bool haveContext = alcGetCurrentContext() != nullptr;
  if (haveContext) alGetError();
  alGenBuffers(1, &buffer);
  alGenSources(1, &source);
  alBufferData(buffer, OpenAlFormat(wav), wav.samples, static_cast<ALsizei>(wav.sampleBytes),
               static_cast<ALsizei>(wav.sampleRate));
  loaded = true;
  if (haveContext) {
    const ALenum error = alGetError();
    if (error != AL_NO_ERROR) {
      const ALchar* text = alGetString(error);
      tarn::ReportWarning("cannot play " + tarn::FileName(path), text ? text : "OpenAL error");
      Release();
      return false;
    }
  }
  return true;
}

void SoundManager::SoundWav::Play() {
  if (!loaded) return;
  alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
  alSourcei(source, AL_LOOPING, AL_FALSE);
  alSourcePlay(source);
}

SoundManager::~SoundManager() { Release(); }

bool SoundManager::Init() {
  if (context) return true;
  device = alcOpenDevice(nullptr);
  if (device) context = alcCreateContext(device, nullptr);
  if (!context || !alcMakeContextCurrent(context)) {
    Release();
    return false;
  }
  return true;
}

void SoundManager::Release() {
  for (SoundWav& clip : clips) clip.Release();
  alcMakeContextCurrent(nullptr);
  if (context) {
    alcDestroyContext(context);
    context = nullptr;
  }
  if (device) {
    alcCloseDevice(device);
    device = nullptr;
  }
}

}  // namespace TarnFramework
