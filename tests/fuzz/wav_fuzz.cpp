// libFuzzer entry for the WAV chunk reader: any bytes must either be rejected
// or yield a playable format with a sample span inside the input.
#include <cstddef>
#include <cstdint>

#include "framework/sound/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TarnFramework::WavInfo info;
  if (TarnFramework::ParseWav(data, size, &info) != TarnFramework::WavResult::Ok) return 0;

  bool layoutOk = (info.channels == 1 || info.channels == 2) && (info.bitsPerSample == 8 || info.bitsPerSample == 16) &&
                  info.sampleRate > 0;
  size_t frame = static_cast<size_t>(info.channels) * (info.bitsPerSample / 8);
  bool spanOk = info.samples >= data && info.sampleBytes <= size &&
                static_cast<size_t>(info.samples - data) <= size - info.sampleBytes;
  if (!layoutOk || !spanOk || info.sampleBytes % frame != 0) __builtin_trap();

  // Touch every sample byte so a bad span shows up under AddressSanitizer.
  volatile uint8_t sink = 0;
  for (size_t i = 0; i < info.sampleBytes; ++i) sink = sink ^ info.samples[i];
  return 0;
}
