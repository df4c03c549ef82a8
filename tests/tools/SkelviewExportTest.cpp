// skelview's outputs written from frames made up here and read back through
// each format's own decoder: frames, durations, pixels and where the
// records put each frame.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Export.h"
#include "PictureReader.h"
#include "TempDir.h"

namespace {

using tarn_test::TempDir;

// Three 6 x 5 frames that tell each other apart: a solid block whose colour
// and place change with the frame, half alpha along the bottom row, nothing
// elsewhere.
skelview::Frames TestFrames(double fps) {
  skelview::Frames frames;
  frames.width = 6;
  frames.height = 5;
  frames.fps = fps;
  for (int k = 0; k < 3; ++k) {
    std::vector<uint8_t> rgba(6 * 5 * 4, 0);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        uint8_t* p = &rgba[(y * 6 + x) * 4];
        if (y == 4) {
          p[0] = 40, p[1] = 80, p[2] = 120, p[3] = 100;
        } else if (x >= k && x < k + 3) {
          p[0] = static_cast<uint8_t>(200 - 80 * k), p[1] = static_cast<uint8_t>(60 * k), p[2] = 30, p[3] = 255;
        }
      }
    }
    frames.rgba.push_back(rgba);
  }
  return frames;
}

const uint8_t* PixelOf(const std::vector<uint8_t>& rgba, int width, int x, int y) { return &rgba[(y * width + x) * 4]; }

TEST(SkelviewExport, AnimatedPicturesReadBackWithTheirFramesDurationsAndPixels) {
  TempDir dir;
  const struct {
    const char* file;
    skelview::OutputKind kind;
    double fps;
    std::vector<double> seconds;
    bool exact;  // every pixel and alpha as rendered; a GIF keeps one bit of alpha
    tarn_test::Animation (*read)(const std::string&);
    bool background = false;  // a half-clear blue
  } cases[] = {
      {"a.webp", skelview::OutputKind::kWebp, 10, {0.1, 0.1, 0.1}, true, tarn_test::ReadWebp},
      // Whole milliseconds that add up to the frames' times.
      {"b.webp", skelview::OutputKind::kWebp, 30, {0.033, 0.034, 0.033}, true, tarn_test::ReadWebp, true},
      {"a.apng", skelview::OutputKind::kApng, 30, {1 / 30.0, 1 / 30.0, 1 / 30.0}, true, tarn_test::ReadApng},
      {"b.apng", skelview::OutputKind::kApng, 12.5, {0.08, 0.08, 0.08}, true, tarn_test::ReadApng},
      {"a.gif", skelview::OutputKind::kGif, 10, {0.1, 0.1, 0.1}, false, tarn_test::ReadGif},
      {"b.gif", skelview::OutputKind::kGif, 30, {0.03, 0.04, 0.03}, false, tarn_test::ReadGif},
      // Browsers slow frames under 2 hundredths down: none is written.
      {"c.gif", skelview::OutputKind::kGif, 60, {0.02, 0.02, 0.02}, false, tarn_test::ReadGif},
      // The folders on the way are made.
      {"new/folder/d.gif", skelview::OutputKind::kGif, 10, {0.1, 0.1, 0.1}, false, tarn_test::ReadGif},
  };
  for (const auto& c : cases) {
    const skelview::Frames frames = TestFrames(c.fps);
    std::vector<skelview::FrameRecord> records;
    std::string error;
    skelview::SheetStyle style;
    style.hasBackground = c.background;
    style.background = 0x80FF2010;
    ASSERT_TRUE(skelview::WriteFrames(c.kind, dir.File(c.file), "", frames, style, records, error)) << c.file << error;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].file, dir.File(c.file));
    EXPECT_EQ(records[2].cell.width, 6);
    const tarn_test::Animation read = c.read(dir.File(c.file));
    EXPECT_EQ(read.why, "") << c.file;
    ASSERT_EQ(read.frames.size(), 3u) << c.file;
    EXPECT_EQ(read.width, 6);
    EXPECT_EQ(read.height, 5);
    if (c.kind == skelview::OutputKind::kWebp) {
      // Transparent unless a background was given (libwebp's own is white).
      const unsigned char expected[4] = {0x10, 0x20, 0xFF, 0x80}, none[4] = {};
      EXPECT_EQ(0, std::memcmp(read.background, c.background ? expected : none, 4)) << c.file;
    }
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(read.seconds[k], c.seconds[k], 1e-9) << c.file << " frame " << k;
      EXPECT_NEAR(records[k].duration, c.seconds[k], 1e-9) << c.file << ": the data says what the file holds";
      const uint8_t* block = PixelOf(read.frames[k], 6, k + 1, 1);
      EXPECT_EQ(block[3], 255) << c.file << " frame " << k;
      EXPECT_NEAR(block[0], 200 - 80 * k, c.exact ? 0 : 8) << c.file << " frame " << k;
      EXPECT_NEAR(block[1], 60 * k, c.exact ? 0 : 8) << c.file << " frame " << k;
      // What the last frame showed is gone, not piled under this one.
      EXPECT_EQ(PixelOf(read.frames[k], 6, k == 0 ? 5 : 0, 1)[3], 0) << c.file << " frame " << k;
      if (c.exact) {
        EXPECT_EQ(read.frames[k], frames.rgba[k]) << c.file << " frame " << k;
      } else {
        EXPECT_EQ(PixelOf(read.frames[k], 6, 2, 4)[3], 0) << c.file << ": under half alpha is clear";
      }
    }
  }
}

TEST(SkelviewExport, SheetsAndSequencesPutEachFrameWhereTheRecordsSay) {
  TempDir dir;
  const skelview::Frames frames = TestFrames(10);
  std::vector<skelview::FrameRecord> records;
  std::string error;
  skelview::SheetStyle style;
  style.columns = 2;
  style.padding = 3;
  style.hasBackground = true;
  style.background = 0x80FF0000;  // half-clear blue
  ASSERT_TRUE(skelview::WriteFrames(skelview::OutputKind::kSheet, dir.File("%s.png"), "walk/left", frames, style,
                                    records, error))
      << error;
  std::vector<unsigned char> sheet;
  unsigned w = 0, h = 0;
  ASSERT_EQ(lodepng::decode(sheet, w, h, dir.File("walk_left.png")), 0u) << "the name's / stays in the folder";
  EXPECT_EQ(w, 2 * (6 + 3) + 3u);
  EXPECT_EQ(h, 2 * (5 + 3) + 3u);
  for (int k = 0; k < 3; ++k) {
    const skelview::Cell cell = records[k].cell;
    EXPECT_EQ(cell.x, 3 + k % 2 * 9);
    EXPECT_EQ(cell.y, 3 + k / 2 * 8);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 6; ++x)
        ASSERT_EQ(0, std::memcmp(PixelOf(sheet, static_cast<int>(w), cell.x + x, cell.y + y),
                                 PixelOf(frames.rgba[k], 6, x, y), 4))
            << "frame " << k << " at " << x << "," << y;
  }
  // The padding and the empty cell show the background.
  for (const auto& spot : {std::pair<int, int>{1, 1}, {10, 5}, {15, 14}}) {
    const uint8_t* p = PixelOf(sheet, static_cast<int>(w), spot.first, spot.second);
    EXPECT_TRUE(p[0] == 0 && p[1] == 0 && p[2] == 255 && p[3] == 128) << spot.first << "," << spot.second;
  }

  ASSERT_TRUE(skelview::WriteFrames(skelview::OutputKind::kSequence, dir.File("%s_%03d.png"), "walk", frames, {},
                                    records, error))
      << error;
  for (int k = 0; k < 3; ++k) {
    const std::string path = dir.File("walk_00" + std::to_string(k) + ".png");
    EXPECT_EQ(records[k].file, path);
    std::vector<unsigned char> rgba;
    ASSERT_EQ(lodepng::decode(rgba, w, h, path), 0u) << path;
    EXPECT_EQ(rgba, frames.rgba[k]) << path;
  }
  // A folder that cannot be made is said, and nothing is left behind.
  dir.Write("file", std::string("x"));
  const std::pair<const char*, skelview::OutputKind> blocked[] = {{"file/x.gif", skelview::OutputKind::kGif},
                                                                  {"file/x_%d.png", skelview::OutputKind::kSequence},
                                                                  {"file/deeper/x.webp", skelview::OutputKind::kWebp}};
  for (const auto& [file, kind] : blocked) {
    EXPECT_FALSE(skelview::WriteFrames(kind, dir.File(file), "", frames, {}, records, error));
    EXPECT_EQ(error.substr(error.find(dir.File("file"))), dir.File("file") + ": Not a directory") << file;
  }
  // A frame that cannot be written stops the output and removes what was begun.
  skelview::Frames torn = frames;
  torn.rgba[1].pop_back();
  EXPECT_FALSE(skelview::WriteFrames(skelview::OutputKind::kApng, dir.File("torn.apng"), "", torn, {}, records, error));
  EXPECT_EQ(error, "a frame is not 6 x 5 pixels");
  EXPECT_NE(access(dir.File("torn.apng").c_str(), F_OK), 0) << "a torn file stayed";
}

TEST(SkelviewExport, OutputNamesSayTheKindAndTakeTheAnimationAndFrame) {
  using Kind = skelview::OutputKind;
  const struct {
    std::string pattern;
    bool valid;
    Kind kind;
    std::string expanded;  // for "run/x", frame 7
  } cases[] = {
      {"out.png", true, Kind::kSheet, "out.png"},
      {"OUT.PNG", true, Kind::kSheet, "OUT.PNG"},
      {"d/%s.png", true, Kind::kSheet, "d/run_x.png"},
      {"d/%s_%03d.png", true, Kind::kSequence, "d/run_x_007.png"},
      {"f%d.png", true, Kind::kSequence, "f7.png"},
      {"100%%_%s.webp", true, Kind::kWebp, "100%_run_x.webp"},
      {"a.apng", true, Kind::kApng, "a.apng"},
      {"a.GIF", true, Kind::kGif, "a.GIF"},
      {"a.gif.png/", false, Kind::kSheet, ""},
      {"a.bmp", false, Kind::kSheet, ""},
      {"png", false, Kind::kSheet, ""},
      {"a_%d.gif", false, Kind::kSheet, ""},
      {"a_%x.png", false, Kind::kSheet, ""},
      {"a_%0d.png", false, Kind::kSheet, ""},
      {"a_%.png", false, Kind::kSheet, ""},
      {"a%", false, Kind::kSheet, ""},
  };
  for (const auto& c : cases) {
    Kind kind = Kind::kGif;
    std::string error;
    EXPECT_EQ(skelview::ClassifyOutput(c.pattern, kind, error), c.valid) << c.pattern;
    if (!c.valid) {
      EXPECT_NE(error.find(c.pattern), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(kind, c.kind) << c.pattern;
    EXPECT_EQ(skelview::ExpandOutput(c.pattern, "run/x", 7), c.expanded) << c.pattern;
  }
}

}  // namespace
