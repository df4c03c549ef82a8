#include "RenderSheet.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <vector>

#include "Content.h"
#include "Export.h"
#include "Layout.h"
#include "Playback.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/graphics/Primitives.h"
#include "framework/graphics/ReadBack.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skelcheck/DrawnBox.h"

using namespace TarnFramework;

namespace skelview {

namespace {

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

namespace {

// The canvas and where the skeleton stands on it. --size alone fits the
// bounds the viewer fits, as the viewer does; otherwise the union of every
// frame's pose is measured once, so the canvas neither jitters nor crops, and
// is laid out at --scale (centred in --size when both are given).
bool FitCanvas(const Options& options, Playback& playback, int count, int& width, int& height, Placement& placement,
               std::string& error) {
  if (options.sizeGiven && !options.scaleGiven) {
    width = options.frameWidth;
    height = options.frameHeight;
    float bx, by, bw, bh;
    playback.Bounds(bx, by, bw, bh);
    placement = FitBounds(bx, by, bw, bh, width, height);
    return true;
  }
  PoseBox box{0, 0, 0, 0};
  playback.MeasurePoses(count, 1 / options.fps, box);
  const float minX = box.minX, minY = box.minY, maxX = box.maxX, maxY = box.maxY;
  const double s = options.scale;
  if (options.sizeGiven) {
    width = options.frameWidth;
    height = options.frameHeight;
    placement = {static_cast<float>(width / 2.0 - (minX + maxX) / 2 * s),
                 static_cast<float>(height / 2.0 - (minY + maxY) / 2 * s), static_cast<float>(s)};
    return true;
  }
  // Whole pixels round the bounds, so an edge pixel half covered is kept.
  const double left = std::floor(minX * s), top = std::floor(minY * s);
  const double w = std::max(1.0, std::ceil(maxX * s) - left), h = std::max(1.0, std::ceil(maxY * s) - top);
  if (w > 4096 || h > 4096) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "the frames at scale %g need %.0f x %.0f pixels, more than 4096 a side;"
                  " give a smaller --scale or --size",
                  s, w, h);
    error = text;
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  placement = {static_cast<float>(-left), static_cast<float>(-top), static_cast<float>(s)};
  return true;
}

struct Job {
  int animation;
  std::string skin;  // empty: the data's default
  std::string name;  // what %s stands for
  // Worked out before anything is written.
  int count = 0;
  int width = 0, height = 0;
  Placement placement{0, 0, 1};
};

void Show(const Job& job, Playback& playback) {
  if (!job.skin.empty()) playback.SetSkin(job.skin);
  playback.Select(job.animation);
}

// The job's frame count and canvas; false, having said why, for an output
// that cannot be written.
bool PlanOne(const Options& options, OutputKind kind, Job& job, Playback& playback) {
  Show(job, playback);
  const std::string animation = playback.AnimationName(job.animation);
  job.count = FrameCount(options, playback.Duration());
  std::string error;
  if (!FitCanvas(options, playback, job.count, job.width, job.height, job.placement, error)) {
    std::fprintf(stderr, "skelview: %s: %s\n", animation.c_str(), error.c_str());
    return false;
  }
  // Only a sheet holds every frame at once.
  const SheetLayout layout = LayOutSheet(job.count, job.width, job.height, options.columns, options.padding);
  if (kind == OutputKind::kSheet && (layout.width > kMaxSheetSide || layout.height > kMaxSheetSide)) {
    std::fprintf(stderr,
                 "skelview: %s: a sheet of %d frames of %d x %d is %d x %d pixels, more than %d a side;"
                 " give --columns, a smaller --scale, or write a sequence or an animated file\n",
                 animation.c_str(), job.count, job.width, job.height, layout.width, layout.height, kMaxSheetSide);
    return false;
  }
  return true;
}

// One output: the animation in the skin, each frame written as it is drawn,
// then the frame data.
int RenderOne(const Options& options, OutputKind kind, const Job& job, Playback& playback,
              TarnSkel::SkelAnimation& sprite) {
  Show(job, playback);
  const std::string animation = playback.AnimationName(job.animation);
  const double duration = playback.Duration();
  const int w = job.width, h = job.height, count = job.count;
  Graphic2D target;
  target.SetRenderTarget(w, h);
  if (!target.targetReady) {
    std::fprintf(stderr, "skelview: cannot make a %d x %d render target\n", w, h);
    return kExitNoWindow;
  }
  const SheetStyle style{options.columns, options.padding, options.hasBackground, options.background};
  std::string error;
  std::unique_ptr<FrameWriter> writer =
      OpenFrameWriter(kind, options.out, job.name, count, w, h, options.fps, style, error);
  if (!writer) {
    std::fprintf(stderr, "skelview: cannot write %s: %s\n", ExpandOutput(options.out, job.name).c_str(), error.c_str());
    return kExitUsage;
  }
  const auto& all = sprite.skeleton->getData()->getAnimations();
  const skel::Animation* data = job.animation < static_cast<int>(all.size()) ? all[job.animation] : nullptr;
  std::vector<FrameRecord> records(count);
  std::vector<uint8_t> overBlack, overWhite, straight;
  for (int k = 0; k < count; ++k) {
    const double t = k / options.fps;
    // Frames past the end come round again, as the animation loops.
    playback.Seek(duration > 0 ? std::fmod(t, duration) : 0);
    playback.Place(job.placement);
    // Drawn twice, onto black and onto white, exactly as the game draws
    // onto its screen; the two give each pixel's straight colour and alpha
    // whatever the slots' blend modes. Drawing once into a transparent
    // target would square the alpha and premultiply the colour.
    if (!DrawOver(kOpaqueBlack, target, sprite, options, overBlack) ||
        !DrawOver(kOpaqueWhite, target, sprite, options, overWhite)) {
      std::fprintf(stderr, "skelview: cannot read frame %d back\n", k);
      return kExitNoWindow;
    }
    StraightAlpha(overBlack, overWhite, straight);
    records[k].time = duration > 0 ? std::fmod(t, duration) : 0;
    if (data) records[k].events = FrameEvents(*data, k, options.fps);
    if (!writer->Add(straight, records[k], error)) {
      std::fprintf(stderr, "skelview: cannot write %s: %s\n", ExpandOutput(options.out, job.name).c_str(),
                   error.c_str());
      return kExitUsage;
    }
  }
  if (!writer->Finish(error)) {
    std::fprintf(stderr, "skelview: cannot write %s: %s\n", ExpandOutput(options.out, job.name).c_str(), error.c_str());
    return kExitUsage;
  }
  if (!options.dataPath.empty()) {
    const FrameDataHeader header{animation, job.skin,        duration,        options.fps,        w,
                                 h,         job.placement.x, job.placement.y, job.placement.scale};
    const std::string path = ExpandOutput(options.dataPath, job.name);
    if (!MakeFolderFor(path, error) || !WriteFile(path, FrameDataJson(header, records), error)) {
      std::fprintf(stderr, "skelview: cannot write %s: %s\n", path.c_str(), error.c_str());
      return kExitUsage;
    }
  }
  std::printf("skelview: %s%s%s: %d frames of %d x %d at %g fps in %s\n", animation.c_str(),
              job.skin.empty() ? "" : " in ", job.skin.c_str(), count, w, h, options.fps,
              ExpandOutput(options.out, job.name, 0).c_str());
  return kExitOk;
}

}  // namespace

std::vector<FrameEvent> FrameEvents(const skel::Animation& animation, int k, double fps) {
  constexpr double kSlack = 1e-6;  // event times are floats
  std::vector<FrameEvent> met;
  const double from = k / fps, to = (k + 1) / fps, duration = animation.getDuration();
  for (skel::Timeline* timeline : animation.getTimelines()) {
    if (!timeline || !timeline->getRTTI().isExactly(skel::EventTimeline::rtti)) continue;
    for (const skel::Event* event : static_cast<skel::EventTimeline*>(timeline)->getEvents()) {
      if (!event) continue;
      double at = event->getTime();
      if (duration > 0) {
        // An event at the very end comes with the loop's next start; then
        // the first time it comes at or after the frame's start.
        at = std::fmod(at, duration);
        if (at > duration - kSlack) at = 0;
        if (at < from - kSlack) at += std::ceil((from - kSlack - at) / duration) * duration;
      }
      if (at < from - kSlack || at >= to - kSlack) continue;
      const char* name = event->getData().getName().buffer();
      const char* text = event->getStringValue().buffer();
      met.push_back(
          {name ? name : "", event->getTime(), event->getIntValue(), event->getFloatValue(), text ? text : ""});
    }
  }
  return met;
}

int RenderSheet(const Options& options) {
  OutputKind kind = OutputKind::kSheet;
  std::string error;
  if (!ClassifyOutput(options.out, kind, error)) {
    std::fprintf(stderr, "skelview: %s\n", error.c_str());
    return kExitUsage;
  }
  TarnSkel::SkelData content;
  if (!LoadContent(options.atlasPath, options.jsonPath, content, error)) {
    std::fprintf(stderr, "skelview: %s\n", error.c_str());
    return kExitLoad;
  }
  TarnSkel::SkelAnimation sprite(content.skeletonData);
  Playback playback(sprite);
  std::vector<std::string> skins = {options.skin};
  const auto& allSkins = content.skeletonData->getSkins();
  if (options.skin.empty() && !content.skeletonData->getDefaultSkin() && allSkins.size() > 0 && allSkins[0]) {
    // Without one nothing would be drawn, as in the game.
    skins = {allSkins[0]->getName().buffer() ? allSkins[0]->getName().buffer() : ""};
    if (!options.allSkins)
      std::fprintf(stderr, "skelview: no skin named default: drawing the first skin, %s\n", skins[0].c_str());
  }
  if (options.allSkins) {
    skins.clear();
    for (const skel::Skin* skin : content.skeletonData->getSkins())
      if (skin) skins.push_back(skin->getName().buffer() ? skin->getName().buffer() : "");
  }
  // Without animations, the setup pose.
  std::vector<int> animations = {std::max(0, playback.FindAnimation(options.animation))};
  if (options.allAnimations)
    for (int i = 1; i < playback.AnimationCount(); ++i) animations.push_back(i);
  // Every output's name first: two that come out alike would overwrite each
  // other (names differing only in '/', say).
  std::vector<Job> jobs;
  std::set<std::string> names;
  for (int animation : animations) {
    for (const std::string& skin : skins) {
      std::string name = playback.AnimationCount() ? playback.AnimationName(animation) : "setup";
      if (options.allSkins) name += "-" + skin;
      const std::string path = ExpandOutput(options.out, name);
      if (!names.insert(path).second) {
        std::fprintf(stderr, "skelview: two outputs would be written to %s\n", path.c_str());
        return kExitUsage;
      }
      jobs.push_back({animation, skin, name});
    }
  }
  // Every output is checked before the first is written: a run either
  // writes them all or says at once why it cannot.
  for (Job& job : jobs)
    if (!PlanOne(options, kind, job, playback)) return kExitUsage;
  if (kind == OutputKind::kGif && options.fps > 50)
    std::fprintf(stderr,
                 "skelview: a GIF shows no frame shorter than 2 hundredths of a second (browsers slow shorter ones"
                 " down), so at %g fps each frame shows 0.02 s and the animation plays slower\n",
                 options.fps);
  for (const Job& job : jobs) {
    if (const int code = RenderOne(options, kind, job, playback, sprite)) return code;
  }
  return kExitOk;
}

}  // namespace skelview
