#include "Offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

#include "framework/graphics/DrawState.h"

namespace skelview {

namespace {

std::string EglError(const char* step) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", step, static_cast<unsigned>(eglGetError()));
  return text;
}

}  // namespace

bool OffscreenContext::Open(std::string& why) {
  TarnFramework::SetSoftwareRendererDefaults();
  const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless") || !getPlatformDisplay) {
    why = "EGL has no surfaceless platform (Mesa's EGL, libegl-mesa0, provides one)";
    return false;
  }
  EGLDisplay display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
    why = EglError("starting EGL's surfaceless display");
    return false;
  }
  display_ = display;
  // The window's context is GLFW's default: desktop OpenGL, compatibility
  // profile, where the fixed-function state the framework draws with lives.
  if (!eglBindAPI(EGL_OPENGL_API)) {
    why = EglError("choosing desktop OpenGL");
    return false;
  }
  EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) {
    why = EglError("making an OpenGL context");
    return false;
  }
  context_ = context;
  if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
    why = EglError("making the context current");
    return false;
  }
  return true;
}

OffscreenContext::~OffscreenContext() { Close(); }

void OffscreenContext::Close() {
  if (!display_) return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_) eglDestroyContext(display_, context_);
  eglTerminate(display_);
  display_ = context_ = nullptr;
}

}  // namespace skelview
