#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "TempDir.h"
#include "WavBytes.h"
#include "WaveOutputEnvironment.h"
#include "framework/sound/SoundManager.h"

using namespace sound_test;
using TarnFramework::SoundManager;

namespace {

struct BufferInfo {
  ALint frequency = 0, bits = 0, channels = 0, size = 0;
};

BufferInfo Describe(ALuint buffer) {
  BufferInfo b;
  alGetBufferi(buffer, AL_FREQUENCY, &b.frequency);
  alGetBufferi(buffer, AL_BITS, &b.bits);
  alGetBufferi(buffer, AL_CHANNELS, &b.channels);
  alGetBufferi(buffer, AL_SIZE, &b.size);
  return b;
}

// Plays a clip and waits (bounded) for its source to finish.
void PlayToEnd(SoundManager::SoundWav& clip) {
  clip.Play();
  ALint state = AL_PLAYING;
  for (int i = 0; i < 300 && state == AL_PLAYING; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    alGetSourcei(clip.source, AL_SOURCE_STATE, &state);
  }
  EXPECT_EQ(state, AL_STOPPED);
  // Let the mixer write out the period holding the clip's end.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

class SoundManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sound.Init()) << "OpenAL Soft wave backend did not open"; }

  std::string Write(const std::string& name, const std::string& bytes) { return dir.Write(name, bytes); }

  tarn_test::TempDir dir;
  SoundManager sound;
};

}  // namespace

TEST_F(SoundManagerTest, InitOpensTheDefaultDeviceWithACurrentContext) {
  EXPECT_NE(sound.device, nullptr);
  EXPECT_EQ(alcGetCurrentContext(), sound.context);
  EXPECT_TRUE(sound.Init()) << "a second Init keeps the open device";
  EXPECT_EQ(alcGetCurrentContext(), sound.context);
  sound.Release();
  EXPECT_EQ(sound.device, nullptr);
  EXPECT_EQ(sound.context, nullptr);
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
}

TEST_F(SoundManagerTest, LoadsCanonicalAndStereo8FilesIntoMatchingBuffers) {
  SoundManager::SoundWav& mono = sound.clips[0];
  ASSERT_TRUE(mono.Load(Write("mono.wav", PcmWav(1, 22050, 16, std::string(44100, '\0'))).c_str()));
  ASSERT_TRUE(mono.loaded);
  EXPECT_TRUE(alIsBuffer(mono.buffer));
  EXPECT_TRUE(alIsSource(mono.source));
  BufferInfo m = Describe(mono.buffer);
  EXPECT_EQ(m.frequency, 22050);
  EXPECT_EQ(m.bits, 16);
  EXPECT_EQ(m.channels, 1);
  EXPECT_EQ(m.size, 44100);

  SoundManager::SoundWav& stereo = sound.clips[255];
  ASSERT_TRUE(stereo.Load(Write("stereo.wav", PcmWav(2, 11025, 8, std::string(64, '\x80'))).c_str()));
  BufferInfo s = Describe(stereo.buffer);
  EXPECT_EQ(s.bits, 8);
  EXPECT_EQ(s.channels, 2);
  EXPECT_EQ(s.size, 64);
}

TEST_F(SoundManagerTest, AssetPathsWithABackslashAreOpened) {
  std::filesystem::create_directory(dir.File("sound"));
  Write("sound/test_mono.wav", PcmWav(1, 22050, 16, std::string(100, '\0')));
  EXPECT_TRUE(sound.clips[0].Load((dir.path() + "\\sound\\test_mono.wav").c_str()));
}

TEST_F(SoundManagerTest, OnlyTheBytesPresentOfAnOverlongDataChunkAreBuffered) {
  std::string file = Riff(Chunk("fmt ", FmtPayload(1, 1, 22050, 16))) + "data" + U32(44100) + std::string(1001, 'x');
  SoundManager::SoundWav& clip = sound.clips[3];
  ASSERT_TRUE(clip.Load(Write("cut.wav", file).c_str()));
  EXPECT_EQ(Describe(clip.buffer).size, 1000);
}

TEST_F(SoundManagerTest, UnusableFilesFailAndLeaveTheClipEmpty) {
  SoundManager::SoundWav& clip = sound.clips[1];
  ASSERT_TRUE(clip.Load(Write("good.wav", PcmWav(1, 22050, 16, "abcd")).c_str()));
  ALuint oldBuffer = clip.buffer, oldSource = clip.source;

  std::string fmt = Chunk("fmt ", FmtPayload(1, 1, 22050, 16));
  const std::pair<const char*, std::string> bad[] = {
      {"truncated.wav", PcmWav(1, 22050, 16, "abcd").substr(0, 30)},
      {"nodata.wav", Riff(fmt)},
      {"float.wav", Riff(Chunk("fmt ", FmtPayload(3, 1, 22050, 32)) + Chunk("data", "abcd"))},
      {"avi.wav", Riff(fmt + Chunk("data", "abcd"), "AVI ")},
      {"empty.wav", ""},
  };
  for (const auto& [name, bytes] : bad) {
    EXPECT_FALSE(clip.Load(Write(name, bytes).c_str())) << name;
    EXPECT_FALSE(clip.loaded) << name;
  }
  EXPECT_FALSE(clip.Load(dir.File("missing.wav").c_str()));
  EXPECT_FALSE(clip.Load(nullptr));
  EXPECT_FALSE(clip.loaded);
  EXPECT_FALSE(alIsBuffer(oldBuffer)) << "the earlier clip's names are deleted";
  EXPECT_FALSE(alIsSource(oldSource));
  clip.Play();  // unloaded: nothing happens
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(SoundManagerTest, EveryClipSlotCanHoldAClipAndReleaseEmptiesThemAll) {
  std::string path = Write("short.wav", PcmWav(1, 22050, 8, std::string(10, '\x80')));
  for (auto& clip : sound.clips) ASSERT_TRUE(clip.Load(path.c_str()));
  sound.clips[7].Release();
  sound.clips[7].Release();
  EXPECT_FALSE(sound.clips[7].loaded);
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
  sound.Release();
  for (const auto& clip : sound.clips) EXPECT_FALSE(clip.loaded);
}

TEST_F(SoundManagerTest, PlayingAMono16ClipReachesTheDeviceOutput) {
  SoundManager::SoundWav& clip = sound.clips[0];
  ASSERT_TRUE(clip.Load(Write("tone.wav", PcmWav(1, 22050, 16, Tone(1, 22050, 16, 0.2))).c_str()));
  PlayToEnd(clip);
  ALint looping = AL_TRUE;
  alGetSourcei(clip.source, AL_LOOPING, &looping);
  EXPECT_EQ(looping, AL_FALSE);
  ALuint buffer = clip.buffer;
  clip.Release();
  EXPECT_FALSE(alIsBuffer(buffer)) << "a buffer once attached to the source is still freed";
  sound.Release();  // closing the device completes the output file
  EXPECT_GT(WaveOutputPeak(), 2000);
}

TEST_F(SoundManagerTest, PlayingAStereo8ClipReachesTheDeviceOutput) {
  SoundManager::SoundWav& clip = sound.clips[9];
  ASSERT_TRUE(clip.Load(Write("tone8.wav", PcmWav(2, 11025, 8, Tone(2, 11025, 8, 0.2))).c_str()));
  PlayToEnd(clip);
  sound.Release();
  EXPECT_GT(WaveOutputPeak(), 2000);
}

TEST_F(SoundManagerTest, ARejectedClipLeavesTheOutputSilent) {
  std::string floatTone = Riff(Chunk("fmt ", FmtPayload(3, 1, 22050, 16)) + Chunk("data", Tone(1, 22050, 16, 0.2)));
  SoundManager::SoundWav& clip = sound.clips[0];
  EXPECT_FALSE(clip.Load(Write("float.wav", floatTone).c_str()));
  clip.Play();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  sound.Release();
  EXPECT_EQ(WaveOutputPeak(), 0);
}

TEST(SoundWithoutDevice, ClipsLoadAndPlaySilentlyAndReleaseIsHarmless) {
  tarn_test::TempDir dir;
  SoundManager sound;
  sound.Release();  // never opened
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
  std::string path = dir.Write("clip.wav", PcmWav(1, 22050, 16, "abcd"));
  EXPECT_TRUE(sound.clips[0].Load(path.c_str()));
  sound.clips[0].Play();
  EXPECT_FALSE(sound.clips[1].Load(dir.Write("bad.wav", "RIFF").c_str()));
  sound.Release();
  EXPECT_FALSE(sound.clips[0].loaded);
}
