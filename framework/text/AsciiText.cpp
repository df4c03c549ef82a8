#include "framework/text/AsciiText.h"

#include "framework/text/Font.h"
#include "framework/text/GlyphDrawer.h"

namespace TarnFramework {

void AsciiText::SingleChar::Release() {
  if (drawer) {
    drawer->Release();
    delete drawer;
    drawer = nullptr;
  }
}

void AsciiText::Release() {
  for (SingleChar& entry : entries) entry.Release();
}

bool AsciiText::Init(Font* font) {
  if (!font) return false;
  // Init twice must not leak the first set of glyphs.
  Release();
  for (int code = 32; code <= 126; ++code) {
    SingleChar& entry = entries[code];
    entry.code = static_cast<char>(code);
    entry.drawer = font->CreateGlyph(static_cast<char16_t>(code), 0xFFFFFFFF);
    if (entry.drawer) {
      entry.width = entry.drawer->width;
      entry.height = entry.drawer->height;
    }
  }
  const SingleChar& capital = entries['A'];
  capHeight = capital.height;
  entries['\n'].lineBreak = true;
  capBearingY = capital.drawer ? capital.drawer->bearingY : 0;
  return true;
}

}  // namespace TarnFramework
