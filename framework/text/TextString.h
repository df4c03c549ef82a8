/// @class TarnFramework::TextString
/// A piece of laid-out text. Characters advance along a baseline;
/// a line feed or the wrap width starts a new line, and each line is as tall
/// as the largest font size on it. Built once, drawn every frame.
#pragma once

#include <cstdint>

#include "framework/core/VArray.h"
#include "framework/graphics/Drawer.h"

namespace TarnFramework {

class Font;

class TextString : public Drawer {
 public:
  /// One character, or one plain drawer placed in the text like a character.
  class SingleChar {
   public:
    SingleChar() = default;
    SingleChar(const SingleChar&) = delete;
    SingleChar& operator=(const SingleChar&) = delete;
    virtual ~SingleChar() { SingleChar::Release(); }
    // Frees the drawer when it belongs to the character.
    virtual void Release();

    bool IsGlyph() const { return code8 != 0 || code16 != 0; }

    char code8 = 0;
    char16_t code16 = 0;
    bool lineBreak = false;
    bool owned = true;
    Drawer* drawer = nullptr;
    int32_t x = 0;
    int32_t y = 0;  ///< offset of its line below the first line
    int32_t advance = 0;
    int32_t lineHeight = 0;
    int32_t value = 0;
  };

  static constexpr int32_t kDefaultWrapWidth = 5000;

  TextString() = default;
  ~TextString() override;

  void Release() override;
  void DrawPart(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool, const Rect&) override {}
  void DrawTransformed(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool) override {}
  void DrawScaled(int32_t, int32_t, double, double) override {}
  void DrawScaledUniform(int32_t, int32_t, double) override {}
  /// (x, y) is the top-left of the text.
  void Draw(int32_t x, int32_t y) override;
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  void SetColor(uint32_t) override {}
  void ResetColor() override {}

  /// Decimal, with a leading minus sign for negatives.
  virtual void AppendNumber(Font* font, int32_t number, uint32_t color, int32_t value);
  virtual void AppendNumber(Font* font, int32_t number, uint32_t color) { AppendNumber(font, number, color, 0); }
  /// UTF-16 units, one character each; stops at a zero unit.
  virtual void AppendTextW(Font* font, const char16_t* text, uint32_t color, int32_t value);
  /// Bytes are read as Latin-1; stops at a zero byte.
  virtual void AppendText(Font* font, const char* text, uint32_t color, int32_t value);
  virtual void AppendTextW(Font* font, const char16_t* text, uint32_t color) { AppendTextW(font, text, color, 0); }
  virtual void AppendText(Font* font, const char* text, uint32_t color) { AppendText(font, text, color, 0); }
  /// A drawer placed like a character, its top-left on the baseline; owned
  /// drawers are released and freed with the text.
  virtual void AddDrawer(Drawer* drawer, int32_t value, bool owned);
  virtual void AddDrawer(Drawer* drawer, bool owned) { AddDrawer(drawer, 0, owned); }
  virtual void AddDrawer(Drawer* drawer, int32_t value) { AddDrawer(drawer, value, true); }
  virtual void AddDrawer(Drawer* drawer) { AddDrawer(drawer, 0, true); }

  /// Places every character; run after each append.
  void Layout();

  VArray<SingleChar> chars;
  int32_t width = 0;
  int32_t height = 0;
  int32_t wrapWidth = kDefaultWrapWidth;
  int32_t firstLineHeight = 0;

 private:
  void AppendGlyph(Font* font, char code8, char16_t code16, uint32_t color, int32_t value);
};

}  // namespace TarnFramework
