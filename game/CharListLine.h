// CharListLine: one line of a character list: the character's animated
// portrait in a framed box, its name and a short status text.
#pragma once

#include <cstdint>

#include "framework/graphics/Drawer.h"

namespace TarnFramework {
class TextString;
}

class CharUnit;

class CharListLine : public TarnFramework::Drawer {
 public:
  CharListLine() = default;
  ~CharListLine() override;

  void Release() override;
  // A line is not scaled or turned: the transformed draws draw it plainly.
  void DrawPart(int32_t x, int32_t y, double, double, int32_t, int32_t, bool, bool,
                const TarnFramework::Rect&) override {
    Draw(x, y);
  }
  void DrawTransformed(int32_t x, int32_t y, double, double, int32_t, int32_t, bool, bool) override { Draw(x, y); }
  void DrawScaled(int32_t x, int32_t y, double, double) override { Draw(x, y); }
  void DrawScaledUniform(int32_t x, int32_t y, double) override { Draw(x, y); }
  // Advances the portrait animation by one frame.
  void Draw(int32_t x, int32_t y) override;
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  void SetColor(uint32_t) override {}
  void ResetColor() override {}

  int32_t frameCount = 0;
  int32_t margin = 8;
  CharUnit* unit = nullptr;                         // not owned
  TarnFramework::Drawer* reserved = nullptr;        // owned; nothing sets it yet
  TarnFramework::TextString* nameText = nullptr;    // owned
  TarnFramework::TextString* statusText = nullptr;  // owned
  int32_t width = 0;
  int32_t height = 0;
};
