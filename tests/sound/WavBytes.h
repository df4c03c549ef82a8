// Builds WAV files byte by byte, including broken ones.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace sound_test {

inline std::string U16(uint16_t v) { return {char(v & 0xFF), char(v >> 8)}; }
inline std::string U32(uint32_t v) { return U16(uint16_t(v & 0xFFFF)) + U16(uint16_t(v >> 16)); }

// One chunk; claimedSize overrides the size field (for lying headers).
inline std::string Chunk(const std::string& id, const std::string& payload, int64_t claimedSize = -1) {
  uint32_t size = claimedSize < 0 ? uint32_t(payload.size()) : uint32_t(claimedSize);
  std::string pad = payload.size() % 2 ? std::string(1, '\0') : std::string();
  return id + U32(size) + payload + pad;
}

// The 16 PCM fields, followed by extraBytes more (as extensible headers carry).
inline std::string FmtPayload(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t extraBytes = 0) {
  uint16_t align = uint16_t(channels * ((bits + 7) / 8));
  return U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits) +
         std::string(extraBytes, '\x5A');
}

inline std::string Riff(const std::string& chunks, const std::string& form = "WAVE") {
  return "RIFF" + U32(uint32_t(4 + chunks.size())) + form + chunks;
}

// A canonical 44-byte-header PCM file.
inline std::string PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const std::string& samples) {
  return Riff(Chunk("fmt ", FmtPayload(1, channels, rate, bits)) + Chunk("data", samples));
}

// A 440 Hz tone at half scale, every channel the same.
inline std::string Tone(uint16_t channels, uint32_t rate, uint16_t bits, double seconds) {
  std::string out;
  int frames = int(rate * seconds);
  for (int i = 0; i < frames; ++i) {
    double v = 0.5 * std::sin(2.0 * M_PI * 440.0 * i / rate);
    for (int c = 0; c < channels; ++c) {
      if (bits == 8)
        out += char(uint8_t(128 + int(v * 127)));
      else
        out += U16(uint16_t(int16_t(v * 32767)));
    }
  }
  return out;
}

}  // namespace sound_test
