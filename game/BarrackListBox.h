// BarrackListBox: the list of another barrack's entries.
#pragma once

#include <cstdint>

#include "framework/widgets/Listbox.h"

class BarrackListBox : public TarnFramework::Listbox {
 public:
  // The first argument is ignored, as for every widget made this way.
  BarrackListBox(int32_t ignored, int32_t top, int32_t w, int32_t h) : Listbox(ignored, top, w, h) {}
  ~BarrackListBox() override = default;

  // Set by the creator; the entries keep their own heights for now.
  int32_t lineHeight = 0;
  int32_t lineMargin = 0;
};
