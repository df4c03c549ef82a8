#include "framework/core/StartUp.h"

#include <GLFW/glfw3.h>
#include <dlfcn.h>
#include <link.h>

#include <clocale>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/InputCallbacks.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/graphics/PictureDecoder.h"
#include "tarn/Report.h"

namespace TarnFramework {

namespace {

// The GL driver keeps allocations for the life of the process, referenced
// from its own globals. glfwTerminate unloads it, after which LeakSanitizer
// sees them as leaks of an unknown module that no suppression can name;
// kept loaded, they stay reachable.
void KeepGlDriverLoaded() {
  std::vector<std::string> drivers;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* found) {
        if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
          static_cast<std::vector<std::string>*>(found)->push_back(info->dlpi_name);
        return 0;
      },
      &drivers);
  // Opened outside the walk, which holds the loader's lock.
  for (const std::string& driver : drivers) dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

// What GLFW last said: a failed step reports it as its reason.
std::string g_glfwSaid;

void KeepGlfwError(int, const char* description) { g_glfwSaid = description ? description : ""; }

std::string GlfwReason() { return g_glfwSaid.empty() ? "GLFW gave no reason" : g_glfwSaid; }

// The largest icon side decoded: far above any icon a window manager shows.
constexpr unsigned kLargestIconSide = 1024;

void SetIcons(GLFWwindow* window, const std::vector<WindowRequest::Png>& pngs) {
  std::vector<PictureDecoder::Picture> pictures;
  std::vector<GLFWimage> images;
  pictures.reserve(pngs.size());
  for (size_t i = 0; i < pngs.size(); ++i) {
    PictureDecoder::Picture picture;
    PictureDecoder::DecodeBytes(pngs[i].bytes, pngs[i].size, kLargestIconSide, picture);
    if (!picture.pixels) {
      tarn::ReportWarning("cannot use window icon " + std::to_string(i + 1), picture.why);
      continue;
    }
    pictures.push_back(std::move(picture));
    const PictureDecoder::Picture& p = pictures.back();
    images.push_back({static_cast<int>(p.width), static_cast<int>(p.height), p.pixels.get()});
  }
  if (!images.empty()) glfwSetWindowIcon(window, static_cast<int>(images.size()), images.data());
}

}  // namespace

void SetProgramLocale() {
  // "JPN" is the Windows name; Linux knows Japanese under POSIX names.
  for (const char* name : {"JPN", "ja_JP.UTF-8", "C.UTF-8", "en_US.UTF-8"}) {
    if (std::setlocale(LC_CTYPE, name)) return;
  }
}

bool StartUpWindow(SystemBase& system, const WindowRequest& request, std::string* why) {
  GraphicManager& graphics = system.graphicManager;
  // Given why, the caller says it; otherwise the log does, as an error.
  const auto fail = [why](const std::string& what, const std::string& reason) {
    if (why) {
      *why = what + ": " + reason;
    } else {
      tarn::ReportError(what, reason);
    }
  };
  SetSoftwareRendererDefaults();
  glfwSetErrorCallback(KeepGlfwError);
  g_glfwSaid.clear();
  if (!glfwInit()) {
    fail("cannot start GLFW", GlfwReason());
    system.Release();
    return false;
  }
  // The window, the system's size and the viewport agree from the start.
  system.windowWidth = request.width > 0 ? request.width : 1280;
  system.windowHeight = request.height > 0 ? request.height : 720;
  graphics.viewportWidth = system.windowWidth;
  graphics.viewportHeight = system.windowHeight;
  if (!request.x11Class.empty()) {
    glfwWindowHintString(GLFW_X11_CLASS_NAME, request.x11Class.c_str());
    glfwWindowHintString(GLFW_X11_INSTANCE_NAME, request.x11Class.c_str());
  }
  graphics.window = glfwCreateWindow(system.windowWidth, system.windowHeight, request.title.c_str(), nullptr, nullptr);
  // Hints outlive the window they were set for; a later window of this
  // process gets GLFW's default class again.
  glfwWindowHintString(GLFW_X11_CLASS_NAME, "");
  glfwWindowHintString(GLFW_X11_INSTANCE_NAME, "");
  if (!graphics.window) {
    fail("cannot open the window", GlfwReason());
    graphics.Release();
    system.Release();
    return false;
  }
  if (request.minWidth > 0 || request.minHeight > 0) {
    glfwSetWindowSizeLimits(graphics.window, request.minWidth > 0 ? request.minWidth : GLFW_DONT_CARE,
                            request.minHeight > 0 ? request.minHeight : GLFW_DONT_CARE, GLFW_DONT_CARE, GLFW_DONT_CARE);
  }
  SetIcons(graphics.window, request.icons);
  system.iconified = glfwGetWindowAttrib(graphics.window, GLFW_ICONIFIED) == GLFW_TRUE;
  g_glfwSaid.clear();
  glfwMakeContextCurrent(graphics.window);
  glfwSwapInterval(1);
  std::string glewWhy;
  if (!LoadGlEntryPoints(&glewWhy)) {
    // A context that could not be made current shows up here; GLFW knows why.
    if (!g_glfwSaid.empty()) glewWhy += " (GLFW: " + g_glfwSaid + ")";
    fail("cannot start GLEW", glewWhy);
    graphics.Release();
    system.Release();
    return false;
  }
  SetFixedFunctionState(graphics.viewportWidth, graphics.viewportHeight);
  RegisterInputCallbacks(graphics.window);
  KeepGlDriverLoaded();
  return true;
}

}  // namespace TarnFramework
