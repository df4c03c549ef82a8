// One character's frame as the game does it for the full-body drawing
// (animation selected again, time set from the frame count, state applied,
// world transforms, the renderer's vertices of every slot), without GL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/graphics/Graphic2D.h"

namespace TarnSkel {
class SkelAnimation;
}

// Returns the number of vertices built.
size_t CharacterFrame(TarnSkel::SkelAnimation& animation, int32_t frame);
