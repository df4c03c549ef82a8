#include "framework/core/StartUp.h"

#include <GLFW/glfw3.h>

#include <clocale>
#include <initializer_list>
#include <string>

#include "framework/core/InputCallbacks.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "tarn/Report.h"

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

bool StartUpWindow(SystemBase& system) {
  GraphicManager& graphics = system.graphicManager;
  glfwSetErrorCallback(KeepGlfwError);
  g_glfwSaid.clear();
  if (!glfwInit()) {
    tarn::ReportError("cannot start GLFW", GlfwReason());
    system.Release();
    return false;
  }
  graphics.viewportWidth = system.windowWidth;
  graphics.viewportHeight = system.windowHeight;
  graphics.window = glfwCreateWindow(1280, 720, "OpenGL", nullptr, nullptr);
  if (!graphics.window) {
    tarn::ReportError("cannot open the window", GlfwReason());
    graphics.Release();
    system.Release();
    return false;
  }
  g_glfwSaid.clear();
  glfwMakeContextCurrent(graphics.window);
  glfwSwapInterval(1);
  std::string why;
  if (!LoadGlEntryPoints(&why)) {
    // A context that could not be made current shows up here; GLFW knows why.
    if (!g_glfwSaid.empty()) why += " (GLFW: " + g_glfwSaid + ")";
    tarn::ReportError("cannot start GLEW", why);
    graphics.Release();
    system.Release();
    return false;
  }
  SetFixedFunctionState(graphics.viewportWidth, graphics.viewportHeight);
  RegisterInputCallbacks(graphics.window);
  return true;
}

}  // namespace TarnFramework
