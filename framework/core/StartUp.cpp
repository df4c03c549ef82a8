#include "core/StartUp.h"

#include <GLFW/glfw3.h>

#include <clocale>
#include <initializer_list>

#include "core/InputCallbacks.h"
#include "core/SystemBase.h"
#include "graphics/DrawState.h"

namespace TarnFramework {

void SetProgramLocale() {
  // "JPN" is the Windows name; Linux knows Japanese under POSIX names.
  for (const char* name : {"JPN", "ja_JP.UTF-8", "C.UTF-8", "en_US.UTF-8"}) {
    if (std::setlocale(LC_CTYPE, name)) return;
  }
}

bool StartUpWindow(SystemBase& system) {
  GraphicManager& graphics = system.graphicManager;
  if (!glfwInit()) {
    system.Release();
    return false;
  }
  graphics.viewportWidth = system.windowWidth;
  graphics.viewportHeight = system.windowHeight;
  graphics.window = glfwCreateWindow(1280, 720, "OpenGL", nullptr, nullptr);
  if (!graphics.window) {
    graphics.Release();
    system.Release();
    return false;
  }
  glfwMakeContextCurrent(graphics.window);
  glfwSwapInterval(1);
  if (!LoadGlEntryPoints()) {
    graphics.Release();
    system.Release();
    return false;
  }
  SetFixedFunctionState(graphics.viewportWidth, graphics.viewportHeight);
  RegisterInputCallbacks(graphics.window);
  return true;
}

}  // namespace TarnFramework
