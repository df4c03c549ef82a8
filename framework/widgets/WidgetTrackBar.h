/// @class TarnFramework::WidgetTrackBar
/// A slider holding a value from 0 to 1, dragged with the left
/// button, horizontal or vertical. The list box uses one as its scroll bar.
#pragma once

#include <cstdint>

#include "framework/core/Widget.h"

namespace TarnFramework {

class FoundationDraw;
class FoundationDraw_RimRich;

class WidgetTrackBar : public Widget {
 public:
  /// Sent to the handler when a drag ends, with the cursor given as (-1, -1).
  static constexpr int32_t kEventDragEnded = 12;

  /// A horizontal bar of that size at value 0.
  WidgetTrackBar(int32_t width, int32_t height);
  ~WidgetTrackBar() override;

  /// Deletes the children and the animation, then frees the painters.
  void Release() override;
  bool Update() override;
  bool Draw() override;

  /// Where on the thumb the drag took hold, along the axis.
  int32_t dragOffset = 0;
  /// The owned painters of the track and the thumb.
  /// @{
  FoundationDraw* trackPainter = nullptr;
  FoundationDraw_RimRich* thumbPainter = nullptr;
  /// @}
  /// The thumb's length along the axis, in pixels.
  int32_t thumbLength = 16;
  /// Whether the left button holds the thumb.
  bool dragging = false;
  /// The position, 0 at the start and 1 at the end.
  double value = 0.0;
  /// Whether the bar runs top to bottom.
  bool vertical = false;

 private:
  void FreePainters();
  // Start and length of the bar along its axis, and the cursor on that axis.
  void Axis(int32_t* start, int32_t* length, int32_t* cursor) const;
};

/// The widget under (px, py) in root's subtree: children last to first, deepest
/// first, then root itself; visibility is not considered. Null when none.
Widget* HitTest(Widget* root, int32_t px, int32_t py);

}  // namespace TarnFramework
