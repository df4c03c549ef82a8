#include "framework/text/TextString.h"

#include <algorithm>
#include <cstdio>

#include "framework/text/Font.h"
#include "framework/text/GlyphDrawer.h"

namespace TarnFramework {

namespace {

constexpr char16_t kLineFeed = 10;

// How far the glyph's bitmap reaches below the baseline.
int32_t Descent(const TextString::SingleChar& c) {
  if (!c.IsGlyph() || !c.drawer) return 0;
  const GlyphDrawer* glyph = static_cast<const GlyphDrawer*>(c.drawer);
  return std::max(0, glyph->height - glyph->bearingY);
}

int32_t Advance(const TextString::SingleChar& c) {
  if (!c.drawer) return 0;
  if (c.IsGlyph()) return static_cast<const GlyphDrawer*>(c.drawer)->advance;
  return c.drawer->GetWidth();
}

}  // namespace

void TextString::SingleChar::Release() {
  if (owned && drawer) {
    drawer->Release();
    delete drawer;
  }
  drawer = nullptr;
}

TextString::~TextString() { TextString::Release(); }

void TextString::Release() {
  for (int32_t i = 0; i < chars.count; ++i) delete chars[i];
  chars.Clear();
  width = height = 0;
}

void TextString::AppendGlyph(Font* font, char code8, char16_t code16, uint32_t color, int32_t value) {
  SingleChar* c = new SingleChar;
  c->value = value;
  if ((code16 ? code16 : static_cast<unsigned char>(code8)) == kLineFeed) {
    c->lineBreak = true;
  } else {
    c->code8 = code8;
    c->code16 = code16;
    GlyphDrawer* glyph = font ? font->CreateGlyph(code16 ? code16 : static_cast<unsigned char>(code8), color) : nullptr;
    c->drawer = glyph;
    if (glyph) {
      c->advance = glyph->advance;
      c->lineHeight = glyph->fontSize;
    }
  }
  chars.Push(c);
}

void TextString::AppendText(Font* font, const char* text, uint32_t color, int32_t value) {
  for (const char* p = text; p && *p; ++p) AppendGlyph(font, *p, 0, color, value);
  Layout();
}

void TextString::AppendTextW(Font* font, const char16_t* text, uint32_t color, int32_t value) {
  for (const char16_t* p = text; p && *p; ++p) AppendGlyph(font, 0, *p, color, value);
  Layout();
}

void TextString::AppendNumber(Font* font, int32_t number, uint32_t color, int32_t value) {
  char digits[128];
  std::snprintf(digits, sizeof digits, "%d", static_cast<int>(number));
  AppendText(font, digits, color, value);
}

void TextString::AddDrawer(Drawer* drawer, int32_t value, bool owned) {
  SingleChar* c = new SingleChar;
  c->drawer = drawer;
  c->owned = owned;
  c->value = value;
  if (drawer) {
    c->advance = drawer->GetWidth();
    c->lineHeight = drawer->GetHeight();
  }
  chars.Push(c);
  Layout();
}

void TextString::Draw(int32_t x, int32_t y) {
  for (int32_t i = 0; i < chars.count; ++i) {
    const SingleChar* c = chars[i];
    if (c->drawer) c->drawer->Draw(x + c->x, y + firstLineHeight + c->y);
  }
}

// NOTE: an empty line adds no height and an empty first line is dropped: the
// next line with something on it becomes the first line.
void TextString::Layout() {
  if (chars.count == 0) return;
  width = height = firstLineHeight = 0;
  int32_t penX = 0, lineTop = 0, lineHeight = 0, lineDescent = 0, previousDescent = 0, lineStart = 0;

  auto endLine = [&](int32_t end) {
    if (firstLineHeight > 0) {
      lineTop += previousDescent + lineHeight;
      for (int32_t k = lineStart; k < end; ++k) chars[k]->y = lineTop;
    } else {
      firstLineHeight = lineHeight;
      // Characters may sit on a later line from an earlier layout.
      for (int32_t k = lineStart; k < end; ++k) chars[k]->y = 0;
    }
    width = std::max(width, penX);
    previousDescent = lineDescent;
    lineDescent = penX = lineHeight = 0;
    lineStart = end;
  };

  for (int32_t j = 0; j < chars.count; ++j) {
    SingleChar& c = *chars[j];
    if (c.lineBreak) {
      endLine(j);
      continue;
    }
    const int32_t adv = Advance(c);
    if (penX + adv > wrapWidth) endLine(j);
    lineHeight = std::max(lineHeight, c.lineHeight);
    c.x = penX;
    penX += adv;
    lineDescent = std::max(lineDescent, Descent(c));
  }
  const int32_t lastDescent = lineDescent;
  endLine(chars.count);
  height = firstLineHeight + lineTop + lastDescent;
}

}  // namespace TarnFramework
