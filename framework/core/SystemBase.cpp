#include "framework/core/SystemBase.h"

#include <GLFW/glfw3.h>

#include <initializer_list>

#include "framework/core/Screen.h"
#include "framework/graphics/DrawState.h"

namespace TarnFramework {

SystemBase* g_system = nullptr;

SystemBase::SystemBase() { g_system = this; }

void SystemBase::Release() {
  screenManager.Release();
  graphicManager.Release();
}

void SystemBase::MainLoop() {
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
