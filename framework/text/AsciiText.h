/// @class TarnFramework::AsciiText
/// Pre-rendered glyphs for the printable ASCII codes of one font
/// size, indexed by character code.
#pragma once

#include <cstdint>

namespace TarnFramework {

class Font;
class GlyphDrawer;

class AsciiText {
 public:
  static constexpr int kEntryCount = 127;

  class SingleChar {
   public:
    SingleChar() = default;
    SingleChar(const SingleChar&) = delete;
    SingleChar& operator=(const SingleChar&) = delete;
    virtual ~SingleChar() { SingleChar::Release(); }
    virtual void Release();

    char code = 0;
    GlyphDrawer* drawer = nullptr;  ///< owned
    bool lineBreak = false;
    int32_t width = 0;
    int32_t height = 0;
  };

  AsciiText() = default;
  AsciiText(const AsciiText&) = delete;
  AsciiText& operator=(const AsciiText&) = delete;
  virtual ~AsciiText() { AsciiText::Release(); }
  /// Frees every glyph.
  virtual void Release();

  /// Renders codes 32 to 126 in white; false for a null font.
  bool Init(Font* font);

  SingleChar entries[kEntryCount];
  int32_t capBearingY = 0;  ///< bearingY of 'A'
  uint8_t flags = 0;
  int32_t capHeight = 0;  ///< bitmap height of 'A'
};

}  // namespace TarnFramework
