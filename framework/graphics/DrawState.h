/// @file
/// The GL state the framework draws with, as small operations, so that only
/// the graphics module (and the skeleton renderer through it) talks to GL.
#pragma once

#include <cstdint>
#include <string>

namespace TarnFramework {

/// Premultiplied draws a picture whose colour is already multiplied by its
/// alpha: a canvas filled while SetPremultipliedTarget was on.
enum class BlendMode { Normal, Additive, Multiply, Screen, Premultiplied };

/// Call before the first GL context is made, and before the program starts a
/// thread (it may set an environment variable). Mesa's software renderer
/// (llvmpipe) then draws on the thread that flushes rather than on threads of
/// its own; a value of LP_NUM_THREADS the user set stands. Other drivers do not
/// read it.
void SetSoftwareRendererDefaults();

/// GLEW's entry points for the current context (framebuffer objects and the
/// rest beyond GL 1.1); false with GLEW's reason when they cannot be loaded.
bool LoadGlEntryPoints(std::string* why = nullptr);

/// The render state every frame relies on, for the whole run: texturing,
/// alpha test, normal blending, the viewport and the three client arrays.
void SetFixedFunctionState(int viewportWidth, int viewportHeight);

/// Clears the current target (the window or the render target on top of the
/// stack) to a colour with red in the lowest byte (0xAABBGGRR).
void ClearTarget(uint32_t color);

/// Hands the queued drawing to the driver.
void FlushDrawing();

/// How what is drawn next mixes with what is under it.
void SetBlendMode(BlendMode mode);

/// Turns premultiplied blending for a render target on or off.
/// For drawing into a target that starts transparent and is then drawn over
/// something else. Normal blending there would multiply each soft edge's
/// alpha by itself and its colour by its alpha, and the edge would show
/// thinned and darkened. With this on the blend modes keep the target's
/// colour premultiplied and its alpha as coverage, so the target drawn with
/// BlendMode::Premultiplied shows what drawing straight onto the screen shows
/// (Multiply excepted, which has nothing behind it in the target). Sets the
/// Normal mode in the new way; turn it off before leaving the target.
void SetPremultipliedTarget(bool on);

/// The model-view matrix back to identity, for draws in projection units.
void ResetModelView();

/// A clamped, linearly filtered alpha texture of width x height coverage
/// bytes (rows packed without padding); returns its name, bound.
uint32_t CreateAlphaTexture(int32_t width, int32_t height, const unsigned char* coverage);

/// Debug builds: reports every pending GL error on standard error, naming the
/// operation after which it was found; Release builds compile it away.
void CheckGlErrors(const char* operation, const char* file, int line);

}  // namespace TarnFramework
