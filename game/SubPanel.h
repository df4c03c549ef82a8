// SubPanel: the game's framed panel. It may hold a close button and a closing
// animation that slides it away before it is removed.
#pragma once

#include <cstdint>

#include "framework/widgets/Panel.h"

namespace TarnFramework {
class SimpleButton;
class WidgetAnimeBase;
}  // namespace TarnFramework

class SubPanel : public TarnFramework::Panel {
 public:
  // The first argument is ignored, as for every widget made this way.
  SubPanel(int32_t ignored, int32_t top, int32_t w, int32_t h) : Panel(ignored, top, w, h) {}
  ~SubPanel() override;

  bool OnEvent(int32_t kind, Widget* sender, int32_t x, int32_t y, int64_t param) override;
  void Release() override;
  bool Draw() override;
  // Starts the closing animation, which removes the panel at its end; without
  // one (or once it is running) the panel is removed at once.
  void Close() override;

  TarnFramework::SimpleButton* closeButton = nullptr;          // a child
  TarnFramework::WidgetAnimeBase* closingAnimation = nullptr;  // owned until used
};
