// The animation fuzz program, run on seeded random inputs so that the plain
// and sanitizer builds exercise it without libFuzzer.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size);

TEST(AnimationRobustness, RandomTimelinesAndStateOperationsStayInBounds) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 300; ++run) {
    std::vector<uint8_t> bytes(64 + random() % 2048);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
  }
  EXPECT_EQ(LLVMFuzzerTestOneInput(nullptr, 0), 0);
}
