// The render mode's files: a sheet, a numbered PNG sequence, an animated
// WebP, APNG or GIF, and the frame data beside them. Nothing here touches GL:
// the frames come in as straight RGBA.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skelview {

enum class OutputKind { kSheet, kSequence, kWebp, kApng, kGif };

// What --out names, by its extension; a .png with a frame number in it
// ("%d", "%03d") is a sequence. "%s" stands for the animation's name and
// "%%" for a percent sign. False with a message for anything else.
bool ClassifyOutput(const std::string& pattern, OutputKind& kind, std::string& error);

// The pattern with "%s" as name (its '/', '\' and control characters made
// '_', so a name never leaves the folder), a frame number as frame, and
// "%%" as '%'. The pattern is one ClassifyOutput accepted.
std::string ExpandOutput(const std::string& pattern, const std::string& name, int frame = 0);

// Frames of one animation, all of one size, in straight RGBA, rows top first.
struct Frames {
  int width = 0, height = 0;
  double fps = 0;
  std::vector<std::vector<uint8_t>> rgba;
};

struct Cell {
  int x, y, width, height;
};

// Frames in rows of columns, padding pixels between them and round the edge.
struct SheetLayout {
  int columns = 1, padding = 0, width = 0, height = 0;
  Cell At(int frame, int frameWidth, int frameHeight) const;
};
SheetLayout LayOutSheet(int count, int frameWidth, int frameHeight, int columns, int padding);

// Frame k's length in ticks of 1 / ticksPerSecond, rounded so that the
// lengths of frames 0..k add up to (k + 1) / fps as near as ticks allow, and
// never under minTicks (then the frames add up to more).
int FrameTicks(int k, double fps, int ticksPerSecond, int minTicks = 0);

// A GIF counts in hundredths, and browsers slow frames under two of them down.
constexpr int kGifMinTicks = 2;

// Seconds frame k shows in a file of that kind, as the file holds it.
double FrameSeconds(OutputKind kind, int k, double fps);

// The largest side of a sheet: the largest texture common graphics cards
// take, so a game can load any sheet written.
constexpr int kMaxSheetSide = 16384;

struct SheetStyle {
  int columns = 8;
  int padding = 0;
  // Under the frames of a sheet, and an animated WebP's own background
  // (transparent without one).
  bool hasBackground = false;
  uint32_t background = 0;  // 0xAABBGGRR
};

// The frame data of one output, for --data.
struct FrameEvent {
  std::string name;
  double time;  // in the animation, seconds
  int intValue;
  float floatValue;
  std::string stringValue;
};
struct FrameRecord {
  Cell cell;         // where the frame is in its picture
  std::string file;  // the picture that holds it
  double time;       // of the pose shown, in the animation, seconds
  double duration;   // seconds the frame shows
  std::vector<FrameEvent> events;
};
struct FrameDataHeader {
  std::string animation, skin;
  double animationDuration;
  double fps;
  int frameWidth, frameHeight;
  float originX, originY;  // the skeleton's origin in each frame, in pixels
  float scale;             // pixels per skeleton unit
};
// Takes the frames of one output one at a time, in order, so that only a
// sheet holds more than one frame's pixels.
class FrameWriter {
 public:
  virtual ~FrameWriter() = default;
  // The next frame, straight RGBA of the size opened; sets the record's
  // cell, file and duration.
  virtual bool Add(const std::vector<uint8_t>& rgba, FrameRecord& record, std::string& error) = 0;
  // Writes what is left; false with the reason.
  virtual bool Finish(std::string& error) = 0;
};

// A writer for count frames of width x height at fps, to the pattern
// expanded for the name (and for each frame of a sequence), the folders on
// the way made; null with the reason in error.
std::unique_ptr<FrameWriter> OpenFrameWriter(OutputKind kind, const std::string& pattern, const std::string& name,
                                             int count, int width, int height, double fps, const SheetStyle& style,
                                             std::string& error);

// Makes the folders the file's path names (as mkdir -p); false with the
// reason in error.
bool MakeFolderFor(const std::string& path, std::string& error);

// Writes the frames as the kind says, to the pattern expanded for the name
// (and for each frame of a sequence), and sets each record's cell and file;
// false with the reason in error.
bool WriteFrames(OutputKind kind, const std::string& pattern, const std::string& name, const Frames& frames,
                 const SheetStyle& style, std::vector<FrameRecord>& records, std::string& error);

// The frame data as a JSON text (the README's layout).
std::string FrameDataJson(const FrameDataHeader& header, const std::vector<FrameRecord>& frames);

// Writes bytes to path; false with the reason in error.
bool WriteFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace skelview
