#include "GameButtons.h"

#include "GameSystem.h"
#include "framework/text/Font.h"
#include "framework/text/TextString.h"
#include "framework/widgets/SimpleButton.h"

using namespace TarnFramework;

SimpleButton* AddLabelledButton(Widget* screen, int32_t x, int32_t y, int32_t width, int32_t height, int32_t anchor,
                                const char16_t* label) {
  SimpleButton* button = new SimpleButton(x, y, width, height, anchor);
  Font* font = g_game ? g_game->fonts[0] : nullptr;
  if (font) button->SetLabel(font->CreateTextW(label, 0xFFFFFFFF));
  button->handler = screen;
  screen->AddChild(button);
  return button;
}
