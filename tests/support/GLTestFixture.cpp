#include "GLTestFixture.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <lodepng.h>

#include <cstdlib>
#include <ostream>

#include "framework/core/StartUp.h"

namespace tarn_test {

std::ostream& operator<<(std::ostream& os, const Pixel& p) {
  return os << "rgba(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << "," << int(p.a) << ")";
}

bool Near(const Pixel& a, const Pixel& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance &&
         std::abs(a.a - b.a) <= tolerance;
}

void GLTest::SetUp() {
  system = new TarnFramework::SystemBase;
  // A hidden window would skip the real default framebuffer on some drivers;
  // under the virtual display a visible one costs nothing.
  ASSERT_TRUE(TarnFramework::StartUpWindow(*system)) << "no window: is DISPLAY set (xvfb-run)?";
  // Tests run frames by the hundred, back to back; the pacing has tests of its own.
  system->framePacing = false;
  BeginFrame();
}

void GLTest::TearDown() {
  if (!system) return;
  system->Release();
  delete system;
  system = nullptr;
  TarnFramework::g_system = nullptr;
}

void GLTest::BeginFrame() {
  system->graphicManager.SetWindowProjection();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<Pixel> GLTest::ReadRect(int x, int y, int width, int height) const {
  glFinish();
  std::vector<Pixel> bottomUp(static_cast<size_t>(width) * height);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, system->windowHeight - y - height, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<Pixel> topDown(bottomUp.size());
  for (int row = 0; row < height; ++row) {
    for (int col = 0; col < width; ++col) {
      topDown[static_cast<size_t>(row) * width + col] = bottomUp[static_cast<size_t>(height - 1 - row) * width + col];
    }
  }
  return topDown;
}

Pixel GLTest::ReadPixel(int x, int y) const { return ReadRect(x, y, 1, 1)[0]; }

void GLTest::SaveScreenshot(const char* path) const {
  const int w = system->windowWidth;
  const int h = system->windowHeight;
  std::vector<Pixel> pixels = ReadRect(0, 0, w, h);
  lodepng::encode(path, reinterpret_cast<const unsigned char*>(pixels.data()), w, h);
}

}  // namespace tarn_test
