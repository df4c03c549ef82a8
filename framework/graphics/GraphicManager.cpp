#include "graphics/GraphicManager.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace TarnFramework {

namespace {
GraphicManager* g_active = nullptr;
}

GraphicManager::GraphicManager() { g_active = this; }

GraphicManager::~GraphicManager() {
  GraphicManager::Release();
  if (g_active == this) g_active = nullptr;
}

GraphicManager* GraphicManager::Active() { return g_active; }

void GraphicManager::Release() {
  if (window) {
    glfwDestroyWindow(window);
    window = nullptr;
  }
  glfwTerminate();
}

void GraphicManager::SetWindowProjection() const {
  glViewport(0, 0, viewportWidth, viewportHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, viewportWidth, viewportHeight, 0, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace TarnFramework
