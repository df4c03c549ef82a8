// Helpers for widget tests: a screen in the real window driven by synthetic
// events through the real callbacks, and a drawable of known size.
#pragma once

#include <GLFW/glfw3.h>

#include "GLTestFixture.h"
#include "framework/core/InputCallbacks.h"
#include "framework/core/Screen.h"
#include "framework/graphics/Drawer.h"
#include "framework/graphics/Primitives.h"

namespace tarn_test {

// A solid block of a given size and colour that remembers where it was drawn.
struct BlockDrawer : TarnFramework::Drawer {
  BlockDrawer(int32_t blockW, int32_t blockH, uint32_t colour = 0xFFFFFFFF) : w(blockW), h(blockH), rgba(colour) {}
  void Release() override {}
  void DrawPart(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool, const TarnFramework::Rect&) override {}
  void DrawTransformed(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool) override {}
  void DrawScaled(int32_t, int32_t, double, double) override {}
  void DrawScaledUniform(int32_t, int32_t, double) override {}
  void Draw(int32_t x, int32_t y) override {
    lastX = x;
    lastY = y;
    TarnFramework::FillRect(TarnFramework::Rect{x, y, w, h}, rgba);
  }
  int32_t GetWidth() override { return w; }
  int32_t GetHeight() override { return h; }
  void SetColor(uint32_t) override {}
  void ResetColor() override {}

  int32_t w, h;
  uint32_t rgba;
  int32_t lastX = -1, lastY = -1;
};

class WidgetScreenTest : public GLTest {
 protected:
  struct Recorder : TarnFramework::Screen {
    bool OnEvent(int32_t kind, Widget* sender, int32_t, int32_t, int64_t) override {
      events.push_back({kind, sender});
      return true;
    }
    std::vector<std::pair<int32_t, Widget*>> events;
  };

  void SetUp() override {
    GLTest::SetUp();
    GLFWwindow* window = system->graphicManager.window;
    glfwSetCursorPosCallback(window, nullptr);
    glfwSetMouseButtonCallback(window, nullptr);
    glfwSetScrollCallback(window, nullptr);
    glfwSetKeyCallback(window, nullptr);
    screen = new Recorder;
    screen->SetName("Test");
    screen->SetSize(1280, 720);
    system->screenManager.RegisterScreen(0, screen);
    system->screenManager.ChangeScreen(0);
  }

  template <class W>
  W* Add(W* widget, TarnFramework::Widget* parent = nullptr) {
    widget->handler = screen;
    (parent ? parent : screen)->AddChild(widget);
    return widget;
  }

  // Left clicks the screen heard from sender (the screen hears its own too).
  int EventsFrom(const TarnFramework::Widget* sender) const {
    int n = 0;
    for (const auto& e : screen->events) n += e.first == 0 && e.second == sender;
    return n;
  }

  void Move(int x, int y) { TarnFramework::OnCursorPos(nullptr, x, y); }
  void Press() { TarnFramework::OnMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_PRESS, 0); }
  void Release() { TarnFramework::OnMouseButton(nullptr, GLFW_MOUSE_BUTTON_LEFT, GLFW_RELEASE, 0); }
  void Wheel(double notches) { TarnFramework::OnScroll(nullptr, 0, notches); }
  void Frame() { system->RunFrame(); }
  // Input, update and draw of the screen without swapping, so the back buffer
  // can be read.
  void DrawOnly() {
    BeginFrame();
    screen->Draw();
  }

  Recorder* screen = nullptr;
};

}  // namespace tarn_test
