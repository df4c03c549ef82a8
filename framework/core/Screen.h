/// @class TarnFramework::Screen
/// The root widget of one full-window page. Screens live for the whole
/// run; switching away keeps their state, and OnEnter/OnLeave mark each visit.
#pragma once

#include "framework/core/Widget.h"

namespace TarnFramework {

class ScreenManager;

class Screen : public Widget {
 public:
  Screen() = default;

  /// Called when the screen becomes current, with the one left (null at the first),
  /// and when it stops being current, with the one coming.
  /// @{
  virtual void OnEnter(Screen* previous);
  virtual void OnLeave(Screen* next);
  /// @}

  /// Requests a switch to the first registered screen with this name; an
  /// unknown name is ignored.
  void ChangeScreen(const char* screenName);

  /// The manager the screen is registered with.
  ScreenManager* manager = nullptr;
};

}  // namespace TarnFramework
