#include "RenderSheet.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Content.h"
#include "Layout.h"
#include "Playback.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"

using namespace TarnFramework;

namespace skelview {

namespace {

// 256 MiB of RGBA: far beyond any useful sheet; the sheet's sides stay
// well inside int below it.
constexpr int64_t kMaxSheetPixels = int64_t{1} << 26;

}  // namespace

int FrameCount(const Options& options, double duration) {
  if (options.frames > 0) return options.frames;
  // The last frame before the animation comes round to its start again; a
  // hair of slack so 2 s at 10 fps is 20 frames, not 21.
  const double frames = std::ceil(duration * options.fps - 1e-6);
  return frames < 1 ? 1 : frames > 10000 ? 10000 : static_cast<int>(frames);
}

int RenderSheet(const Options& options) {
  TarnSkel::SkelData content;
  std::string error;
  if (!LoadContent(options.atlasPath, options.jsonPath, content, error)) {
    std::fprintf(stderr, "skelview: %s\n", error.c_str());
    return kExitLoad;
  }
  TarnSkel::SkelAnimation sprite(content.skeletonData);
  int count = 0;
  std::vector<uint8_t> sheet;
  int sheetWidth = 0, sheetHeight = 0;
  {
    Playback playback(sprite);
    if (!options.skin.empty()) playback.SetSkin(options.skin);
    playback.Select(playback.FindAnimation(options.render));
    const double duration = playback.Duration();
    count = FrameCount(options, duration);
    const int w = options.frameWidth, h = options.frameHeight;
    const int columns = count < kSheetColumns ? count : kSheetColumns;
    const int rows = (count + columns - 1) / columns;
    if (int64_t{columns} * w * rows * h > kMaxSheetPixels) {
      std::fprintf(stderr, "skelview: %d frames of %d x %d make too large a sheet\n", count, w, h);
      return kExitUsage;
    }
    sheetWidth = columns * w;
    sheetHeight = rows * h;
    sheet.assign(static_cast<size_t>(sheetWidth) * sheetHeight * 4, 0);

    Graphic2D target;
    target.SetRenderTarget(w, h);
    if (!target.targetReady) {
      std::fprintf(stderr, "skelview: cannot make a %d x %d render target\n", w, h);
      return kExitNoWindow;
    }
    float bx, by, bw, bh;
    playback.Bounds(bx, by, bw, bh);
    const Placement placement = FitBounds(bx, by, bw, bh, w, h);
    std::vector<uint8_t> frame;
    for (int k = 0; k < count; ++k) {
      const double t = k / options.fps;
      // Frames past the end come round again, as the animation loops.
      playback.Seek(duration > 0 ? std::fmod(t, duration) : 0);
      playback.Place(placement);
      target.BeginRender();
      TarnFramework::ClearTarget(0);
      sprite.DrawPosed();
      const bool read = ReadPixels({0, 0, w, h}, frame);
      EndRender();
      if (!read) {
        std::fprintf(stderr, "skelview: cannot read frame %d back\n", k);
        return kExitNoWindow;
      }
      const int cellX = (k % columns) * w, cellY = (k / columns) * h;
      for (int row = 0; row < h; ++row) {
        std::memcpy(&sheet[(static_cast<size_t>(cellY + row) * sheetWidth + cellX) * 4],
                    &frame[static_cast<size_t>(row) * w * 4], static_cast<size_t>(w) * 4);
      }
    }
  }
  std::string why;
  if (!SavePng(options.out.c_str(), sheet, sheetWidth, sheetHeight, &why)) {
    std::fprintf(stderr, "skelview: cannot write %s: %s\n", options.out.c_str(), why.c_str());
    return kExitUsage;
  }
  std::printf("skelview: %d frames of %d x %d at %g fps in %s (%d x %d)\n", count, options.frameWidth,
              options.frameHeight, options.fps, options.out.c_str(), sheetWidth, sheetHeight);
  return kExitOk;
}

}  // namespace skelview
