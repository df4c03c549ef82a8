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
  static constexpr int kNameSize = 64;

  Widget() = default;
  /// The first argument is ignored: x starts at 0 whatever is passed.
  Widget(int32_t ignored, int32_t y, int32_t width, int32_t height);
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;

  virtual bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param);
  virtual void OnResize(int32_t width, int32_t height);
  virtual ~Widget();
  virtual void Release();
  virtual bool Update();
  virtual bool Draw();
  virtual bool Input();
  virtual void Close();
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

  void GetPosition(int32_t* outX, int32_t* outY) const;
  Rect GetRect() const;
  bool Contains(int32_t px, int32_t py) const;
  /// OnResize on every descendant, parents before children.
  void PropagateResize(int32_t width, int32_t height);

  Widget* parent = nullptr;
  Widget* handler = nullptr;
  VArrayWithWeight<Widget> children;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t anchor = kAnchorTopLeft;
  bool visible = true;
  bool enabled = true;
  bool leftArmed = false;
  bool rightArmed = false;
  VArray<Widget> pendingDelete;
  VArray<Widget> pendingDetach;
  char name[kNameSize] = {};
  WidgetAnimeBase* animation = nullptr;

 private:
  // Sends the click kind, at the position of its release, to the handler.
  bool SendEvent(int32_t kind, int32_t atX, int32_t atY);
};

/// Absolute position of a child rectangle under the parent rectangle by anchor.
void ApplyAnchor(int32_t anchor, const Rect& parentRect, const Rect& childRect, int32_t* outX, int32_t* outY);

}  // namespace TarnFramework
