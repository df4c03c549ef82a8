#include <gtest/gtest.h>

#include <string>

#include "WavBytes.h"
#include "framework/sound/WavReader.h"

using namespace sound_test;
using TarnFramework::ParseWav;
using TarnFramework::WavInfo;
using TarnFramework::WavResult;

namespace {

WavResult Parse(const std::string& file, WavInfo* info = nullptr) {
  WavInfo ignored;
  return ParseWav(reinterpret_cast<const uint8_t*>(file.data()), file.size(), info ? info : &ignored);
}

size_t Offset(const std::string& file, const WavInfo& info) {
  return size_t(info.samples - reinterpret_cast<const uint8_t*>(file.data()));
}

}  // namespace

TEST(SoundWavReader, CanonicalMono16FileGivesFormatAndSampleSpan) {
  std::string file = PcmWav(1, 22050, 16, std::string(44100, '\x11'));
  WavInfo info;
  ASSERT_EQ(Parse(file, &info), WavResult::Ok);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.sampleRate, 22050u);
  EXPECT_EQ(info.bitsPerSample, 16);
  EXPECT_EQ(Offset(file, info), 44u);
  EXPECT_EQ(info.sampleBytes, 44100u);
}

TEST(SoundWavReader, Stereo8FileKeepsItsLayout) {
  WavInfo info;
  ASSERT_EQ(Parse(PcmWav(2, 8000, 8, std::string(100, '\x80')), &info), WavResult::Ok);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitsPerSample, 8);
  EXPECT_EQ(info.sampleBytes, 100u);
}

TEST(SoundWavReader, SkipsForeignChunksWithPaddingAndAcceptsAnyChunkOrder) {
  std::string samples = "\x01\x02\x03\x04";
  // An odd-sized LIST chunk (pad byte follows) and a fact chunk around the format.
  std::string file = Riff(Chunk("LIST", "abc") + Chunk("data", samples) + Chunk("fact", U32(2)) +
                          Chunk("fmt ", FmtPayload(1, 1, 11025, 16)));
  WavInfo info;
  ASSERT_EQ(Parse(file, &info), WavResult::Ok);
  EXPECT_EQ(info.sampleRate, 11025u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.samples), info.sampleBytes), samples);
}

TEST(SoundWavReader, LongFormatChunkIsReadForItsPcmFieldsOnly) {
  WavInfo info;
  // The 18-byte form with a zero extension size, as many editors write.
  std::string file = Riff(Chunk("fmt ", FmtPayload(1, 2, 44100, 16) + U16(0)) + Chunk("data", std::string(8, 'x')));
  ASSERT_EQ(Parse(file, &info), WavResult::Ok);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.sampleBytes, 8u);

  // 40-byte extensible header: skipped past correctly, but its tag is not PCM.
  std::string extensible = Riff(Chunk("fmt ", FmtPayload(0xFFFE, 2, 44100, 16, 24)) + Chunk("data", "xxxx"));
  EXPECT_EQ(Parse(extensible), WavResult::NotPcm);
  std::string pcmLong = Riff(Chunk("fmt ", FmtPayload(1, 1, 44100, 8, 24)) + Chunk("data", "xxxx"));
  EXPECT_EQ(Parse(pcmLong), WavResult::Ok);
}

TEST(SoundWavReader, DataLongerThanTheFileKeepsOnlyWholeFramesPresent) {
  std::string head = Riff(Chunk("fmt ", FmtPayload(1, 2, 22050, 16)));
  std::string file = head + "data" + U32(1000000) + std::string(11, '\x7F');
  WavInfo info;
  ASSERT_EQ(Parse(file, &info), WavResult::Ok);
  EXPECT_EQ(info.sampleBytes, 8u) << "11 bytes present, 4-byte frames";
  EXPECT_LE(Offset(file, info) + info.sampleBytes, file.size());

  // Cut right after the data header: a loadable, empty clip.
  ASSERT_EQ(Parse(head + "data" + U32(500), &info), WavResult::Ok);
  EXPECT_EQ(info.sampleBytes, 0u);
}

TEST(SoundWavReader, RejectsWhatIsNotAPcmWave) {
  std::string fmt = Chunk("fmt ", FmtPayload(1, 1, 22050, 16));
  std::string data = Chunk("data", "abcd");
  EXPECT_EQ(Parse(""), WavResult::NotRiff);
  EXPECT_EQ(Parse("RIF"), WavResult::NotRiff);
  EXPECT_EQ(Parse("RIFX" + U32(4) + "WAVE"), WavResult::NotRiff);
  EXPECT_EQ(Parse("RIFF" + U32(4) + "WAV"), WavResult::NotWave);
  EXPECT_EQ(Parse(Riff(fmt + data, "AVI ")), WavResult::NotWave);
  EXPECT_EQ(Parse(Riff(fmt)), WavResult::NoData);
  EXPECT_EQ(Parse(Riff(data)), WavResult::NoFormat);
  EXPECT_EQ(Parse(Riff("")), WavResult::NoFormat);
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(3, 1, 22050, 32)) + data)), WavResult::NotPcm);
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 1, 22050, 16).substr(0, 14)) + data)), WavResult::NoFormat);
}

TEST(SoundWavReader, RejectsLayoutsOpenAlCannotTakeAsIs) {
  std::string data = Chunk("data", std::string(48, '\0'));
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 1, 22050, 24)) + data)), WavResult::UnsupportedLayout);
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 0, 22050, 16)) + data)), WavResult::UnsupportedLayout);
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 6, 22050, 16)) + data)), WavResult::UnsupportedLayout);
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 1, 0, 16)) + data)), WavResult::UnsupportedLayout);
}

TEST(SoundWavReader, EveryTruncationOfAGoodFileEndsCleanly) {
  std::string file =
      Riff(Chunk("LIST", "abc") + Chunk("fmt ", FmtPayload(1, 1, 22050, 16)) + Chunk("data", std::string(20, '\x33')));
  size_t dataHeaderEnd = file.size() - 20;
  for (size_t len = 0; len < file.size(); ++len) {
    std::string cut = file.substr(0, len);
    WavInfo info;
    WavResult result = Parse(cut, &info);
    if (len < dataHeaderEnd) {
      EXPECT_NE(result, WavResult::Ok) << "length " << len;
    } else {
      ASSERT_EQ(result, WavResult::Ok) << "length " << len;
      EXPECT_EQ(info.sampleBytes, (len - dataHeaderEnd) & ~size_t(1)) << "length " << len;
    }
  }
}

TEST(SoundWavReader, HugeChunkSizesStopAtTheEndInsteadOfWrapping) {
  // 0xFFFFFFFF is odd, so the pad byte pushes the skip past 32 bits.
  std::string file =
      Riff(Chunk("fmt ", FmtPayload(1, 1, 22050, 16)) + "junk" + U32(0xFFFFFFFFu) + Chunk("data", "abcd"));
  EXPECT_EQ(Parse(file), WavResult::NoData);
  EXPECT_EQ(Parse(Riff("fmt " + U32(0xFFFFFFF0u) + FmtPayload(1, 1, 22050, 16))), WavResult::NoData);
}

TEST(SoundWavReader, FailureLeavesTheCallersInfoUntouched) {
  WavInfo info;
  info.channels = 7;
  EXPECT_EQ(Parse(Riff(Chunk("fmt ", FmtPayload(1, 1, 22050, 16))), &info), WavResult::NoData);
  EXPECT_EQ(info.channels, 7);
  EXPECT_EQ(info.samples, nullptr);
}
