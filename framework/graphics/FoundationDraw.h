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
    /// The fill, the frame, and three colours the widgets use as they choose.
    /// @{
    uint32_t fillColor, frameColor, color2, color3, color4;
    /// @}
  };
  /// The widgets' brown and grey style.
  static constexpr Style kDefaultStyle = {0xFF967878, 0xFF783C0A, 0xFFA06464, 0xFF785A5A, 0x80A57864};

  FoundationDraw() = default;
  /// A painter in that style.
  explicit FoundationDraw(const Style& style) { FoundationDraw::SetStyle(style); }
  virtual ~FoundationDraw() = default;

  /// Takes the five colours of style.
  virtual void SetStyle(const Style& style);
  /// DrawBox over the rectangle.
  virtual void DrawRect(const Rect& rect);
  /// Draws the fill with a one-pixel frame around it.
  virtual void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height);

  /// The style's colours, as in Style.
  /// @{
  uint32_t fillColor = kDefaultStyle.fillColor;
  uint32_t frameColor = kDefaultStyle.frameColor;
  uint32_t color2 = kDefaultStyle.color2;
  uint32_t color3 = kDefaultStyle.color3;
  uint32_t color4 = kDefaultStyle.color4;
  /// @}
};

}  // namespace TarnFramework
