#include "WaveOutputEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "TempDir.h"

namespace sound_test {

namespace {

// OpenAL Soft reads its configuration on the first ALC call, which no test
// makes before the environment is set up.
class WaveOutputEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::make_unique<tarn_test::TempDir>();
    output_ = dir_->File("mix.wav");
    std::string conf =
        "[general]\n"
        "drivers = wave\n"
        "channels = stereo\n"
        "sample-type = int16\n"
        "frequency = 22050\n"
        "dither = false\n"
        "[wave]\n"
        "file = " +
        output_ + "\n";
    std::string confPath = dir_->Write("alsoft.conf", conf);
    setenv("ALSOFT_CONF", confPath.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "wave", 1);
  }
  void TearDown() override { dir_.reset(); }

  std::unique_ptr<tarn_test::TempDir> dir_;
  std::string output_;
};

WaveOutputEnvironment* const g_environment =
    static_cast<WaveOutputEnvironment*>(::testing::AddGlobalTestEnvironment(new WaveOutputEnvironment));

}  // namespace

std::string WaveOutputPath() { return g_environment->output_; }

int WaveOutputPeak() {
  std::ifstream in(WaveOutputPath(), std::ios::binary);
  std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t pos = 12;
  while (pos + 8 <= file.size()) {
    uint32_t size;
    std::memcpy(&size, file.data() + pos + 4, 4);
    if (file.compare(pos, 4, "data") == 0) {
      int peak = 0;
      for (size_t i = pos + 8; i + 1 < file.size(); i += 2) {
        int16_t sample;
        std::memcpy(&sample, file.data() + i, 2);
        peak = std::max(peak, std::abs(int(sample)));
      }
      return peak;
    }
    pos += 8 + size + (size & 1);
  }
  return -1;
}

}  // namespace sound_test
