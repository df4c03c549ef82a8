// The real 1280 x 720 window and GL context, in the state the program starts
// with, plus pixel read-back. Tests that draw derive from GLTest.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/core/SystemBase.h"

namespace tarn_test {

// RGBA bytes of one pixel.
struct Pixel {
  uint8_t r, g, b, a;
  bool operator==(const Pixel& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
std::ostream& operator<<(std::ostream& os, const Pixel& p);

// Each channel within tolerance of the other.
bool Near(const Pixel& a, const Pixel& b, int tolerance = 2);

class GLTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Window projection and a transparent-black clear, as each frame starts.
  void BeginFrame();
  // Pixel at window coordinates (origin top-left) of the back buffer.
  Pixel ReadPixel(int x, int y) const;
  // Window rectangle, rows from the top; RGBA, width * height entries.
  std::vector<Pixel> ReadRect(int x, int y, int width, int height) const;
  // Writes the back buffer to a PNG (for looking at a failing test).
  void SaveScreenshot(const char* path) const;

  TarnFramework::SystemBase* system = nullptr;
};

}  // namespace tarn_test
