// SubPanelCharList: a panel holding a character list and, optionally, a close
// button. Clicks on the list reach the panel's parent with the panel as
// sender, so screens know it by its name.
#pragma once

#include <cstdint>

#include "SubPanel.h"

class CharList;

class SubPanelCharList : public SubPanel {
 public:
  // The first argument is ignored: the panel starts at the left edge.
  SubPanelCharList(int32_t x, int32_t y, int32_t width, int32_t height, bool withCloseButton);
  ~SubPanelCharList() override;

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  void Release() override;
  // Takes 30 % of the viewport's width and the window's height below the
  // panel's top, and rebuilds the list's lines for the new width.
  void OnResize(int32_t width, int32_t height) override;

  // The selected line's key, or null when none is selected.
  const char* SelectedKey() const;

  CharList* charList = nullptr;  // a child

 private:
  // Height taken by the close button above the list.
  int32_t ListTop() const;
};
