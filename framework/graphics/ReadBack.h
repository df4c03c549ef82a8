/// @file
/// Reading back what was drawn, for screenshots and rendered pictures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/graphics/Drawer.h"

namespace TarnFramework {

/// The area (top-left origin, as everything is drawn) of what is being drawn
/// into now: the innermost render target, or the window. RGBA rows, top row
/// first, so the picture reads as it shows. False when the area is empty or
/// reaches outside the target or window.
bool ReadPixels(const Rect& area, std::vector<uint8_t>& rgba);

/// Writes RGBA rows (top first) as a PNG through the path helpers; false with
/// the reason in why.
bool SavePng(const char* path, const std::vector<uint8_t>& rgba, int32_t width, int32_t height,
             std::string* why = nullptr);

}  // namespace TarnFramework
