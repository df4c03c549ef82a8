/// @class TarnFramework::GraphicManager
/// The window, the size drawing is projected to, and the stack
/// of off-screen render targets currently bound.
#pragma once

#include <cstdint>

#include "framework/core/VArray.h"

struct GLFWwindow;

namespace TarnFramework {

class Graphic2D;

class GraphicManager {
 public:
  GraphicManager();
  GraphicManager(const GraphicManager&) = delete;
  GraphicManager& operator=(const GraphicManager&) = delete;
  virtual ~GraphicManager();

  /// The manager of the live system object (the latest made and not yet
  /// destroyed), or null: how sprites reach the render-target stack without
  /// knowing the system object.
  static GraphicManager* Active();

  /// Destroys the window and terminates GLFW; safe to call again.
  virtual void Release();

  /// Viewport and y-down pixel projection over the whole window.
  void SetWindowProjection() const;

  /// The window, or null before start-up and after Release.
  GLFWwindow* window = nullptr;
  /// The size drawing is projected to: the window's, in pixels.
  /// @{
  int32_t viewportWidth = 1;
  int32_t viewportHeight = 1;
  /// @}
  /// The background colour, 0xAABBGGRR.
  uint32_t clearColor = 0xFF000000;
  /// The render targets drawn into now, innermost last.
  VArray<Graphic2D> renderTargetStack;
};

}  // namespace TarnFramework
