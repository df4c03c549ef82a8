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
  /// Bytes of a line's key, the terminator included.
  static constexpr int kKeySize = 128;

  /// One line: what it shows, its key and its height.
  struct Item {
    /// The line's drawable, or null for an empty line.
    Drawer* drawer = nullptr;
    /// The key the program finds the line by.
    char key[kKeySize] = {};
    /// The line's height in pixels.
    int32_t height = 32;
    /// Whether the list frees the drawer.
    bool owned = true;
  };

  /// An empty list of the given size at (0, y).
  /// The first argument is ignored, as for every widget made this way.
  Listbox(int32_t x, int32_t y, int32_t width, int32_t height);
  ~Listbox() override;

  /// Deletes every line and every child, and frees the canvas's GPU objects.
  void Release() override;
  bool Update() override;
  bool Draw() override;
  bool Input() override;
  void SetSize(int32_t width, int32_t height) override;

  /// Appends a line the list owns; key is cut to 127 bytes.
  void AddItem(Drawer* drawer, const char* key);
  /// Deletes every line; the selection index stays, its key pointer is cleared.
  void ClearItems();

  /// The style: fill, frame, the selected line's band, the hovered line's band and one unused colour.
  uint32_t colors[5] = {0xff967878, 0xff783c0a, 0xffa06464, 0xff785a5a, 0x80a57864};
  /// The lines, top first.
  VArrayWithWeight<Item> items;
  /// The selected line and its key (-1 and null for none), and the line under the cursor.
  /// @{
  int32_t selectedIndex = -1;
  const char* selectedKey = nullptr;
  int32_t hoverIndex = -1;
  /// @}
  /// Not read by the framework.
  int32_t reserved[2] = {-1, -1};
  /// The lines' left edge, and the gap above and below each line.
  /// @{
  int32_t lineX = 0;
  int32_t lineGap = 0;
  /// @}
  /// The render target the lines are drawn through, cut at its edges.
  Graphic2D canvas;
  /// The scroll bar (a child), whether the wheel scrolls, and the bar's width.
  /// @{
  WidgetTrackBar* scrollBar = nullptr;
  bool wheelScroll = true;
  int32_t scrollBarWidth = 12;
  /// @}
  /// The first line shown.
  int32_t topIndex = 0;

 private:
  int64_t TotalHeight() const;
  // Absolute rectangle with the cursor test of the hit area (without the bar).
  bool CursorInHitArea(const Rect& r) const;
};

}  // namespace TarnFramework
