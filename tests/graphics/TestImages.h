// PNG pictures made on the fly for the sprite tests.
#pragma once

#include <functional>
#include <string>

#include "GLTestFixture.h"
#include "TempDir.h"

namespace tarn_test {

// Writes a width x height RGBA PNG whose pixel (x, y) is paint(x, y), and
// returns its path written the way the game writes asset paths ('\').
std::string WritePng(const TempDir& dir, const std::string& name, unsigned width, unsigned height,
                     const std::function<Pixel(unsigned x, unsigned y)>& paint);

// Four quadrants: red top-left, green top-right, blue bottom-left, white bottom-right.
std::string WriteQuadrants(const TempDir& dir, unsigned width, unsigned height);

constexpr Pixel kRed{255, 0, 0, 255};
constexpr Pixel kGreen{0, 255, 0, 255};
constexpr Pixel kBlue{0, 0, 255, 255};
constexpr Pixel kWhite{255, 255, 255, 255};
constexpr Pixel kClear{0, 0, 0, 0};

// Same colour, ignoring alpha (the window's back buffer may have none).
bool SameRgb(const Pixel& a, const Pixel& b, int tolerance = 2);

}  // namespace tarn_test
