// The render mode: animations drawn frame by frame into a render target, the
// frames written as --out says (Export.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Export.h"
#include "Options.h"

namespace skel {
class Animation;
}

namespace skelview {

// The frame count the options ask for: --frames, else enough frames at the
// rate to cover the animation once (at least one).
int FrameCount(const Options& options, double duration);

// Renders options.animation (or the first; every one with --all, in every
// skin with --skins all) at options.fps into options.out, and the frame data
// into options.dataPath (a GL context must be current). Frame k shows the
// pose at k / fps seconds in straight alpha. Returns an exit code, having
// said why on stderr.
int RenderSheet(const Options& options);

// The events that come while frame k shows at fps: those from k / fps up to
// (k + 1) / fps, the animation coming round again past its end.
std::vector<FrameEvent> FrameEvents(const skel::Animation& animation, int k, double fps);

// Straight RGBA from the same picture drawn onto opaque black and onto opaque
// white: over black a pixel reads colour x alpha, over white colour x alpha +
// (1 - alpha). For blend modes no one alpha explains (Multiply, light added
// over nothing) the alpha is the largest the channels allow, so the colour
// stays in range.
void StraightAlpha(const std::vector<uint8_t>& overBlack, const std::vector<uint8_t>& overWhite,
                   std::vector<uint8_t>& straight);

}  // namespace skelview
