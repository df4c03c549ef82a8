// RIFF/WAVE parsing for the sound clips: bytes in, PCM format and sample span
// out. Pure (no OpenAL, no files) so it can be tested and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TarnFramework {

enum class WavResult {
  Ok,
  NotRiff,            // fewer than 4 bytes, or not starting with "RIFF"
  NotWave,            // form type missing or not "WAVE"
  NoFormat,           // no complete 16-byte "fmt " chunk before the end
  NotPcm,             // audio format tag other than 1
  UnsupportedLayout,  // not 1 or 2 channels of 8 or 16 bits, or a bad rate
  NoData,             // no "data" chunk header before the end
};

const char* WavResultName(WavResult result);

struct WavInfo {
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint16_t bitsPerSample = 0;
  // Points into the parsed bytes; always whole frames and within the input.
  const uint8_t* samples = nullptr;
  size_t sampleBytes = 0;
};

// Walks the chunks of a RIFF/WAVE file held in memory. On anything but Ok,
// info is left untouched.
WavResult ParseWav(const uint8_t* bytes, size_t size, WavInfo* info);

}  // namespace TarnFramework
