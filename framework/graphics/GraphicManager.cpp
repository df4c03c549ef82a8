#include "framework/graphics/GraphicManager.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include "framework/graphics/GLCheck.h"

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
  TARN_GL(glViewport(0, 0, viewportWidth, viewportHeight));
  TARN_GL(glMatrixMode(GL_PROJECTION));
  TARN_GL(glLoadIdentity());
  TARN_GL(glOrtho(0, viewportWidth, viewportHeight, 0, -10, 10));
  TARN_GL(glMatrixMode(GL_MODELVIEW));
  TARN_GL(glLoadIdentity());
}

}  // namespace TarnFramework
