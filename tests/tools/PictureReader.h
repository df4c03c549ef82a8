// Reads back what skelview writes, through the formats' own decoders
// (libwebp's animation decoder, giflib, lodepng for an APNG's frames).
#pragma once

#include <string>
#include <vector>

namespace tarn_test {

struct Animation {
  int width = 0, height = 0;
  std::vector<std::vector<unsigned char>> frames;  // the whole canvas, RGBA
  std::vector<double> seconds;                     // how long each shows
  std::string why;                                 // set when reading failed
  unsigned char background[4] = {};                // a WebP's canvas colour, RGBA
};

Animation ReadWebp(const std::string& path);
// These two take frames that cover the canvas and replace it, as skelview
// writes them, and say so in why of any other.
Animation ReadApng(const std::string& path);
Animation ReadGif(const std::string& path);

}  // namespace tarn_test
