#include "CharListLine.h"

#include "CharGraphic.h"
#include "CharUnit.h"
#include "GameSystem.h"
#include "framework/graphics/Primitives.h"
#include "framework/text/TextString.h"

using namespace TarnFramework;

namespace {

constexpr uint32_t kFill = 0xff967878;
constexpr uint32_t kFrame = 0xff783c0a;

template <class T>
void Free(T*& drawer) {
  if (!drawer) return;
  drawer->Release();
  delete drawer;
  drawer = nullptr;
}

}  // namespace

CharListLine::~CharListLine() { CharListLine::Release(); }

void CharListLine::Release() {
  Free(reserved);
  Free(nameText);
  Free(statusText);
}

void CharListLine::Draw(int32_t x, int32_t y) {
  const int32_t size = height - 2 * margin;
  const Rect portrait{x + margin, y + margin, size, size};
  DrawFramedBox(x, y, width, height, 1, kFill, kFrame);

  CharGraphic* graphic = unit && g_game ? g_game->charGraphics.Find(unit->graphicIndex) : nullptr;
  if (graphic) graphic->DrawPortrait(frameCount, portrait.x, portrait.y, size);
  ++frameCount;

  OutlineRect(portrait, kFrame);
  const int32_t textX = portrait.x + size + margin;
  if (nameText) nameText->Draw(textX, y + margin);
  if (statusText) statusText->Draw(textX, y + height / 2);
}
