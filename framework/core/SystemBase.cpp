#include "framework/core/SystemBase.h"

#include <GLFW/glfw3.h>

#include <initializer_list>

#include "framework/core/Screen.h"
#include "framework/graphics/DrawState.h"
#include "tarn/Report.h"

namespace TarnFramework {

SystemBase* g_system = nullptr;

SystemBase::SystemBase() { g_system = this; }

void SystemBase::Release() {
  screenManager.Release();
  graphicManager.Release();
}

void SystemBase::MainLoop() {
  // A loop with nothing to show ends after one frame: a program that forgot
  // to register or pick its screen learns why its window only flashed.
  const ScreenManager& screens = screenManager;
  const bool picked = screens.changeRequested && screens.nextScreenIndex >= 0 &&
                      screens.nextScreenIndex < ScreenManager::kSlots && screens.screens[screens.nextScreenIndex];
  if (!screens.currentScreen && !picked) {
    bool registered = false;
    for (const Screen* screen : screens.screens) registered = registered || screen;
    tarn::ReportError("the frame loop has no screen to run",
                      registered
                          ? "none picked: call ScreenManager::ChangeScreen before MainLoop"
                          : "none registered: call ScreenManager::RegisterScreen and ChangeScreen before MainLoop");
  }
  while (RunFrame()) {
  }
}

bool SystemBase::RunFrame() {
  GLFWwindow* window = graphicManager.window;
  if ((window && glfwWindowShouldClose(window)) || quitRequested) return false;
  if (window && iconified) {
    // Nothing shows: no update, no drawing, no swap. Motion is counted in
    // frames, so the game stands still until the window is restored.
    glfwWaitEvents();
    return true;
  }

  screenManager.ApplyPendingSwitch();
  Screen* screen = screenManager.currentScreen;
  if (!screen) {
    quitRequested = true;
  } else {
    screen->Input();
    if (!screen->Update()) quitRequested = true;
  }

  graphicManager.SetWindowProjection();
  ClearTarget(0);

  if (screen && !screen->Draw()) quitRequested = true;
  if (screen) screen->ApplyPendingChanges();

  FlushDrawing();
  if (window) glfwSwapBuffers(window);
  if (framePacing) pacer.Wait();
  EndFrameInput();
  glfwPollEvents();
  return true;
}

void SystemBase::EndFrameInput() {
  for (MouseButtonState* button : {&leftButton, &middleButton, &rightButton}) {
    button->pressed = false;
    button->released = false;
  }
  scrollX = 0;
  scrollY = 0;
  if (mouseX == prevMouseX && mouseY == prevMouseY) {
    if (mouseStillFrames != 2147483647) ++mouseStillFrames;
  } else {
    mouseStillFrames = 0;
  }
  prevMouseX = mouseX;
  prevMouseY = mouseY;
  keyboard.ClearEdges();
}

}  // namespace TarnFramework
