#include "Text.h"

#include <algorithm>

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

namespace {

// Where the UTF-8 character after the one at i starts (past the end: size + 1).
size_t NextCharacter(const std::string& utf8, size_t i) {
  for (++i; i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;) ++i;
  return i;
}

void PopCharacter(std::string& utf8) {
  while (!utf8.empty() && (static_cast<unsigned char>(utf8.back()) & 0xC0) == 0x80) utf8.pop_back();
  if (!utf8.empty()) utf8.pop_back();
}

}  // namespace

std::vector<std::string> WrapText(const std::string& utf8, int32_t width,
                                  const std::function<int32_t(const std::string&)>& measure, size_t maxLines) {
  std::vector<std::string> lines;
  std::string line;
  auto fits = [&](const std::string& text) { return measure(text) <= width; };
  auto skipSpaces = [&](size_t from) { return std::min(utf8.find_first_not_of(' ', from), utf8.size()); };
  size_t at = 0;
  while (at < utf8.size() && lines.size() < maxLines) {
    // The next word and the spaces before it.
    const size_t end = std::min(utf8.find(' ', skipSpaces(at)), utf8.size());
    const std::string word = utf8.substr(at, end - at);
    if (fits(line + word)) {
      line += word;
      at = end;
    } else if (!line.empty()) {
      lines.push_back(line);
      line.clear();
      at = skipSpaces(at);
    } else {
      // A word wider than a line: as many whole characters as fit, one at least.
      size_t cut = NextCharacter(utf8, at);
      for (size_t next = NextCharacter(utf8, cut); next <= end && fits(utf8.substr(at, next - at));
           next = NextCharacter(utf8, next))
        cut = next;
      lines.push_back(utf8.substr(at, cut - at));
      at = cut;
    }
  }
  if (!line.empty() && lines.size() < maxLines) lines.push_back(line);
  if (at < utf8.size() && !lines.empty()) {
    std::string& last = lines.back();
    while (!last.empty() && !fits(last + "...")) PopCharacter(last);
    last += "...";
  }
  return lines;
}

}  // namespace skelview
