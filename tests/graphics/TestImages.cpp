#include "TestImages.h"

#include <lodepng.h>

#include <cstdlib>
#include <vector>

namespace tarn_test {

std::string WritePng(const TempDir& dir, const std::string& name, unsigned width, unsigned height,
                     const std::function<Pixel(unsigned x, unsigned y)>& paint) {
  std::vector<unsigned char> rgba;
  rgba.reserve(4u * width * height);
  for (unsigned y = 0; y < height; ++y) {
    for (unsigned x = 0; x < width; ++x) {
      const Pixel p = paint(x, y);
      rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
    }
  }
  std::vector<unsigned char> png;
  lodepng::encode(png, rgba, width, height);
  dir.Write(name, png);
  return dir.path() + "\\" + name;
}

std::string WriteQuadrants(const TempDir& dir, unsigned width, unsigned height) {
  return WritePng(dir, "quadrants.png", width, height, [=](unsigned x, unsigned y) {
    const bool right = x >= width / 2, bottom = y >= height / 2;
    if (bottom) return right ? kWhite : kBlue;
    return right ? kGreen : kRed;
  });
}

bool SameRgb(const Pixel& a, const Pixel& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

}  // namespace tarn_test
