// The committed pictures and sound are the generator's output, and they fit
// the numbers the game draws them with.
#include <gtest/gtest.h>
#include <lodepng.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "PictureCharacters.h"
#include "TempDir.h"

namespace {

const std::string kAssets = ASSETS_SOURCE_DIR;

const char* const kFiles[] = {"gfx/3_blacksmith_a.png", "gfx/testchar.png",      "gfx/testchar2.png",
                              "gfx/testchar3.png",      "gfx/testchar4.png",     "sound/test_mono.wav",
                              "skel_data/Char01.atlas", "skel_data/Char01.json", "skel_data/Char01.png",
                              "icons/tarn-48.png",      "icons/tarn-128.png",    "icons/tarn-256.png"};

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Image {
  std::vector<unsigned char> rgba;
  unsigned width = 0, height = 0;
  unsigned Alpha(unsigned x, unsigned y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
  bool RowHasSolid(unsigned y) const {
    for (unsigned x = 0; x < width; ++x)
      if (Alpha(x, y) >= 128) return true;
    return false;
  }
};

Image Load(const std::string& name) {
  Image image;
  EXPECT_EQ(lodepng::decode(image.rgba, image.width, image.height, kAssets + "/" + name), 0u) << name;
  return image;
}

TEST(AssetsGenerator, RegeneratesTheCommittedFilesByteForByte) {
  tarn_test::TempDir out;
  ASSERT_FALSE(out.path().empty());
  std::string command = std::string("\"") + ASSETGEN_PATH + "\" \"" + out.path() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const char* file : kFiles) {
    std::vector<unsigned char> committed = ReadAll(kAssets + "/" + file);
    ASSERT_FALSE(committed.empty()) << file;
    EXPECT_TRUE(committed == ReadAll(out.File(file))) << file << " differs from a fresh generation";
  }
}

TEST(AssetsGenerator, FailsWithoutAnOutputFolder) {
  std::string command = std::string("\"") + ASSETGEN_PATH + "\" 2>/dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

TEST(AssetsBackground, FillsTheWindowOpaquely) {
  Image bg = Load("gfx/3_blacksmith_a.png");
  ASSERT_EQ(bg.width, 1280u);
  ASSERT_EQ(bg.height, 720u);
  for (size_t i = 3; i < bg.rgba.size(); i += 4) ASSERT_EQ(bg.rgba[i], 255) << "transparent pixel " << i / 4;
}

TEST(AssetsCharacterPictures, FitTheGamesPortraitAndStandingNumbers) {
  for (const PictureCharacter& fit : kPictureCharacters) {
    SCOPED_TRACE(fit.file);
    Image img = Load(std::string("gfx/") + fit.file);
    const unsigned centreX = unsigned(fit.centreX), centreY = unsigned(fit.centreY);
    const unsigned portrait = unsigned(fit.portraitSize), footOffsetY = unsigned(fit.footOffsetY);
    ASSERT_GT(img.height, 0u);
    // Drawn centred on the picture's middle, so the face must be there too.
    EXPECT_EQ(img.width, 2 * centreX);

    // Nothing is cut off at the top or the sides.
    for (unsigned x = 0; x < img.width; ++x) ASSERT_EQ(img.Alpha(x, 0), 0u) << "top row, x " << x;
    for (unsigned y = 0; y < img.height; ++y) {
      ASSERT_EQ(img.Alpha(0, y), 0u) << "left edge, y " << y;
      ASSERT_EQ(img.Alpha(img.width - 1, y), 0u) << "right edge, y " << y;
    }

    // Feet: the lowest solid row sits footOffsetY above the bottom edge (a
    // faint ground shadow may reach a little lower).
    unsigned lowest = img.height - 1;
    while (lowest > 0 && !img.RowHasSolid(lowest)) --lowest;
    unsigned feet = img.height - footOffsetY;
    EXPECT_LE(lowest, feet);
    EXPECT_GE(lowest + 12, feet);

    // Face: the portrait square is mostly head (a round head leaves its
    // corners open) and its centre is skin, not hair or background.
    unsigned half = portrait / 2, solid = 0;
    for (unsigned y = centreY - half; y < centreY + half; ++y)
      for (unsigned x = centreX - half; x < centreX + half; ++x) solid += img.Alpha(x, y) == 255;
    EXPECT_GT(solid, portrait * portrait * 3 / 4);
    const unsigned char* centre = &img.rgba[(size_t(centreY) * img.width + centreX) * 4];
    EXPECT_GT(centre[0], 200) << "face centre is not skin-coloured";
    EXPECT_GT(centre[0], centre[2]);

    // Tall enough to fill most of the window at the game's scale.
    unsigned top = 0;
    while (top < img.height && !img.RowHasSolid(top)) ++top;
    EXPECT_GT((lowest - top) * fit.scale, 0.7 * 720);
  }
}

// Desktops pick an icon by its folder's size, so each must be exactly that
// square; the face fills the middle and the corners stay clear.
TEST(AssetsIcons, AreSquaresOfTheirSizeWithAnOpaqueMiddle) {
  for (unsigned size : {48u, 128u, 256u}) {
    SCOPED_TRACE(size);
    Image icon = Load("icons/tarn-" + std::to_string(size) + ".png");
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    EXPECT_EQ(icon.Alpha(size / 2, size / 2), 255u);
    EXPECT_EQ(icon.Alpha(0, 0), 0u);
    EXPECT_EQ(icon.Alpha(size - 1, size - 1), 0u);
  }
}

uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
unsigned U16(const std::vector<unsigned char>& b, size_t at) { return b[at] | b[at + 1] << 8; }

TEST(AssetsChime, IsAShortAudibleMono16BitPcmClip) {
  std::vector<unsigned char> wav = ReadAll(kAssets + "/sound/test_mono.wav");
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(U32(wav, 4), wav.size() - 8);
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(U32(wav, 16), 16u);
  EXPECT_EQ(U16(wav, 20), 1u);  // PCM
  EXPECT_EQ(U16(wav, 22), 1u);  // mono
  uint32_t rate = U32(wav, 24);
  EXPECT_EQ(U32(wav, 28), rate * 2);
  EXPECT_EQ(U16(wav, 32), 2u);
  EXPECT_EQ(U16(wav, 34), 16u);
  EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
  uint32_t bytes = U32(wav, 40);
  ASSERT_EQ(bytes, wav.size() - 44);
  EXPECT_LE(bytes / 2.0 / rate, 0.5);

  std::vector<int> samples;
  for (size_t i = 44; i + 1 < wav.size(); i += 2) samples.push_back(int16_t(U16(wav, i)));
  int peak = 0;
  for (int s : samples) peak = std::max(peak, std::abs(s));
  EXPECT_GT(peak, 8000) << "too quiet";
  EXPECT_LT(peak, 32767) << "clipped";
  // No click at either end.
  EXPECT_LT(std::abs(samples.front()), 200);
  EXPECT_LT(std::abs(samples.back()), 200);
}

}  // namespace
