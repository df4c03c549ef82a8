#include "Export.h"

#include <gif_lib.h>
#include <lodepng.h>
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

bool WriteSheet(const std::string& path, const Frames& frames, const SheetStyle& style,
                std::vector<FrameRecord>& records, std::string& error) {
  const int count = static_cast<int>(frames.rgba.size());
  const SheetLayout layout = LayOutSheet(count, frames.width, frames.height, style.columns, style.padding);
  std::vector<uint8_t> sheet(static_cast<size_t>(layout.width) * layout.height * 4, 0);
  // Padding and cells past the last frame show the background too.
  if (style.hasBackground)
    for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = static_cast<uint8_t>(style.background >> (i % 4 * 8));
  const size_t rowBytes = static_cast<size_t>(frames.width) * 4;
  for (int k = 0; k < count; ++k) {
    const Cell cell = layout.At(k, frames.width, frames.height);
    for (int row = 0; row < frames.height; ++row)
      std::memcpy(&sheet[(static_cast<size_t>(cell.y + row) * layout.width + cell.x) * 4],
                  &frames.rgba[k][row * rowBytes], rowBytes);
    records[k].cell = cell;
    records[k].file = path;
  }
  return TarnFramework::SavePng(path.c_str(), sheet, layout.width, layout.height, &error);
}

bool WriteSequence(const std::string& pattern, const std::string& name, const Frames& frames,
                   std::vector<FrameRecord>& records, std::string& error) {
  for (size_t k = 0; k < frames.rgba.size(); ++k) {
    const std::string path = ExpandOutput(pattern, name, static_cast<int>(k));
    if (!TarnFramework::SavePng(path.c_str(), frames.rgba[k], frames.width, frames.height, &error)) {
      error = path + ": " + error;
      return false;
    }
    records[k].cell = {0, 0, frames.width, frames.height};
    records[k].file = path;
  }
  return true;
}

// Lossless, so every pixel and its alpha come back as rendered.
bool EncodeWebp(const Frames& frames, std::vector<uint8_t>& out, std::string& error) {
  WebPAnimEncoderOptions options;
  WebPConfig config;
  if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config)) {
    error = "libwebp does not match the headers it was built with";
    return false;
  }
  options.anim_params.loop_count = 0;  // for ever
  config.lossless = 1;
  config.exact = 1;
  std::unique_ptr<WebPAnimEncoder, void (*)(WebPAnimEncoder*)> encoder(
      WebPAnimEncoderNew(frames.width, frames.height, &options), WebPAnimEncoderDelete);
  if (!encoder) {
    error = "libwebp cannot start an animation of that size";
    return false;
  }
  int timestamp = 0;
  for (size_t k = 0; k < frames.rgba.size(); ++k) {
    WebPPicture picture;
    WebPPictureInit(&picture);
    picture.use_argb = 1;
    picture.width = frames.width;
    picture.height = frames.height;
    const bool added = WebPPictureImportRGBA(&picture, frames.rgba[k].data(), frames.width * 4) &&
                       WebPAnimEncoderAdd(encoder.get(), &picture, timestamp, &config);
    WebPPictureFree(&picture);
    if (!added) {
      error = std::string("libwebp: ") + WebPAnimEncoderGetError(encoder.get());
      return false;
    }
    timestamp += FrameTicks(static_cast<int>(k), frames.fps, 1000);
  }
  WebPData data;
  WebPDataInit(&data);
  // The last timestamp ends the last frame.
  if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
      !WebPAnimEncoderAssemble(encoder.get(), &data)) {
    error = std::string("libwebp: ") + WebPAnimEncoderGetError(encoder.get());
    return false;
  }
  out.assign(data.bytes, data.bytes + data.size);
  WebPDataClear(&data);
  return true;
}

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
bool EncodeApng(const Frames& frames, std::vector<uint8_t>& out, std::string& error) {
  const int count = static_cast<int>(frames.rgba.size());
  // Delays as a fraction: exact for a whole rate, else in milliseconds.
  const bool whole = frames.fps == std::floor(frames.fps);
  out.assign({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  uint32_t sequence = 0;
  for (int k = 0; k < count; ++k) {
    lodepng::State state;
    state.encoder.auto_convert = 0;
    state.info_png.color.colortype = LCT_RGBA;
    state.info_png.color.bitdepth = 8;
    std::vector<unsigned char> png;
    if (unsigned code = lodepng::encode(png, frames.rgba[k], frames.width, frames.height, state)) {
      error = lodepng_error_text(code);
      return false;
    }
    unsigned char* end = png.data() + png.size();
    std::vector<uint8_t> imageData;
    for (unsigned char* chunk = png.data() + 8; chunk + 12 <= end; chunk = lodepng_chunk_next(chunk, end)) {
      const unsigned char* data = lodepng_chunk_data(chunk);
      const std::vector<uint8_t> body(data, data + lodepng_chunk_length(chunk));
      if (k == 0 && lodepng_chunk_type_equals(chunk, "IHDR")) {
        AppendChunk(out, "IHDR", body);
        std::vector<uint8_t> control;
        PutBigEndian(control, static_cast<uint32_t>(count), 4);
        PutBigEndian(control, 0, 4);  // plays for ever
        AppendChunk(out, "acTL", control);
      }
      if (lodepng_chunk_type_equals(chunk, "IDAT")) imageData.insert(imageData.end(), body.begin(), body.end());
      if (lodepng_chunk_type_equals(chunk, "IEND")) break;
    }
    std::vector<uint8_t> control;
    PutBigEndian(control, sequence++, 4);
    PutBigEndian(control, static_cast<uint32_t>(frames.width), 4);
    PutBigEndian(control, static_cast<uint32_t>(frames.height), 4);
    PutBigEndian(control, 0, 4);  // x offset
    PutBigEndian(control, 0, 4);  // y offset
    PutBigEndian(control, whole ? 1 : static_cast<uint32_t>(FrameTicks(k, frames.fps, 1000)), 2);
    PutBigEndian(control, whole ? static_cast<uint32_t>(frames.fps) : 1000, 2);
    control.push_back(1);  // cleared before the next frame: alpha never piles up
    control.push_back(0);  // drawn over nothing
    AppendChunk(out, "fcTL", control);
    if (k == 0) {
      AppendChunk(out, "IDAT", imageData);
    } else {
      std::vector<uint8_t> frameData;
      PutBigEndian(frameData, sequence++, 4);
      frameData.insert(frameData.end(), imageData.begin(), imageData.end());
      AppendChunk(out, "fdAT", frameData);
    }
  }
  AppendChunk(out, "IEND", {});
  return true;
}

int CollectGifBytes(GifFileType* gif, const GifByteType* bytes, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + size);
  return size;
}

// A GIF has one bit of alpha and 256 colours a frame: each frame gets a
// palette of its own from giflib's quantiser, and its last entry for the
// pixels under half alpha.
bool EncodeGif(const Frames& frames, std::vector<uint8_t>& out, std::string& error) {
  constexpr int kTransparent = 255;
  int code = 0;
  GifFileType* gif = EGifOpen(&out, CollectGifBytes, &code);
  if (!gif) {
    error = std::string("giflib: ") + GifErrorString(code);
    return false;
  }
  auto fail = [&](GifFileType* open) {
    error = std::string("giflib: ") + GifErrorString(open ? open->Error : code);
    if (open) EGifCloseFile(open, &code);
    return false;
  };
  EGifSetGifVersion(gif, true);
  if (EGifPutScreenDesc(gif, frames.width, frames.height, 8, 0, nullptr) == GIF_ERROR) return fail(gif);
  // Loops for ever.
  GifByteType loop[] = {1, 0, 0};
  if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
      EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_ERROR || EGifPutExtensionBlock(gif, 3, loop) == GIF_ERROR ||
      EGifPutExtensionTrailer(gif) == GIF_ERROR)
    return fail(gif);
  const size_t pixels = static_cast<size_t>(frames.width) * frames.height;
  std::vector<GifByteType> red(pixels), green(pixels), blue(pixels), indices(pixels);
  for (size_t k = 0; k < frames.rgba.size(); ++k) {
    const std::vector<uint8_t>& rgba = frames.rgba[k];
    for (size_t i = 0; i < pixels; ++i) {
      red[i] = rgba[i * 4];
      green[i] = rgba[i * 4 + 1];
      blue[i] = rgba[i * 4 + 2];
    }
    GifColorType palette[256] = {};
    int colours = kTransparent;
    if (GifQuantizeBuffer(frames.width, frames.height, &colours, red.data(), green.data(), blue.data(), indices.data(),
                          palette) == GIF_ERROR)
      return fail(gif);
    for (size_t i = 0; i < pixels; ++i)
      if (rgba[i * 4 + 3] < 128) indices[i] = kTransparent;
    GraphicsControlBlock control = {};
    control.DisposalMode = DISPOSE_BACKGROUND;
    control.DelayTime = FrameTicks(static_cast<int>(k), frames.fps, 100);
    control.TransparentColor = kTransparent;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    ColorMapObject* map = GifMakeMapObject(256, palette);
    const bool put = map &&
                     EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_ERROR &&
                     EGifPutImageDesc(gif, 0, 0, frames.width, frames.height, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!put) return fail(gif);
    for (int row = 0; row < frames.height; ++row)
      if (EGifPutLine(gif, &indices[static_cast<size_t>(row) * frames.width], frames.width) == GIF_ERROR)
        return fail(gif);
  }
  if (EGifCloseFile(gif, &code) == GIF_ERROR) return fail(nullptr);
  return true;
}

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

int FrameTicks(int k, double fps, int ticksPerSecond) {
  const double perFrame = ticksPerSecond / fps;
  return static_cast<int>(std::lround((k + 1) * perFrame) - std::lround(k * perFrame));
}

bool WriteFrames(OutputKind kind, const std::string& pattern, const std::string& name, const Frames& frames,
                 const SheetStyle& style, std::vector<FrameRecord>& records, std::string& error) {
  records.resize(frames.rgba.size());
  if (kind == OutputKind::kSequence) return WriteSequence(pattern, name, frames, records, error);
  const std::string path = ExpandOutput(pattern, name);
  if (kind == OutputKind::kSheet) return WriteSheet(path, frames, style, records, error);
  std::vector<uint8_t> bytes;
  const bool encoded = kind == OutputKind::kWebp   ? EncodeWebp(frames, bytes, error)
                       : kind == OutputKind::kApng ? EncodeApng(frames, bytes, error)
                                                   : EncodeGif(frames, bytes, error);
  if (!encoded || !WriteBytes(path, bytes.data(), bytes.size(), error)) return false;
  for (FrameRecord& record : records) {
    record.cell = {0, 0, frames.width, frames.height};
    record.file = path;
  }
  return true;
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
