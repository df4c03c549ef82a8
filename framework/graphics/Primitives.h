/// @file
/// Flat, untextured rectangles for the interface: fills, one-pixel outlines and
/// framed boxes. Colours are 0xAABBGGRR words or separate bytes.
#pragma once

#include <cstdint>

#include "framework/graphics/Drawer.h"

namespace TarnFramework {

/// The rectangle filled, or its one-pixel outline, in one colour.
/// @{
void FillRect(const Rect& rect, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
void OutlineRect(const Rect& rect, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
void FillRect(const Rect& rect, uint32_t rgba);
void OutlineRect(const Rect& rect, uint32_t rgba);
/// @}

/// A straight line between two points (any position, not only whole pixels),
/// lineWidth pixels wide.
void DrawLine(float x0, float y0, float x1, float y1, uint32_t rgba, float lineWidth = 1.0f);

/// A band frameWidth wide in frameColor around an interior in fillColor.
void DrawFramedBox(int32_t x, int32_t y, int32_t width, int32_t height, int32_t frameWidth, uint32_t fillColor,
                   uint32_t frameColor);

}  // namespace TarnFramework
