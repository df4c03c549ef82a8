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
  /// One entry per code below 127.
  static constexpr int kEntryCount = 127;

  /// One character's glyph and size.
  class SingleChar {
   public:
    SingleChar() = default;
    SingleChar(const SingleChar&) = delete;
    SingleChar& operator=(const SingleChar&) = delete;
    virtual ~SingleChar() { SingleChar::Release(); }
    /// Frees the glyph.
    virtual void Release();

    /// The character code.
    char code = 0;
    GlyphDrawer* drawer = nullptr;  ///< The glyph's sprite, owned.
    /// True for the line feed, which has no glyph.
    bool lineBreak = false;
    /// The glyph's size in pixels.
    /// @{
    int32_t width = 0;
    int32_t height = 0;
    /// @}
  };

  AsciiText() = default;
  AsciiText(const AsciiText&) = delete;
  AsciiText& operator=(const AsciiText&) = delete;
  virtual ~AsciiText() { AsciiText::Release(); }
  /// Frees every glyph.
  virtual void Release();

  /// Renders codes 32 to 126 in white; false for a null font.
  bool Init(Font* font);

  /// The glyphs by character code; codes without one have no drawer.
  SingleChar entries[kEntryCount];
  int32_t capBearingY = 0;  ///< The bearingY of 'A'.
  /// Not used by the framework; kept for programs that mark the set.
  uint8_t flags = 0;
  int32_t capHeight = 0;  ///< The bitmap height of 'A'.
};

}  // namespace TarnFramework
