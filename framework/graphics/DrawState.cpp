#include "framework/graphics/DrawState.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "framework/graphics/GLCheck.h"
#include "tarn/Report.h"

namespace TarnFramework {

void SetSoftwareRendererDefaults() {
  // Every draw ends with a flush, and llvmpipe hands each flushed batch to its
  // threads: that costs more than they save (frames 1.3 to 2.6 times slower),
  // and Mesa 22.3 frees a batch's fence after an unlocked look at its count
  // while the last of those threads may still hold the fence's lock. Its
  // unlock then writes into freed memory, and malloc crashes later.
  // Only when unset: a program that set it before starting its threads is
  // not calling setenv again while they run.
  if (!std::getenv("LP_NUM_THREADS")) setenv("LP_NUM_THREADS", "0", /*overwrite=*/0);
}

bool LoadGlEntryPoints(std::string* why) {
  GLenum status = glewInit();
  // GLEW loads the context's GL first and GLX's extras after; a context that
  // is not GLX's (EGL's, off screen) has loaded all the framework uses.
  if (status == GLEW_ERROR_NO_GLX_DISPLAY) status = GLEW_OK;
  if (status != GLEW_OK && why) *why = reinterpret_cast<const char*>(glewGetErrorString(status));
  return status == GLEW_OK;
}

void SetFixedFunctionState(int viewportWidth, int viewportHeight) {
  TARN_GL(glEnable(GL_TEXTURE_2D));
  TARN_GL(glEnable(GL_ALPHA_TEST));
  TARN_GL(glAlphaFunc(GL_GREATER, 0.0f));
  SetBlendMode(BlendMode::Normal);
  TARN_GL(glViewport(0, 0, viewportWidth, viewportHeight));
  TARN_GL(glEnableClientState(GL_VERTEX_ARRAY));
  TARN_GL(glEnableClientState(GL_COLOR_ARRAY));
  TARN_GL(glEnableClientState(GL_TEXTURE_COORD_ARRAY));
}

void ClearTarget(uint32_t color) {
  TARN_GL(glClearColor((color & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, ((color >> 16) & 0xFF) / 255.0f,
                       ((color >> 24) & 0xFF) / 255.0f));
  TARN_GL(glClear(GL_COLOR_BUFFER_BIT));
}

void FlushDrawing() { TARN_GL(glFlush()); }

namespace {

bool premultipliedTarget = false;

}  // namespace

void SetBlendMode(BlendMode mode) {
  TARN_GL(glEnable(GL_BLEND));
  if (premultipliedTarget && mode != BlendMode::Premultiplied) {
    // The colour factors as on the screen; alpha adds up as coverage, and
    // Multiply only darkens what is already there.
    GLenum source = GL_SRC_ALPHA, destination = GL_ONE_MINUS_SRC_ALPHA;
    if (mode == BlendMode::Additive) source = destination = GL_ONE;
    if (mode == BlendMode::Multiply) source = GL_ZERO, destination = GL_SRC_COLOR;
    if (mode == BlendMode::Screen) destination = GL_ONE;
    const bool multiply = mode == BlendMode::Multiply;
    TARN_GL(glBlendFuncSeparate(source, destination, multiply ? GL_ZERO : GL_ONE,
                                multiply ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA));
    return;
  }
  switch (mode) {
    case BlendMode::Additive: TARN_GL(glBlendFunc(GL_ONE, GL_ONE)); break;
    case BlendMode::Multiply: TARN_GL(glBlendFunc(GL_ZERO, GL_SRC_COLOR)); break;
    case BlendMode::Screen: TARN_GL(glBlendFunc(GL_SRC_ALPHA, GL_ONE)); break;
    case BlendMode::Normal: TARN_GL(glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA)); break;
    case BlendMode::Premultiplied: TARN_GL(glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA)); break;
  }
}

void SetPremultipliedTarget(bool on) {
  premultipliedTarget = on;
  SetBlendMode(BlendMode::Normal);
}

void ResetModelView() {
  TARN_GL(glMatrixMode(GL_MODELVIEW));
  TARN_GL(glLoadIdentity());
}

uint32_t CreateAlphaTexture(int32_t width, int32_t height, const unsigned char* coverage) {
  GLuint name = 0;
  TARN_GL(glGenTextures(1, &name));
  TARN_GL(glBindTexture(GL_TEXTURE_2D, name));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR));
  TARN_GL(glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR));
  // Coverage rows are packed byte by byte, not padded to four.
  TARN_GL(glPixelStorei(GL_UNPACK_ALIGNMENT, 1));
  TARN_GL(glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, coverage));
  return name;
}

void CheckGlErrors(const char* operation, const char* file, int line) {
#ifdef NDEBUG
  (void)operation;
  (void)file;
  (void)line;
#else
  // Bounded: without a current context some drivers never run out of errors.
  for (int i = 0; i < 8; ++i) {
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR) break;
    char what[32];
    std::snprintf(what, sizeof what, "GL error 0x%04X", error);
    tarn::ReportWarning(what, std::string("after ") + operation + " (" + file + ":" + std::to_string(line) + ")");
  }
#endif
}

}  // namespace TarnFramework
