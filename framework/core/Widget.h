/// @class TarnFramework::Widget
/// The base of every screen and UI element. A rectangle anchored in its
/// parent, owning its children and one optional position animation; removal is
/// deferred so a widget may close itself from inside its own handler.
#pragma once

#include <cstdint>

#include "framework/core/Rect.h"
#include "framework/core/VArray.h"
#include "framework/core/VArrayWithWeight.h"

namespace TarnFramework {

class WidgetAnimeBase;

/// The corner, edge middle or centre of the parent a widget's x and y count from, inwards.
enum WidgetAnchor : int32_t {
  kAnchorTopLeft = 1,
  kAnchorTopCentre = 2,
  kAnchorTopRight = 4,
  kAnchorRightCentre = 8,
  kAnchorBottomRight = 16,
  kAnchorBottomCentre = 32,
  kAnchorBottomLeft = 64,
  kAnchorLeftCentre = 128,
  kAnchorCentre = 256,
};

/// OnEvent kinds sent by the widget base.
enum WidgetEventKind : int32_t {
  kEventLeftClick = 0,
  kEventRightClick = 1,
};

class Widget {
 public:
  /// Bytes of a widget's name, the terminator included.
  static constexpr int kNameSize = 64;

  Widget() = default;
  /// A widget of the given size at (0, y).
  /// The first argument is ignored: x starts at 0 whatever is passed.
  Widget(int32_t ignored, int32_t y, int32_t width, int32_t height);
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  /// What a child reports to its handler (a click, or a widget's own kind); the base ignores it.
  virtual bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param);
  /// The window's new size; the base does nothing.
  virtual void OnResize(int32_t width, int32_t height);
  virtual ~Widget();
  /// Deletes every child and the animation.
  virtual void Release();
  /// One frame's step, drawing and input for the widget and its visible children.
  /// False from Update or Draw ends the program; false from Input stops input for this frame.
  /// @{
  virtual bool Update();
  virtual bool Draw();
  virtual bool Input();
  /// @}
  /// Asks the parent to remove this widget.
  virtual void Close();
  /// Sets a new width and height.
  virtual void SetSize(int32_t width, int32_t height);

  /// Makes child ours (parent set, weight-0 insertion); the caller sets its handler.
  void AddChild(Widget* child);
  /// Hides target and queues it for deletion; false when not in this subtree.
  bool RemoveChild(Widget* target);
  /// Deletes what RemoveChild queued, deepest first.
  void ApplyPendingChanges();
  /// Copies name with the 64-byte limit.
  void SetName(const char* text);
  /// Replaces the owned animation (null to drop it).
  void SetAnimation(WidgetAnimeBase* anime);

  /// The absolute position (anchor applied) and box, and whether a point lies in it.
  /// @{
  void GetPosition(int32_t* outX, int32_t* outY) const;
  Rect GetRect() const;
  bool Contains(int32_t px, int32_t py) const;
  /// @}
  /// OnResize on every descendant, parents before children.
  void PropagateResize(int32_t width, int32_t height);

  /// The widget that owns this one; null for a screen.
  Widget* parent = nullptr;
  /// Where OnEvent goes; null sends it to the widget itself.
  Widget* handler = nullptr;
  /// The children, drawn in order.
  VArrayWithWeight<Widget> children;
  /// The position from the anchor point, inwards, and the size.
  /// @{
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  /// @}
  /// A WidgetAnchor.
  int32_t anchor = kAnchorTopLeft;
  /// Invisible widgets are not updated, drawn or given input; disabled ones, and their children, get no input.
  /// @{
  bool visible = true;
  bool enabled = true;
  /// @}
  /// A button went down inside: its release inside makes a click.
  /// @{
  bool leftArmed = false;
  bool rightArmed = false;
  /// @}
  /// Children RemoveChild queued, deleted or detached at ApplyPendingChanges.
  /// @{
  VArray<Widget> pendingDelete;
  VArray<Widget> pendingDetach;
  /// @}
  /// The name ChangeScreen and lookups use; set with SetName.
  char name[kNameSize] = {};
  /// The owned position animation, or null.
  WidgetAnimeBase* animation = nullptr;

 private:
  // Sends the click kind, at the position of its release, to the handler.
  bool SendEvent(int32_t kind, int32_t atX, int32_t atY);
};

/// Absolute position of a child rectangle under the parent rectangle by anchor.
void ApplyAnchor(int32_t anchor, const Rect& parentRect, const Rect& childRect, int32_t* outX, int32_t* outY);

}  // namespace TarnFramework
