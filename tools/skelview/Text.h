// Text for the viewer: UTF-8 strings (names in content files may be any
// language) as framework texts, and a glyph cache for the lines that change
// every frame, so they do not make new glyph textures each time.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace TarnFramework {
class Font;
class GlyphDrawer;
class TextString;
}  // namespace TarnFramework

namespace skelview {

// UTF-8 to UTF-16; a malformed byte becomes U+FFFD, characters beyond the
// 16-bit plane become U+FFFD too (a text holds one unit per character).
std::u16string Utf16(const std::string& utf8);

// A framework text for a list line or a label; null without a font.
TarnFramework::TextString* MakeText(TarnFramework::Font* font, const std::string& utf8, uint32_t color);

// The text in lines no wider than width as measure tells it: broken at
// spaces, a word too long for a line between its characters. At most
// maxLines; the last then ends in "...".
std::vector<std::string> WrapText(const std::string& utf8, int32_t width,
                                  const std::function<int32_t(const std::string&)>& measure, size_t maxLines);

class TextPainter {
 public:
  explicit TextPainter(TarnFramework::Font* font) : font_(font) {}
  ~TextPainter();
  TextPainter(const TextPainter&) = delete;
  TextPainter& operator=(const TextPainter&) = delete;

  // Draws the line with its top-left at (x, y); returns its width.
  int32_t Draw(const std::string& utf8, int32_t x, int32_t y, uint32_t color);
  int32_t Width(const std::string& utf8);
  int32_t LineHeight() const;

 private:
  TarnFramework::GlyphDrawer* Glyph(char16_t code);
  TarnFramework::Font* font_;
  std::map<char16_t, TarnFramework::GlyphDrawer*> glyphs_;
};

}  // namespace skelview
