#include "CharList.h"

#include "CharListLine.h"
#include "CharUnit.h"
#include "CharUnitManager.h"
#include "GameSystem.h"
#include "framework/text/Font.h"
#include "framework/text/TextString.h"

using namespace TarnFramework;

namespace {

constexpr uint32_t kTextColor = 0xFFFFFFFF;
const char16_t kStatusPlaceholder[] = u"ここに簡易ステータスを表示";

}  // namespace

void CharList::Rebuild() {
  if (!source) return;
  ClearItems();
  lineX = lineGap = lineMargin;
  Font* font = g_game ? g_game->fonts[0] : nullptr;
  for (int32_t i = 0; i < source->Count(); ++i) {
    CharUnit* unit = source->At(i);
    CharListLine* line = new CharListLine;
    if (unit && font && unit->status.name) {
      line->unit = unit;
      line->nameText = font->CreateTextW(unit->status.name, kTextColor);
      line->statusText = font->CreateTextW(kStatusPlaceholder, kTextColor);
    }
    line->width = width - 2 * lineMargin;
    line->height = lineHeight;
    AddItem(line, unit ? unit->key : "");
  }
}
