// The real game in the test's window: GameSystem built and initialised, its
// screens driven by synthetic input through the real callbacks and frames.
#pragma once

#include <GLFW/glfw3.h>
#include <lodepng.h>

#include <memory>
#include <string>
#include <vector>

#include "CharGraphic.h"
#include "CharUnit.h"
#include "GLTestFixture.h"
#include "GameSystem.h"
#include "TempDir.h"
#include "framework/core/InputCallbacks.h"
#include "framework/core/Screen.h"
#include "framework/widgets/Listbox.h"

namespace game_test {

// Draws nothing and remembers every call, to check where and when a screen
// draws its characters.
struct RecordingGraphic : CharGraphic {
  struct Call {
    bool full;
    int32_t frame, x, y;
    double scale;  // the size for portraits
  };
  void Release() override {}
  void DrawPortrait(int32_t frame, int32_t x, int32_t y, int32_t size) override {
    calls.push_back({false, frame, x, y, double(size)});
  }
  void DrawFull(int32_t frame, int32_t x, int32_t y, double s) override { calls.push_back({true, frame, x, y, s}); }
  std::vector<Call> FullCalls() const {
    std::vector<Call> full;
    for (const Call& c : calls) {
      if (c.full) full.push_back(c);
    }
    return full;
  }
  std::vector<Call> calls;
};

// A one-colour RGBA picture written as PNG; returns its path.
inline std::string WriteSolidPng(const tarn_test::TempDir& dir, const std::string& name, unsigned w, unsigned h,
                                 uint32_t rgba) {
  std::vector<unsigned char> pixels(size_t(w) * h * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    for (int c = 0; c < 4; ++c) pixels[i + c] = static_cast<unsigned char>(rgba >> (8 * c));
  }
  std::vector<unsigned char> png;
  lodepng::encode(png, pixels, w, h);
  return dir.Write(name, png);
}

class GameTest : public tarn_test::GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    if (HasFatalFailure()) return;
    GLFWwindow* window = system->graphicManager.window;
    glfwSetCursorPosCallback(window, nullptr);
    glfwSetMouseButtonCallback(window, nullptr);
    glfwSetScrollCallback(window, nullptr);
    glfwSetKeyCallback(window, nullptr);
    glfwSetWindowSizeCallback(window, nullptr);
    game = std::make_unique<GameSystem>();
    g_game = game.get();
    ASSERT_TRUE(game->Init()) << "the font did not load: run in the game's working directory";
  }

  void TearDown() override {
    if (game) {
      // Screens and graphics go while the context still exists.
      game->Release();
      system->screenManager.Release();
      game.reset();
    }
    g_game = nullptr;
    GLTest::TearDown();
  }

  TarnFramework::Screen* Current() const { return system->screenManager.currentScreen; }
  const char* CurrentName() const { return Current() ? Current()->name : "(none)"; }
  template <class T>
  T* ScreenAt(int slot) const {
    return dynamic_cast<T*>(system->screenManager.screens[slot]);
  }
  CharUnit* Unit(int index) const { return game->barrack.units.At(index); }

  void Move(int x, int y) { TarnFramework::OnCursorPos(nullptr, x, y); }
  void Frame() { system->RunFrame(); }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  // A press and a release over (x, y), each followed by a frame, as the
  // player's click reaches the game.
  void ClickAt(int x, int y, int button = GLFW_MOUSE_BUTTON_LEFT) {
    Move(x, y);
    TarnFramework::OnMouseButton(nullptr, button, GLFW_PRESS, 0);
    Frame();
    TarnFramework::OnMouseButton(nullptr, button, GLFW_RELEASE, 0);
    Frame();
  }
  void Click(const TarnFramework::Widget* widget, int button = GLFW_MOUSE_BUTTON_LEFT) {
    const TarnFramework::Rect r = widget->GetRect();
    ClickAt(r.x + r.width / 2, r.y + r.height / 2, button);
  }
  // Clicks a button and runs the frame in which a requested switch happens.
  void ClickAndSwitch(const TarnFramework::Widget* widget) {
    Click(widget);
    Frame();
  }
  // Clicks line index of a list of 100-pixel lines.
  void ClickLine(const TarnFramework::Listbox* list, int index) {
    const TarnFramework::Rect r = list->GetRect();
    ClickAt(r.x + r.width / 2, r.y + list->lineGap + index * (100 + list->lineGap) + 50);
  }
  // The current screen drawn into the back buffer, without a swap.
  void DrawCurrent() {
    BeginFrame();
    Current()->Draw();
  }
  // Puts a recording graphic into a free slot and points unit index at it.
  RecordingGraphic* RecordUnit(int index, int slot = 10) {
    auto* graphic = new RecordingGraphic;
    game->charGraphics.entries[slot] = graphic;
    Unit(index)->graphicIndex = slot;
    return graphic;
  }

  std::unique_ptr<GameSystem> game;
};

}  // namespace game_test

namespace game_test {

// The first child of parent with this name, or null.
inline TarnFramework::Widget* FindChild(const TarnFramework::Widget* parent, const char* name) {
  for (int32_t i = 0; i < parent->children.count; ++i) {
    if (std::string(parent->children[i]->name) == name) return parent->children[i];
  }
  return nullptr;
}

}  // namespace game_test
