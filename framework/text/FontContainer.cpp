#include "framework/text/FontContainer.h"

#include <cstring>

#include "framework/text/Font.h"

namespace TarnFramework {

void FontContainer::Release() {
  for (int32_t i = 0; i < count && fonts; ++i) {
    if (fonts[i]) {
      fonts[i]->Release();
      delete fonts[i];
    }
  }
  delete[] fonts;
  fonts = nullptr;
  count = minSize = maxSize = defaultSize = 0;
  path[0] = '\0';
}

void FontContainer::Setup(const char* fontPath) {
  Release();
  count = 31;
  minSize = 12;
  maxSize = 42;
  defaultSize = 12;
  fonts = new Font*[count]();
  // A cut-off path would name another file; an over-long one opens nothing.
  if (fontPath && std::strlen(fontPath) < kPathSize) std::strcpy(path, fontPath);
}

Font** FontContainer::Slot(int32_t size) {
  if (!fonts || size < minSize || size > maxSize || size - minSize >= count) return nullptr;
  return &fonts[size - minSize];
}

bool FontContainer::Preload(int32_t size, std::string* why) { return GetFont(size, why) != nullptr; }

Font* FontContainer::GetFont(int32_t size, std::string* why) {
  Font** slot = Slot(size);
  if (!slot) {
    if (why) *why = "no font of size " + std::to_string(size);
    return nullptr;
  }
  if (!*slot) {
    Font* font = new Font;
    if (font->Open(path, size, why)) {
      *slot = font;
    } else {
      delete font;
    }
  }
  return *slot;
}

}  // namespace TarnFramework
