#include "framework/sound/WavReader.h"

#include <cstring>

namespace TarnFramework {

namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kPcmFormatSize = 16;
constexpr uint16_t kFormatPcm = 1;

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Only what OpenAL's four basic formats can carry; anything else would be
// handed over as the wrong format and play as noise.
bool IsPlayableLayout(const WavInfo& format) {
  bool channelsOk = format.channels == 1 || format.channels == 2;
  bool bitsOk = format.bitsPerSample == 8 || format.bitsPerSample == 16;
  bool rateOk = format.sampleRate > 0 && format.sampleRate <= 0x7FFFFFFFu;
  return channelsOk && bitsOk && rateOk;
}

}  // namespace

const char* WavResultName(WavResult result) {
  switch (result) {
    case WavResult::Ok: return "ok";
    case WavResult::NotRiff: return "not a RIFF file";
    case WavResult::NotWave: return "RIFF form is not WAVE";
    case WavResult::NoFormat: return "no complete fmt chunk";
    case WavResult::NotPcm: return "audio format is not PCM";
    case WavResult::UnsupportedLayout: return "unsupported channels, bit depth or rate";
    case WavResult::NoData: return "no data chunk";
  }
  return "unknown";
}

WavResult ParseWav(const uint8_t* bytes, size_t size, WavInfo* info) {
  if (!bytes || size < 4 || !IsId(bytes, "RIFF")) return WavResult::NotRiff;
  if (size < 12 || !IsId(bytes + 8, "WAVE")) return WavResult::NotWave;

  WavInfo found;
  bool haveFormat = false;
  bool haveData = false;
  size_t pos = 12;
  while (!(haveFormat && haveData) && size - pos >= kChunkHeaderSize) {
    const uint8_t* header = bytes + pos;
    uint32_t chunkSize = ReadU32(header + 4);
    size_t payload = pos + kChunkHeaderSize;
    size_t present = size - payload < chunkSize ? size - payload : chunkSize;

    if (!haveFormat && IsId(header, "fmt ")) {
      if (present < kPcmFormatSize) return WavResult::NoFormat;
      const uint8_t* fmt = bytes + payload;
      if (ReadU16(fmt) != kFormatPcm) return WavResult::NotPcm;
      found.channels = ReadU16(fmt + 2);
      found.sampleRate = ReadU32(fmt + 4);
      found.bitsPerSample = ReadU16(fmt + 14);
      if (!IsPlayableLayout(found)) return WavResult::UnsupportedLayout;
      haveFormat = true;
    } else if (!haveData && IsId(header, "data")) {
      // A data chunk cut short by the end of the file keeps what is there.
      found.samples = bytes + payload;
      found.sampleBytes = present;
      haveData = true;
    }

    // RIFF pads odd-sized chunks to an even length.
    uint64_t next = static_cast<uint64_t>(payload) + chunkSize + (chunkSize & 1u);
    if (next >= size) break;
    pos = static_cast<size_t>(next);
  }

  if (!haveFormat) return WavResult::NoFormat;
  if (!haveData) return WavResult::NoData;

  // OpenAL only takes whole sample frames.
  size_t frameBytes = static_cast<size_t>(found.channels) * (found.bitsPerSample / 8);
  found.sampleBytes -= found.sampleBytes % frameBytes;
  if (info) *info = found;
  return WavResult::Ok;
}

}  // namespace TarnFramework
