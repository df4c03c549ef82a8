// CharList: a list box with one CharListLine per character of a unit
// manager; each line's key is its character's key.
#pragma once

#include <cstdint>

#include "framework/widgets/Listbox.h"

class CharUnitManager;

class CharList : public TarnFramework::Listbox {
 public:
  // The first argument is ignored, as for every widget made this way.
  CharList(int32_t ignored, int32_t top, int32_t w, int32_t h) : Listbox(ignored, top, w, h) {}
  ~CharList() override = default;

  // Makes the lines again from source; the selection key is cleared with the
  // old lines. Does nothing without a source.
  void Rebuild();

  CharUnitManager* source = nullptr;  // not owned
  int32_t lineHeight = 100;
  int32_t lineMargin = 4;
};
