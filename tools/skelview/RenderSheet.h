// The render mode: an animation drawn frame by frame into a render target,
// the frames laid out in rows on one sprite sheet.
#pragma once

#include <string>

#include "Options.h"

namespace TarnSkel {
class SkelAnimation;
}

namespace skelview {

// Frames in a row of the sheet, at most.
constexpr int kSheetColumns = 8;

// The frame count the options ask for: --frames, else enough frames at the
// rate to cover the animation once (at least one).
int FrameCount(const Options& options, double duration);

// Renders options.render at options.fps into options.out (a GL context must
// be current). Frame k shows the pose at k / fps seconds, fitted to the frame
// as the viewer fits it. Returns an exit code, having said why on stderr.
int RenderSheet(const Options& options);

}  // namespace skelview
