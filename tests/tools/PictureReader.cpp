#include "PictureReader.h"

#include <gif_lib.h>
#include <lodepng.h>
#include <webp/demux.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace tarn_test {

namespace {

std::vector<unsigned char> Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t BigEndian(const unsigned char* p, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
  return value;
}

void PutChunk(std::vector<unsigned char>& png, const char* type, const unsigned char* data, size_t size) {
  for (int i = 3; i >= 0; --i) png.push_back(static_cast<unsigned char>(size >> (8 * i)));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data, data + size);
  const unsigned crc = lodepng_crc32(&png[start], png.size() - start);
  for (int i = 3; i >= 0; --i) png.push_back(static_cast<unsigned char>(crc >> (8 * i)));
}

}  // namespace

Animation ReadWebp(const std::string& path) {
  Animation result;
  const std::vector<unsigned char> bytes = Bytes(path);
  WebPData data = {bytes.data(), bytes.size()};
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  WebPAnimInfo info;
  if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) {
    result.why = "not an animated WebP";
    WebPAnimDecoderDelete(decoder);
    return result;
  }
  result.width = static_cast<int>(info.canvas_width);
  result.height = static_cast<int>(info.canvas_height);
  // Held as 0xAARRGGBB.
  for (int c = 0; c < 4; ++c)
    result.background[c] = static_cast<unsigned char>(info.bgcolor >> (c == 3 ? 24 : 16 - 8 * c));
  int last = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder)) {
    uint8_t* rgba = nullptr;
    int timestamp = 0;  // when the frame ends
    if (!WebPAnimDecoderGetNext(decoder, &rgba, &timestamp)) {
      result.why = "a frame does not decode";
      break;
    }
    result.frames.emplace_back(rgba, rgba + static_cast<size_t>(result.width) * result.height * 4);
    result.seconds.push_back((timestamp - last) / 1000.0);
    last = timestamp;
  }
  WebPAnimDecoderDelete(decoder);
  return result;
}

Animation ReadApng(const std::string& path) {
  Animation result;
  std::vector<unsigned char> bytes = Bytes(path);
  if (bytes.size() < 8 || std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8) != 0) {
    result.why = "not a PNG";
    return result;
  }
  unsigned char* end = bytes.data() + bytes.size();
  std::vector<unsigned char> header, data;
  uint32_t declared = 0;
  bool inFrame = false;
  auto finish = [&] {
    std::vector<unsigned char> png(bytes.begin(), bytes.begin() + 8);
    PutChunk(png, "IHDR", header.data(), header.size());
    PutChunk(png, "IDAT", data.data(), data.size());
    PutChunk(png, "IEND", nullptr, 0);
    std::vector<unsigned char> rgba;
    unsigned w = 0, h = 0;
    if (lodepng::decode(rgba, w, h, png) != 0) result.why = "a frame does not decode";
    result.frames.push_back(rgba);
    data.clear();
  };
  for (unsigned char* chunk = bytes.data() + 8; chunk + 12 <= end; chunk = lodepng_chunk_next(chunk, end)) {
    const unsigned char* body = lodepng_chunk_data(chunk);
    const unsigned length = lodepng_chunk_length(chunk);
    if (body + length + 4 > end) break;
    if (lodepng_chunk_check_crc(chunk)) result.why = "a chunk's CRC is wrong";
    if (lodepng_chunk_type_equals(chunk, "IHDR")) {
      header.assign(body, body + length);
      result.width = static_cast<int>(BigEndian(body, 4));
      result.height = static_cast<int>(BigEndian(body + 4, 4));
    } else if (lodepng_chunk_type_equals(chunk, "acTL")) {
      declared = BigEndian(body, 4);
    } else if (lodepng_chunk_type_equals(chunk, "fcTL")) {
      if (inFrame) finish();
      inFrame = true;
      if (BigEndian(body + 4, 4) != static_cast<uint32_t>(result.width) ||
          BigEndian(body + 8, 4) != static_cast<uint32_t>(result.height) || BigEndian(body + 12, 4) != 0 ||
          BigEndian(body + 16, 4) != 0 || body[25] != 0)
        result.why = "a frame does not replace the whole canvas";
      const double denominator = BigEndian(body + 22, 2);
      result.seconds.push_back(BigEndian(body + 20, 2) / (denominator ? denominator : 100));
    } else if (lodepng_chunk_type_equals(chunk, "IDAT")) {
      data.insert(data.end(), body, body + length);
    } else if (lodepng_chunk_type_equals(chunk, "fdAT")) {
      data.insert(data.end(), body + 4, body + length);
    } else if (lodepng_chunk_type_equals(chunk, "IEND") && inFrame) {
      finish();
    }
  }
  if (declared != result.frames.size()) result.why = "acTL counts " + std::to_string(declared) + " frames";
  return result;
}

Animation ReadGif(const std::string& path) {
  Animation result;
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  if (!gif || DGifSlurp(gif) != GIF_OK) {
    result.why = std::string("giflib: ") + GifErrorString(gif ? gif->Error : code);
    if (gif) DGifCloseFile(gif, &code);
    return result;
  }
  result.width = gif->SWidth;
  result.height = gif->SHeight;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock control = {};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, i, &control);
    // A frame left in place would show through the next one's clear pixels.
    if (i + 1 < gif->ImageCount && control.DisposalMode != DISPOSE_BACKGROUND)
      result.why = "frame " + std::to_string(i) + " is left under the next";
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (!map || image.ImageDesc.Left || image.ImageDesc.Top || image.ImageDesc.Width != result.width ||
        image.ImageDesc.Height != result.height) {
      result.why = "a frame does not cover the canvas";
      break;
    }
    std::vector<unsigned char> rgba(static_cast<size_t>(result.width) * result.height * 4, 0);
    for (size_t p = 0; p < rgba.size() / 4; ++p) {
      const int index = image.RasterBits[p];
      if (index == control.TransparentColor || index >= map->ColorCount) continue;
      const GifColorType& c = map->Colors[index];
      rgba[p * 4] = c.Red;
      rgba[p * 4 + 1] = c.Green;
      rgba[p * 4 + 2] = c.Blue;
      rgba[p * 4 + 3] = 255;
    }
    result.frames.push_back(rgba);
    result.seconds.push_back(control.DelayTime / 100.0);
  }
  DGifCloseFile(gif, &code);
  return result;
}

}  // namespace tarn_test
