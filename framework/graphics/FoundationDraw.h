/// @class TarnFramework::FoundationDraw
/// Paints framed boxes in a five-colour widget style (fill,
/// frame, and three colours the widgets carry for their own use).
#pragma once

#include <cstdint>

#include "framework/graphics/Drawer.h"

namespace TarnFramework {

class FoundationDraw {
 public:
  /// The five style words, in the order SetStyle reads them.
  struct Style {
    uint32_t fillColor, frameColor, color2, color3, color4;
  };
  static constexpr Style kDefaultStyle = {0xFF967878, 0xFF783C0A, 0xFFA06464, 0xFF785A5A, 0x80A57864};

  FoundationDraw() = default;
  explicit FoundationDraw(const Style& style) { FoundationDraw::SetStyle(style); }
  virtual ~FoundationDraw() = default;

  virtual void SetStyle(const Style& style);
  virtual void DrawRect(const Rect& rect);
  /// A one-pixel frame around the fill.
  virtual void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height);

  uint32_t fillColor = kDefaultStyle.fillColor;
  uint32_t frameColor = kDefaultStyle.frameColor;
  uint32_t color2 = kDefaultStyle.color2;
  uint32_t color3 = kDefaultStyle.color3;
  uint32_t color4 = kDefaultStyle.color4;
};

}  // namespace TarnFramework
