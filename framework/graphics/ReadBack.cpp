#include "framework/graphics/ReadBack.h"

#include <GL/glew.h>
#include <lodepng.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/GraphicManager.h"
#include "tarn/Path.h"

namespace TarnFramework {

bool ReadPixels(const Rect& area, std::vector<uint8_t>& rgba) {
  rgba.clear();
  const GraphicManager* manager = GraphicManager::Active();
  if (!manager || area.width < 1 || area.height < 1 || area.x < 0 || area.y < 0) return false;
  const GraphicManager& graphics = *manager;
  Graphic2D* target = graphics.renderTargetStack.Last();
  const bool inTarget = target && target->targetReady;
  const int32_t width = inTarget ? target->width : graphics.viewportWidth;
  const int32_t height = inTarget ? target->height : graphics.viewportHeight;
  if (area.width > width - area.x || area.height > height - area.y) return false;

  glFinish();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  rgba.resize(static_cast<size_t>(area.width) * area.height * 4);
  // A target's rows already run the way its picture shows (its projection
  // runs y upwards); the window's run from the bottom and are turned over.
  const int32_t row = inTarget ? area.y : height - area.y - area.height;
  glReadPixels(area.x, row, area.width, area.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  if (!inTarget) {
    const size_t stride = static_cast<size_t>(area.width) * 4;
    std::vector<uint8_t> line(stride);
    for (int32_t top = 0, bottom = area.height - 1; top < bottom; ++top, --bottom) {
      std::memcpy(line.data(), &rgba[top * stride], stride);
      std::memcpy(&rgba[top * stride], &rgba[bottom * stride], stride);
      std::memcpy(&rgba[bottom * stride], line.data(), stride);
    }
  }
  return glGetError() == GL_NO_ERROR;
}

bool SavePng(const char* path, const std::vector<uint8_t>& rgba, int32_t width, int32_t height, std::string* why) {
  if (width < 1 || height < 1 || rgba.size() != static_cast<size_t>(width) * height * 4) {
    if (why) *why = "no picture";
    return false;
  }
  std::vector<unsigned char> png;
  const unsigned error = lodepng::encode(png, rgba, static_cast<unsigned>(width), static_cast<unsigned>(height));
  if (error) {
    if (why) *why = lodepng_error_text(error);
    return false;
  }
  std::FILE* file = tarn::OpenFile(path, "wb");
  if (!file) {
    if (why) *why = std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  const int savedErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    if (why) *why = std::strerror(written ? errno : savedErrno);
    return false;
  }
  return true;
}

}  // namespace TarnFramework
