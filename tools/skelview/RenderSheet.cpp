#include "RenderSheet.h"

#include <algorithm>
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
#include "framework/graphics/Primitives.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"

using namespace TarnFramework;

namespace skelview {

namespace {

// 256 MiB of RGBA: far beyond any useful sheet; the sheet's sides stay
// well inside int below it.
constexpr int64_t kMaxSheetPixels = int64_t{1} << 26;

constexpr uint32_t kOpaqueBlack = 0xFF000000, kOpaqueWhite = 0xFFFFFFFF;

// One frame as the game would draw it onto a screen of the backdrop colour,
// the sheet's background (if any) laid over that first.
bool DrawOver(uint32_t backdrop, Graphic2D& target, TarnSkel::SkelAnimation& sprite, const Options& options,
              std::vector<uint8_t>& rgba) {
  target.BeginRender();
  ClearTarget(backdrop);
  if (options.hasBackground) FillRect({0, 0, target.width, target.height}, options.background);
  sprite.DrawPosed();
  const bool read = ReadPixels({0, 0, target.width, target.height}, rgba);
  EndRender();
  return read;
}

}  // namespace

void StraightAlpha(const std::vector<uint8_t>& overBlack, const std::vector<uint8_t>& overWhite,
                   std::vector<uint8_t>& straight) {
  straight.resize(std::min(overBlack.size(), overWhite.size()));
  for (size_t i = 0; i + 3 < straight.size(); i += 4) {
    // What of the white showed through, on the channel that let through least.
    int through = 255;
    for (size_t c = 0; c < 3; ++c) through = std::min(through, overWhite[i + c] - overBlack[i + c]);
    const int alpha = 255 - std::clamp(through, 0, 255);
    for (size_t c = 0; c < 3; ++c)
      straight[i + c] =
          alpha ? static_cast<uint8_t>(std::min(255, (overBlack[i + c] * 255 + alpha / 2) / alpha)) : uint8_t{0};
    straight[i + 3] = static_cast<uint8_t>(alpha);
  }
}

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
  std::string animation;
  int count = 0;
  std::vector<uint8_t> sheet;
  int sheetWidth = 0, sheetHeight = 0;
  {
    Playback playback(sprite);
    if (!options.skin.empty()) playback.SetSkin(options.skin);
    playback.Select(std::max(0, playback.FindAnimation(options.animation)));
    animation = playback.AnimationName(playback.Selected());
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
    // Cells past the last frame show the background too.
    if (options.hasBackground)
      for (size_t i = 0; i < sheet.size(); ++i) sheet[i] = static_cast<uint8_t>(options.background >> (i % 4 * 8));

    Graphic2D target;
    target.SetRenderTarget(w, h);
    if (!target.targetReady) {
      std::fprintf(stderr, "skelview: cannot make a %d x %d render target\n", w, h);
      return kExitNoWindow;
    }
    float bx, by, bw, bh;
    playback.Bounds(bx, by, bw, bh);
    const Placement placement = FitBounds(bx, by, bw, bh, w, h);
    std::vector<uint8_t> overBlack, overWhite, frame;
    for (int k = 0; k < count; ++k) {
      const double t = k / options.fps;
      // Frames past the end come round again, as the animation loops.
      playback.Seek(duration > 0 ? std::fmod(t, duration) : 0);
      playback.Place(placement);
      // Drawn twice, onto black and onto white, exactly as the game draws
      // onto its screen; the two give each pixel's straight colour and alpha
      // whatever the slots' blend modes. Drawing once into a transparent
      // target would square the alpha and premultiply the colour.
      if (!DrawOver(kOpaqueBlack, target, sprite, options, overBlack) ||
          !DrawOver(kOpaqueWhite, target, sprite, options, overWhite)) {
        std::fprintf(stderr, "skelview: cannot read frame %d back\n", k);
        return kExitNoWindow;
      }
      StraightAlpha(overBlack, overWhite, frame);
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
  std::printf("skelview: %s: %d frames of %d x %d at %g fps in %s (%d x %d)\n", animation.c_str(), count,
              options.frameWidth, options.frameHeight, options.fps, options.out.c_str(), sheetWidth, sheetHeight);
  return kExitOk;
}

}  // namespace skelview
