/// @class TarnFramework::Listbox
/// A vertical list of drawable lines with text keys, drawn through its
/// own canvas so lines scrolled half out are cut at its edges. Highlights the
/// line under the cursor and the selected one, scrolls by wheel and scroll bar.
#pragma once

#include <cstdint>

#include "framework/core/VArrayWithWeight.h"
#include "framework/core/Widget.h"
#include "framework/graphics/Graphic2D.h"

namespace TarnFramework {

class Drawer;
class WidgetTrackBar;

class Listbox : public Widget {
 public:
  static constexpr int kKeySize = 128;

  struct Item {
    Drawer* drawer = nullptr;
    char key[kKeySize] = {};
    int32_t height = 32;
    bool owned = true;
  };

  /// The first argument is ignored, as for every widget made this way.
  Listbox(int32_t x, int32_t y, int32_t width, int32_t height);
  ~Listbox() override;

  void Release() override;
  bool Update() override;
  bool Draw() override;
  bool Input() override;
  void SetSize(int32_t width, int32_t height) override;

  /// Appends a line the list owns; key is cut to 127 bytes.
  void AddItem(Drawer* drawer, const char* key);
  /// Deletes every line; the selection index stays, its key pointer is cleared.
  void ClearItems();

  uint32_t colors[5] = {0xff967878, 0xff783c0a, 0xffa06464, 0xff785a5a, 0x80a57864};
  VArrayWithWeight<Item> items;
  int32_t selectedIndex = -1;
  const char* selectedKey = nullptr;
  int32_t hoverIndex = -1;
  int32_t reserved[2] = {-1, -1};
  int32_t lineX = 0;
  int32_t lineGap = 0;
  Graphic2D canvas;
  WidgetTrackBar* scrollBar = nullptr;
  bool wheelScroll = true;
  int32_t scrollBarWidth = 12;
  int32_t topIndex = 0;

 private:
  int64_t TotalHeight() const;
  // Absolute rectangle with the cursor test of the hit area (without the bar).
  bool CursorInHitArea(const Rect& r) const;
};

}  // namespace TarnFramework
