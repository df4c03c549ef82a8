// BarrackListBox: the list of another barrack's entries.
#pragma once

#include <cstdint>

#include "widgets/Listbox.h"

class BarrackListBox : public TarnFramework::Listbox {
 public:
  // The first argument is ignored, as for every widget made this way.
  BarrackListBox(int32_t x, int32_t y, int32_t width, int32_t height) : Listbox(x, y, width, height) {}
  ~BarrackListBox() override = default;

  // Set by the creator; the entries keep their own heights for now.
  int32_t lineHeight = 0;
  int32_t lineMargin = 0;
};
