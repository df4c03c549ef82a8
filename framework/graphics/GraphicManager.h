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

  GLFWwindow* window = nullptr;
  int32_t viewportWidth = 1;
  int32_t viewportHeight = 1;
  uint32_t clearColor = 0xFF000000;
  VArray<Graphic2D> renderTargetStack;
};

}  // namespace TarnFramework
