#include "Text.h"

#include "framework/text/Font.h"
#include "framework/text/GlyphDrawer.h"
#include "framework/text/TextString.h"

namespace skelview {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
// Distinct characters kept; past that, new ones are made and dropped per draw.
constexpr size_t kMaxCachedGlyphs = 1024;

}  // namespace

std::u16string Utf16(const std::string& utf8) {
  std::u16string out;
  const size_t n = utf8.size();
  for (size_t i = 0; i < n;) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      length = 1;
      code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      code = lead & 0x07;
    }
    bool valid = length > 0 && i + length <= n;
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      out += kReplacement;
      ++i;
      continue;
    }
    out +=
        code == 0 || code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF) ? kReplacement : static_cast<char16_t>(code);
    i += length;
  }
  return out;
}

TarnFramework::TextString* MakeText(TarnFramework::Font* font, const std::string& utf8, uint32_t color) {
  if (!font) return nullptr;
  return font->CreateTextW(Utf16(utf8).c_str(), color);
}

TextPainter::~TextPainter() {
  for (auto& entry : glyphs_) delete entry.second;
}

TarnFramework::GlyphDrawer* TextPainter::Glyph(char16_t code) {
  auto found = glyphs_.find(code);
  if (found != glyphs_.end()) return found->second;
  if (!font_ || glyphs_.size() >= kMaxCachedGlyphs) return nullptr;
  TarnFramework::GlyphDrawer* glyph = font_->CreateGlyph(code, 0xFFFFFFFF);
  glyphs_[code] = glyph;
  return glyph;
}

int32_t TextPainter::LineHeight() const { return font_ ? font_->pixelSize : 0; }

int32_t TextPainter::Width(const std::string& utf8) {
  int32_t width = 0;
  for (char16_t code : Utf16(utf8)) {
    if (TarnFramework::GlyphDrawer* glyph = Glyph(code)) width += glyph->advance;
  }
  return width;
}

int32_t TextPainter::Draw(const std::string& utf8, int32_t x, int32_t y, uint32_t color) {
  const int32_t baseline = y + LineHeight();
  int32_t pen = x;
  for (char16_t code : Utf16(utf8)) {
    TarnFramework::GlyphDrawer* glyph = Glyph(code);
    if (!glyph) continue;
    glyph->SetColor(color);
    glyph->Draw(pen, baseline);
    pen += glyph->advance;
  }
  return pen - x;
}

}  // namespace skelview
