// Points OpenAL Soft at its wave-file backend for the whole test process, so
// a real device exists without sound hardware and its mix can be inspected.
#pragma once

#include <string>

namespace sound_test {

// The file the device writes its mix to; complete once the device is closed.
std::string WaveOutputPath();

// Peak absolute 16-bit sample in the data chunk of WaveOutputPath(), or -1
// when the file is missing or has no data chunk.
int WaveOutputPeak();

}  // namespace sound_test
