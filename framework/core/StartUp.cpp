#include "core/StartUp.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <clocale>
#include <initializer_list>
#include <string>

#include "core/InputCallbacks.h"
#include "core/Report.h"
#include "core/SystemBase.h"

namespace TarnFramework {

namespace {

// What GLFW last said: a failed step reports it as its reason.
std::string g_glfwSaid;

void KeepGlfwError(int, const char* description) { g_glfwSaid = description ? description : ""; }

std::string GlfwReason() { return g_glfwSaid.empty() ? "GLFW gave no reason" : g_glfwSaid; }

}  // namespace

void SetProgramLocale() {
  // "JPN" is the Windows name; Linux knows Japanese under POSIX names.
  for (const char* name : {"JPN", "ja_JP.UTF-8", "C.UTF-8", "en_US.UTF-8"}) {
    if (std::setlocale(LC_CTYPE, name)) return;
  }
}

void SetFixedFunctionState(int viewportWidth, int viewportHeight) {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.0f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glViewport(0, 0, viewportWidth, viewportHeight);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}

bool StartUpWindow(SystemBase& system) {
  GraphicManager& graphics = system.graphicManager;
  glfwSetErrorCallback(KeepGlfwError);
  g_glfwSaid.clear();
  if (!glfwInit()) {
    ReportError("cannot start GLFW", GlfwReason());
    system.Release();
    return false;
  }
  graphics.viewportWidth = system.windowWidth;
  graphics.viewportHeight = system.windowHeight;
  graphics.window = glfwCreateWindow(1280, 720, "OpenGL", nullptr, nullptr);
  if (!graphics.window) {
    ReportError("cannot open the window", GlfwReason());
    graphics.Release();
    system.Release();
    return false;
  }
  g_glfwSaid.clear();
  glfwMakeContextCurrent(graphics.window);
  glfwSwapInterval(1);
  const GLenum glew = glewInit();
  if (glew != GLEW_OK) {
    // A context that could not be made current shows up here; GLFW knows why.
    std::string why = reinterpret_cast<const char*>(glewGetErrorString(glew));
    if (!g_glfwSaid.empty()) why += " (GLFW: " + g_glfwSaid + ")";
    ReportError("cannot start GLEW", why);
    graphics.Release();
    system.Release();
    return false;
  }
  SetFixedFunctionState(graphics.viewportWidth, graphics.viewportHeight);
  RegisterInputCallbacks(graphics.window);
  return true;
}

}  // namespace TarnFramework
