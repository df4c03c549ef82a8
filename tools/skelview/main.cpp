// skelview: shows a skeleton moving with the game's own renderer, or renders
// its animations to sprite sheets, picture sequences and animated pictures.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Offscreen.h"
#include "Options.h"
#include "RenderSheet.h"
#include "ViewerScreen.h"
#include "framework/core/StartUp.h"
#include "framework/core/SystemBase.h"
#include "framework/graphics/DrawState.h"
#include "framework/text/Font.h"
#include "skel/SkelExtension.h"
#include "skelcheck/Output.h"
#include "tarn/Path.h"
#include "tarn/Report.h"
// Editing.
#include "skeledit/Editor.h"
#include "skeledit/Script.h"

using namespace TarnFramework;

namespace {

constexpr int kFontSize = 16;

// The game's font: in the working directory (the game's own layout), where
// skelview is installed, then in the build it came from.
std::vector<std::string> FontCandidates() {
  const char* file = "font/rounded-mplus-2m-medium.ttf";
  return {file, std::string(SKELVIEW_DATA_DIR) + "/" + file, std::string(SKELVIEW_BUILD_WORKDIR) + "/" + file};
}

std::string FindFont() {
  for (const std::string& path : FontCandidates()) {
    if (tarn::CheckRegularFile(path.c_str())) return path;
  }
  return "";
}

std::string BaseName(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// GLFW cannot say much when it fails; the usual reason is worth naming.
void ReportNoWindow(const std::string& why) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::fprintf(stderr, "skelview: no display: DISPLAY is not set (a virtual one will do: xvfb-run skelview ...)\n");
  } else {
    std::fprintf(stderr, "skelview: cannot open an OpenGL window on display %s: %s\n", display, why.c_str());
  }
}

// The render mode draws only into render targets: into a context of its own
// with no window and no display, else (no Mesa EGL, say) a hidden window.
// Both draw with the state the window sets up.
int Render(const skelview::Options& options) {
  SystemBase system;
  skelview::OffscreenContext context;
  std::string why;
  if (context.Open(why) && LoadGlEntryPoints(&why)) {
    SetFixedFunctionState(system.graphicManager.viewportWidth, system.graphicManager.viewportHeight);
    return skelview::RenderSheet(options);
  }
  context.Close();
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::fprintf(stderr, "skelview: no off-screen OpenGL context: %s\n", why.c_str());
    return skelview::kExitNoWindow;
  }
  std::fprintf(stderr, "skelview: no off-screen OpenGL context, so a hidden window draws: %s\n", why.c_str());
  glfwInit();
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  if (!StartUpWindow(system, WindowRequest(), &why)) {
    ReportNoWindow(why);
    return skelview::kExitNoWindow;
  }
  const int code = skelview::RenderSheet(options);
  system.Release();
  return code;
}

// --apply: the script's commands over the skeleton, then one save; nothing is
// written unless every line was done.
int ApplyScript(const skelview::Options& options) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!tarn::ReadFile(options.applyScript.c_str(), bytes, &why)) {
    std::fprintf(stderr, "skelview: %s: %s\n", options.applyScript.c_str(), why.c_str());
    return skelview::kExitUsage;
  }
  skeledit::Editor editor;
  if (!editor.Open(options.atlasPath, options.jsonPath, why)) {
    std::fprintf(stderr, "skelview: %s\n", why.c_str());
    return skelview::kExitLoad;
  }
  if (!skeledit::RunScript(editor, std::string(bytes.begin(), bytes.end()), why)) {
    std::fprintf(stderr, "skelview: %s: %s\n", options.applyScript.c_str(), why.c_str());
    return skelview::kExitLoad;
  }
  if (!editor.Save(options.savePath, why)) {
    std::fprintf(stderr, "skelview: %s\n", why.c_str());
    return skelview::kExitUsage;
  }
  return skelview::kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  // The runtime's tracking extension serves every allocation from the first on.
  skel::SkelExtension::getInstance();
  // Files that cannot be read or loaded are told as skelcheck tells them,
  // under this program's name.
  tarn::SetProgramName("skelview");
  skelview::Options options;
  std::string error;
  if (!skelview::ParseArguments(argc, argv, options, error)) {
    std::fprintf(stderr, "skelview: %s\n%s", error.c_str(), skelview::UsageText());
    return skelview::kExitUsage;
  }
  if (options.help) {
    std::fputs(skelview::UsageText(), stdout);
    std::fputs("Editing commands (a line each in an --apply script; the window's gestures make the same):\n", stdout);
    std::fputs(skeledit::CommandSummary(), stdout);
    return skelview::kExitOk;
  }
  if (!options.applyScript.empty()) return ApplyScript(options);
  // A skeleton file not made yet is started in the window, from nothing.
  const bool newSkeleton = !options.render && skelview::SkeletonFileMissing(options.jsonPath);
  if (!newSkeleton)
    if (int code = skelview::CheckContent(options)) return code;

  if (options.render) return Render(options);

  const std::string fontPath = FindFont();
  if (fontPath.empty()) {
    std::fprintf(stderr, "skelview: no font found; looked for:\n");
    for (const std::string& path : FontCandidates()) std::fprintf(stderr, "  %s\n", path.c_str());
    return skelview::kExitNoWindow;
  }

  SetProgramLocale();
  if (!glfwInit()) {
    ReportNoWindow("GLFW could not start");
    return skelview::kExitNoWindow;
  }
  SystemBase system;
  std::string why;
  if (!StartUpWindow(system, WindowRequest(), &why)) {
    ReportNoWindow(why);
    return skelview::kExitNoWindow;
  }
  glfwSetWindowTitle(system.graphicManager.window, ("skelview - " + BaseName(options.jsonPath)).c_str());

  Font font;
  if (!font.Open(fontPath.c_str(), kFontSize, &why)) {
    std::fprintf(stderr, "skelview: cannot open the font: %s\n", why.c_str());
    system.Release();
    return skelview::kExitNoWindow;
  }
  auto* screen = new skelview::ViewerScreen(options, &font);
  system.screenManager.RegisterScreen(0, screen);
  if (!screen->Open(error)) {
    // The files changed between the check and now.
    std::fprintf(stderr, "skelview: %s\n", error.c_str());
    system.Release();
    return skelview::kExitLoad;
  }
  system.screenManager.ChangeScreen(0);
  system.MainLoop();
  // Screens (and their textures) go while the context exists; then the font.
  system.Release();
  font.Release();
  return skelview::kExitOk;
}
