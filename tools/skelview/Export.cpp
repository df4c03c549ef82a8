#include "Export.h"

#include <gif_lib.h>
#include <lodepng.h>
#include <sys/stat.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "framework/graphics/ReadBack.h"
#include "skelcheck/Output.h"
#include "tarn/Path.h"

namespace skelview {

namespace {

// A conversion at pattern[i] (a '%'): its length, and whether it is a frame
// number; 0 for one this pattern language does not have.
size_t Conversion(const std::string& pattern, size_t i, bool& frame) {
  frame = false;
  if (i + 1 >= pattern.size()) return 0;
  if (pattern[i + 1] == '%' || pattern[i + 1] == 's') return 2;
  size_t j = i + 1;
  if (pattern[j] == '0' && j + 2 < pattern.size() && pattern[j + 1] >= '1' && pattern[j + 1] <= '9') j += 2;
  if (pattern[j] != 'd') return 0;
  frame = true;
  return j - i + 1;
}

bool WriteBytes(const std::string& path, const void* bytes, size_t size, std::string& error) {
  std::FILE* file = tarn::OpenFile(path.c_str(), "wb");
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  const int savedErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) error = std::strerror(written ? errno : savedErrno);
  return written && closed;
}

std::string ErrnoText() { return std::strerror(errno); }

// A frame holds exactly the pixels of the size the output was opened with.
bool Fits(const std::vector<uint8_t>& rgba, int width, int height, std::string& error) {
  if (rgba.size() == static_cast<size_t>(width) * height * 4) return true;
  error = "a frame is not " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
  return false;
}

// A cell for every frame, in rows of columns; the sheet's pixels held until
// the last frame is in.
class SheetWriter : public FrameWriter {
 public:
  SheetWriter(std::string path, int count, int width, int height, double fps, const SheetStyle& style)
      : path_(std::move(path)),
        layout_(LayOutSheet(count, width, height, style.columns, style.padding)),
        width_(width),
        height_(height),
        fps_(fps),
        sheet_(static_cast<size_t>(layout_.width) * layout_.height * 4, 0) {
    // Padding and cells past the last frame show the background too.
    if (style.hasBackground)
      for (size_t i = 0; i < sheet_.size(); ++i) sheet_[i] = static_cast<uint8_t>(style.background >> (i % 4 * 8));
  }
  bool Add(const std::vector<uint8_t>& rgba, FrameRecord& record, std::string& error) override {
    if (!Fits(rgba, width_, height_, error)) return false;
    const Cell cell = layout_.At(added_, width_, height_);
    const size_t rowBytes = static_cast<size_t>(width_) * 4;
    for (int row = 0; row < height_; ++row)
      std::memcpy(&sheet_[(static_cast<size_t>(cell.y + row) * layout_.width + cell.x) * 4], &rgba[row * rowBytes],
                  rowBytes);
    record.cell = cell;
    record.file = path_;
    record.duration = FrameSeconds(OutputKind::kSheet, added_++, fps_);
    return true;
  }
  bool Finish(std::string& error) override {
    return TarnFramework::SavePng(path_.c_str(), sheet_, layout_.width, layout_.height, &error);
  }

 private:
  std::string path_;
  SheetLayout layout_;
  int width_, height_;
  double fps_;
  std::vector<uint8_t> sheet_;
  int added_ = 0;
};

// A PNG a frame, written as it comes.
class SequenceWriter : public FrameWriter {
 public:
  SequenceWriter(std::string pattern, std::string name, int width, int height, double fps)
      : pattern_(std::move(pattern)), name_(std::move(name)), width_(width), height_(height), fps_(fps) {}
  bool Add(const std::vector<uint8_t>& rgba, FrameRecord& record, std::string& error) override {
    if (!Fits(rgba, width_, height_, error)) return false;
    const std::string path = ExpandOutput(pattern_, name_, added_);
    // The frame number may name a folder too.
    if (!MakeFolderFor(path, error) || !TarnFramework::SavePng(path.c_str(), rgba, width_, height_, &error)) {
      error = path + ": " + error;
      return false;
    }
    record.cell = {0, 0, width_, height_};
    record.file = path;
    record.duration = FrameSeconds(OutputKind::kSequence, added_++, fps_);
    return true;
  }
  bool Finish(std::string&) override { return true; }

 private:
  std::string pattern_, name_;
  int width_, height_;
  double fps_;
  int added_ = 0;
};

// The animated kinds: one file, every frame the whole canvas.
class AnimationWriter : public FrameWriter {
 public:
  AnimationWriter(OutputKind kind, std::string path, int width, int height, double fps)
      : kind_(kind), path_(std::move(path)), width_(width), height_(height), fps_(fps) {}
  bool Add(const std::vector<uint8_t>& rgba, FrameRecord& record, std::string& error) override {
    if (!Fits(rgba, width_, height_, error) || !Encode(rgba, error)) return false;
    record.cell = {0, 0, width_, height_};
    record.file = path_;
    record.duration = FrameSeconds(kind_, added_++, fps_);
    return true;
  }

 protected:
  virtual bool Encode(const std::vector<uint8_t>& rgba, std::string& error) = 0;

  OutputKind kind_;
  std::string path_;
  int width_, height_;
  double fps_;
  int added_ = 0;
};

// Lossless, so every pixel and its alpha come back as rendered. The encoder
// keeps each frame compressed, not its pixels.
class WebpWriter : public AnimationWriter {
 public:
  WebpWriter(std::string path, int width, int height, double fps)
      : AnimationWriter(OutputKind::kWebp, std::move(path), width, height, fps) {}
  bool Open(const SheetStyle& style, std::string& error) {
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config_)) {
      error = "libwebp does not match the headers it was built with";
      return false;
    }
    options.anim_params.loop_count = 0;  // for ever
    // Viewers fill the canvas with this; libwebp's own default is white.
    const uint32_t c = style.hasBackground ? style.background : 0;  // 0xAABBGGRR
    options.anim_params.bgcolor = (c & 0xFF00FF00) | (c & 0xFF) << 16 | (c >> 16 & 0xFF);
    config_.lossless = 1;
    config_.exact = 1;
    encoder_.reset(WebPAnimEncoderNew(width_, height_, &options));
    if (!encoder_) error = "libwebp cannot start an animation of that size";
    return encoder_ != nullptr;
  }
  bool Finish(std::string& error) override {
    WebPData data;
    WebPDataInit(&data);
    // The last timestamp ends the last frame.
    const bool assembled = WebPAnimEncoderAdd(encoder_.get(), nullptr, timestamp_, nullptr) &&
                           WebPAnimEncoderAssemble(encoder_.get(), &data);
    if (!assembled) error = std::string("libwebp: ") + WebPAnimEncoderGetError(encoder_.get());
    const bool written = assembled && WriteBytes(path_, data.bytes, data.size, error);
    WebPDataClear(&data);
    return written;
  }

 private:
  bool Encode(const std::vector<uint8_t>& rgba, std::string& error) override {
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = width_;
    picture.height = height_;
    const bool added = WebPPictureImportRGBA(&picture, rgba.data(), width_ * 4) &&
                       WebPAnimEncoderAdd(encoder_.get(), &picture, timestamp_, &config_);
    WebPPictureFree(&picture);
    if (!added) error = std::string("libwebp: ") + WebPAnimEncoderGetError(encoder_.get());
    timestamp_ += FrameTicks(added_, fps_, 1000);
    return added;
  }

  WebPConfig config_;
  std::unique_ptr<WebPAnimEncoder, void (*)(WebPAnimEncoder*)> encoder_{nullptr, WebPAnimEncoderDelete};
  int timestamp_ = 0;
};

// A file written as the frames come, removed when the output is not finished.
class FileBackedWriter : public AnimationWriter {
 public:
  using AnimationWriter::AnimationWriter;
  ~FileBackedWriter() override {
    if (!file_) return;
    std::fclose(file_);
    std::remove(tarn::NativePath(path_.c_str()).c_str());
  }
  bool OpenFile(std::string& error) {
    file_ = tarn::OpenFile(path_.c_str(), "wb");
    if (!file_) error = ErrnoText();
    return file_ != nullptr;
  }
  bool Put(const void* bytes, size_t size, std::string& error) {
    if (std::fwrite(bytes, 1, size, file_) == size) return true;
    error = ErrnoText();
    return false;
  }
  bool Close(std::string& error) {
    const bool closed = std::fclose(file_) == 0;
    if (!closed) error = ErrnoText();
    file_ = nullptr;
    if (!closed) std::remove(tarn::NativePath(path_.c_str()).c_str());
    return closed;
  }

 protected:
  std::FILE* file_ = nullptr;
};

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
  PutBigEndian(png, static_cast<uint32_t>(data.size()), 4);
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBigEndian(png, lodepng_crc32(&png[start], png.size() - start), 4);
}

// An animated PNG: each frame compressed by lodepng as a PNG of its own
// (all of one colour type, so one header serves), its image data moved into
// the animation's frame chunks. Debian's libpng has no animation support.
class ApngWriter : public FileBackedWriter {
 public:
  ApngWriter(std::string path, int count, int width, int height, double fps)
      : FileBackedWriter(OutputKind::kApng, std::move(path), width, height, fps), count_(count) {}
  bool Finish(std::string& error) override {
    std::vector<uint8_t> end;
    AppendChunk(end, "IEND", {});
    return Put(end.data(), end.size(), error) && Close(error);
  }

 private:
  bool Encode(const std::vector<uint8_t>& rgba, std::string& error) override {
    lodepng::State state;
    state.encoder.auto_convert = 0;
    state.info_png.color.colortype = LCT_RGBA;
    state.info_png.color.bitdepth = 8;
    std::vector<unsigned char> png;
    if (unsigned code = lodepng::encode(png, rgba, width_, height_, state)) {
      error = lodepng_error_text(code);
      return false;
    }
    std::vector<uint8_t> out;
    if (added_ == 0) out.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    unsigned char* end = png.data() + png.size();
    std::vector<uint8_t> imageData;
    for (unsigned char* chunk = png.data() + 8; chunk + 12 <= end; chunk = lodepng_chunk_next(chunk, end)) {
      const unsigned char* data = lodepng_chunk_data(chunk);
      const std::vector<uint8_t> body(data, data + lodepng_chunk_length(chunk));
      if (added_ == 0 && lodepng_chunk_type_equals(chunk, "IHDR")) {
        AppendChunk(out, "IHDR", body);
        std::vector<uint8_t> control;
        PutBigEndian(control, static_cast<uint32_t>(count_), 4);
        PutBigEndian(control, 0, 4);  // plays for ever
        AppendChunk(out, "acTL", control);
      }
      if (lodepng_chunk_type_equals(chunk, "IDAT")) imageData.insert(imageData.end(), body.begin(), body.end());
      if (lodepng_chunk_type_equals(chunk, "IEND")) break;
    }
    // Delays as a fraction: exact for a whole rate, else in milliseconds.
    const bool whole = fps_ == std::floor(fps_);
    std::vector<uint8_t> control;
    PutBigEndian(control, sequence_++, 4);
    PutBigEndian(control, static_cast<uint32_t>(width_), 4);
    PutBigEndian(control, static_cast<uint32_t>(height_), 4);
    PutBigEndian(control, 0, 4);  // x offset
    PutBigEndian(control, 0, 4);  // y offset
    PutBigEndian(control, whole ? 1 : static_cast<uint32_t>(FrameTicks(added_, fps_, 1000)), 2);
    PutBigEndian(control, whole ? static_cast<uint32_t>(fps_) : 1000, 2);
    control.push_back(1);  // cleared before the next frame: alpha never piles up
    control.push_back(0);  // drawn over nothing
    AppendChunk(out, "fcTL", control);
    if (added_ == 0) {
      AppendChunk(out, "IDAT", imageData);
    } else {
      std::vector<uint8_t> frameData;
      PutBigEndian(frameData, sequence_++, 4);
      frameData.insert(frameData.end(), imageData.begin(), imageData.end());
      AppendChunk(out, "fdAT", frameData);
    }
    return Put(out.data(), out.size(), error);
  }

  int count_;
  uint32_t sequence_ = 0;
};

int PutGifBytes(GifFileType* gif, const GifByteType* bytes, int size) {
  return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(size), static_cast<std::FILE*>(gif->UserData)));
}

// A GIF has one bit of alpha and 256 colours a frame: each frame gets a
// palette of its own from giflib's quantiser, and its last entry for the
// pixels under half alpha.
class GifWriter : public FileBackedWriter {
 public:
  GifWriter(std::string path, int width, int height, double fps)
      : FileBackedWriter(OutputKind::kGif, std::move(path), width, height, fps) {}
  ~GifWriter() override {
    int code = 0;
    if (gif_) EGifCloseFile(gif_, &code);
  }
  bool Open(std::string& error) {
    if (!OpenFile(error)) return false;
    int code = 0;
    gif_ = EGifOpen(file_, PutGifBytes, &code);
    if (!gif_) {
      error = std::string("giflib: ") + GifErrorString(code);
      return false;
    }
    EGifSetGifVersion(gif_, true);
    // Loops for ever.
    GifByteType loop[] = {1, 0, 0};
    if (EGifPutScreenDesc(gif_, width_, height_, 8, 0, nullptr) == GIF_ERROR ||
        EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, loop) == GIF_ERROR || EGifPutExtensionTrailer(gif_) == GIF_ERROR)
      return Failed(error);
    return true;
  }
  bool Finish(std::string& error) override {
    int code = 0;
    const bool closed = EGifCloseFile(gif_, &code) != GIF_ERROR;
    gif_ = nullptr;
    if (!closed) error = std::string("giflib: ") + GifErrorString(code);
    return closed && Close(error);
  }

 private:
  bool Failed(std::string& error) {
    error = std::string("giflib: ") + GifErrorString(gif_->Error);
    return false;
  }
  bool Encode(const std::vector<uint8_t>& rgba, std::string& error) override {
    constexpr int kTransparent = 255;
    const size_t pixels = static_cast<size_t>(width_) * height_;
    red_.resize(pixels);
    green_.resize(pixels);
    blue_.resize(pixels);
    indices_.resize(pixels);
    for (size_t i = 0; i < pixels; ++i) {
      red_[i] = rgba[i * 4];
      green_[i] = rgba[i * 4 + 1];
      blue_[i] = rgba[i * 4 + 2];
    }
    GifColorType palette[256] = {};
    int colours = kTransparent;
    if (GifQuantizeBuffer(width_, height_, &colours, red_.data(), green_.data(), blue_.data(), indices_.data(),
                          palette) == GIF_ERROR)
      return Failed(error);
    for (size_t i = 0; i < pixels; ++i)
      if (rgba[i * 4 + 3] < 128) indices_[i] = kTransparent;
    GraphicsControlBlock control = {};
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.DelayTime = FrameTicks(added_, fps_, 100, kGifMinTicks);
    control.TransparentColor = kTransparent;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ColorMapObject* map = GifMakeMapObject(256, palette);
    const bool put = map &&
                     EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_ERROR &&
                     EGifPutImageDesc(gif_, 0, 0, width_, height_, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!put) return Failed(error);
    for (int row = 0; row < height_; ++row)
      if (EGifPutLine(gif_, &indices_[static_cast<size_t>(row) * width_], width_) == GIF_ERROR) return Failed(error);
    return true;
  }

  GifFileType* gif_ = nullptr;
  std::vector<GifByteType> red_, green_, blue_, indices_;
};

}  // namespace

bool ClassifyOutput(const std::string& pattern, OutputKind& kind, std::string& error) {
  bool numbered = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    bool frame = false;
    const size_t length = Conversion(pattern, i, frame);
    if (!length) {
      error = "--out " + pattern + ": % starts only %s (the animation), %d or %03d (the frame) and %%";
      return false;
    }
    numbered |= frame;
    i += length - 1;
  }
  const size_t dot = pattern.find_last_of("./");
  std::string extension = dot == std::string::npos || pattern[dot] != '.' ? "" : pattern.substr(dot);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") {
    kind = numbered ? OutputKind::kSequence : OutputKind::kSheet;
  } else if (extension == ".webp" || extension == ".apng" || extension == ".gif") {
    if (numbered) {
      error = "--out " + pattern + ": a frame number goes only in a .png sequence";
      return false;
    }
    kind = extension == ".webp" ? OutputKind::kWebp : extension == ".apng" ? OutputKind::kApng : OutputKind::kGif;
  } else {
    // The extension says what is written; a picture under another name
    // would be one that no program opens as what it claims to be.
    error = "--out " + pattern + ": the name ends in .png, .webp, .apng or .gif";
    return false;
  }
  return true;
}

std::string ExpandOutput(const std::string& pattern, const std::string& name, int frame) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    bool isFrame = false;
    const size_t length = pattern[i] == '%' ? Conversion(pattern, i, isFrame) : 0;
    if (!length) {
      out += pattern[i];
    } else if (pattern[i + 1] == '%') {
      out += '%';
    } else if (pattern[i + 1] == 's') {
      for (char c : name) out += c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ? '_' : c;
    } else {
      const int width = length == 4 ? pattern[i + 2] - '0' : 0;
      char number[32];
      std::snprintf(number, sizeof number, "%0*d", width, frame);
      out += number;
    }
    if (length) i += length - 1;
  }
  return out;
}

Cell SheetLayout::At(int frame, int frameWidth, int frameHeight) const {
  return {padding + (frame % columns) * (frameWidth + padding), padding + (frame / columns) * (frameHeight + padding),
          frameWidth, frameHeight};
}

SheetLayout LayOutSheet(int count, int frameWidth, int frameHeight, int columns, int padding) {
  SheetLayout layout;
  layout.columns = std::max(1, std::min(count, columns));
  layout.padding = padding;
  const int rows = (count + layout.columns - 1) / layout.columns;
  layout.width = layout.columns * (frameWidth + padding) + padding;
  layout.height = rows * (frameHeight + padding) + padding;
  return layout;
}

int FrameTicks(int k, double fps, int ticksPerSecond, int minTicks) {
  const double perFrame = ticksPerSecond / fps;
  // Where frame k ends; with a floor on each frame, no earlier than k + 1 floors.
  auto end = [&](int frame) { return std::max<long>(std::lround(frame * perFrame), long{minTicks} * frame); };
  return static_cast<int>(end(k + 1) - end(k));
}

double FrameSeconds(OutputKind kind, int k, double fps) {
  switch (kind) {
    case OutputKind::kWebp: return FrameTicks(k, fps, 1000) / 1000.0;
    case OutputKind::kGif: return FrameTicks(k, fps, 100, kGifMinTicks) / 100.0;
    case OutputKind::kApng: return fps == std::floor(fps) ? 1 / fps : FrameTicks(k, fps, 1000) / 1000.0;
    default: return 1 / fps;
  }
}

bool MakeFolderFor(const std::string& path, std::string& error) {
  const std::string native = tarn::NativePath(path.c_str());
  for (size_t slash = native.find('/', 1); slash != std::string::npos; slash = native.find('/', slash + 1)) {
    const std::string folder = native.substr(0, slash);
    struct stat info;
    if (mkdir(folder.c_str(), 0777) == 0 ||
        (errno == EEXIST && stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
      continue;
    error = folder + ": " + std::strerror(errno == EEXIST ? ENOTDIR : errno);
    return false;
  }
  return true;
}

std::unique_ptr<FrameWriter> OpenFrameWriter(OutputKind kind, const std::string& pattern, const std::string& name,
                                             int count, int width, int height, double fps, const SheetStyle& style,
                                             std::string& error) {
  const std::string path = ExpandOutput(pattern, name);
  if (!MakeFolderFor(path, error)) return nullptr;
  switch (kind) {
    case OutputKind::kSheet: return std::make_unique<SheetWriter>(path, count, width, height, fps, style);
    case OutputKind::kSequence: return std::make_unique<SequenceWriter>(pattern, name, width, height, fps);
    case OutputKind::kWebp: {
      auto writer = std::make_unique<WebpWriter>(path, width, height, fps);
      return writer->Open(style, error) ? std::move(writer) : nullptr;
    }
    case OutputKind::kApng: {
      auto writer = std::make_unique<ApngWriter>(path, count, width, height, fps);
      return writer->OpenFile(error) ? std::move(writer) : nullptr;
    }
    case OutputKind::kGif: {
      auto writer = std::make_unique<GifWriter>(path, width, height, fps);
      return writer->Open(error) ? std::move(writer) : nullptr;
    }
  }
  return nullptr;
}

bool WriteFrames(OutputKind kind, const std::string& pattern, const std::string& name, const Frames& frames,
                 const SheetStyle& style, std::vector<FrameRecord>& records, std::string& error) {
  records.resize(frames.rgba.size());
  std::unique_ptr<FrameWriter> writer = OpenFrameWriter(kind, pattern, name, static_cast<int>(frames.rgba.size()),
                                                        frames.width, frames.height, frames.fps, style, error);
  if (!writer) return false;
  for (size_t k = 0; k < frames.rgba.size(); ++k)
    if (!writer->Add(frames.rgba[k], records[k], error)) return false;
  return writer->Finish(error);
}

std::string FrameDataJson(const FrameDataHeader& header, const std::vector<FrameRecord>& frames) {
  using skelcheck::Quoted;
  auto seconds = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    return std::string(text);
  };
  // The fewest digits that read back as the same float: 0.6, not 0.600000024.
  auto Number = [](float value) {
    if (!std::isfinite(value)) return skelcheck::Number(value);
    char text[32];
    for (int digits = 6; digits <= 9; ++digits) {
      std::snprintf(text, sizeof text, "%.*g", digits, value);
      if (std::strtof(text, nullptr) == value) break;
    }
    return std::string(text);
  };
  std::string json =
      "{\n  \"animation\": " + Quoted(header.animation.c_str()) + ",\n  \"skin\": " + Quoted(header.skin.c_str()) +
      ",\n  \"duration\": " + seconds(header.animationDuration) + ",\n  \"fps\": " + seconds(header.fps) +
      ",\n  \"width\": " + std::to_string(header.frameWidth) +
      ",\n  \"height\": " + std::to_string(header.frameHeight) + ",\n  \"origin\": {\"x\": " + Number(header.originX) +
      ", \"y\": " + Number(header.originY) + "},\n  \"scale\": " + Number(header.scale) + ",\n  \"frames\": [";
  for (size_t k = 0; k < frames.size(); ++k) {
    const FrameRecord& f = frames[k];
    json += k ? ",\n    {" : "\n    {";
    json += "\"file\": " + Quoted(f.file.c_str()) + ", \"x\": " + std::to_string(f.cell.x) +
            ", \"y\": " + std::to_string(f.cell.y) + ", \"width\": " + std::to_string(f.cell.width) +
            ", \"height\": " + std::to_string(f.cell.height) + ", \"time\": " + seconds(f.time) +
            ", \"duration\": " + seconds(f.duration) + ", \"events\": [";
    for (size_t e = 0; e < f.events.size(); ++e) {
      const FrameEvent& event = f.events[e];
      json += (e ? ", {\"name\": " : "{\"name\": ") + Quoted(event.name.c_str()) +
              ", \"time\": " + Number(static_cast<float>(event.time)) + ", \"int\": " + std::to_string(event.intValue) +
              ", \"float\": " + Number(event.floatValue) + ", \"string\": " + Quoted(event.stringValue.c_str()) + "}";
    }
    json += "]}";
  }
  json += frames.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return json;
}

bool WriteFile(const std::string& path, const std::string& bytes, std::string& error) {
  return WriteBytes(path, bytes.data(), bytes.size(), error);
}

}  // namespace skelview
