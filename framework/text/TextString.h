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
    /// Frees the drawer when it belongs to the character.
    virtual void Release();

    /// Whether it is a character of a font rather than a placed drawer.
    bool IsGlyph() const { return code8 != 0 || code16 != 0; }

    /// The character: a byte or a UTF-16 unit (the other is 0), and whether it is a line feed.
    /// @{
    char code8 = 0;
    char16_t code16 = 0;
    bool lineBreak = false;
    /// @}
    /// Whether the text frees the drawer, and the drawer: the glyph or the placed one.
    /// @{
    bool owned = true;
    Drawer* drawer = nullptr;
    /// @}
    /// Offset from the line's start, set by Layout.
    int32_t x = 0;
    int32_t y = 0;  ///< Offset of its line below the first line.
    /// How far the pen moves past it, and its line height.
    /// @{
    int32_t advance = 0;
    int32_t lineHeight = 0;
    /// @}
    /// A number the caller attached when appending; the text does not read it.
    int32_t value = 0;
  };

  /// Wide enough that a text does not wrap unless told to.
  static constexpr int32_t kDefaultWrapWidth = 5000;

  TextString() = default;
  ~TextString() override;

  /// Frees every character.
  void Release() override;
  /// A text is not cut, scaled or turned: these draw nothing.
  /// @{
  void DrawPart(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool, const Rect&) override {}
  void DrawTransformed(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool) override {}
  void DrawScaled(int32_t, int32_t, double, double) override {}
  void DrawScaledUniform(int32_t, int32_t, double) override {}
  /// @}
  /// Draws the text with its top-left at (x, y).
  void Draw(int32_t x, int32_t y) override;
  int32_t GetWidth() override { return width; }
  int32_t GetHeight() override { return height; }
  /// Each character keeps the colour it was appended in: these do nothing.
  /// @{
  void SetColor(uint32_t) override {}
  void ResetColor() override {}
  /// @}

  /// Appends the number as characters, each carrying value.
  /// Decimal, with a leading minus sign for negatives.
  /// @{
  virtual void AppendNumber(Font* font, int32_t number, uint32_t color, int32_t value);
  virtual void AppendNumber(Font* font, int32_t number, uint32_t color) { AppendNumber(font, number, color, 0); }
  /// @}
  /// Appends the text in one colour, each character carrying value.
  /// UTF-16 units, one character each; stops at a zero unit.
  virtual void AppendTextW(Font* font, const char16_t* text, uint32_t color, int32_t value);
  /// The same for bytes, read as Latin-1; stops at a zero byte.
  virtual void AppendText(Font* font, const char* text, uint32_t color, int32_t value);
  /// As above with value 0.
  /// @{
  virtual void AppendTextW(Font* font, const char16_t* text, uint32_t color) { AppendTextW(font, text, color, 0); }
  virtual void AppendText(Font* font, const char* text, uint32_t color) { AppendText(font, text, color, 0); }
  /// @}
  /// A drawer placed like a character, its top-left on the baseline; owned
  /// drawers are released and freed with the text.
  virtual void AddDrawer(Drawer* drawer, int32_t value, bool owned);
  /// As above, value 0 and owned unless said.
  /// @{
  virtual void AddDrawer(Drawer* drawer, bool owned) { AddDrawer(drawer, 0, owned); }
  virtual void AddDrawer(Drawer* drawer, int32_t value) { AddDrawer(drawer, value, true); }
  virtual void AddDrawer(Drawer* drawer) { AddDrawer(drawer, 0, true); }
  /// @}

  /// Places every character; run after each append.
  void Layout();

  /// The characters in order.
  VArray<SingleChar> chars;
  /// The laid-out size in pixels.
  /// @{
  int32_t width = 0;
  int32_t height = 0;
  /// @}
  /// Lines break before a character that would end past this width.
  int32_t wrapWidth = kDefaultWrapWidth;
  /// The height of the first line, whose baseline the layout starts from.
  int32_t firstLineHeight = 0;

 private:
  void AppendGlyph(Font* font, char code8, char16_t code16, uint32_t color, int32_t value);
};

}  // namespace TarnFramework
