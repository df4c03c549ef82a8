/// @class skel::HasRendererObject
/// A second base that lets the renderer hang its own object on a runtime object.
#pragma once

namespace skel {

/// Frees a renderer object when its holder drops it.
using DisposeRendererObject = void (*)(void* rendererObject);

class HasRendererObject {
 public:
  HasRendererObject() : _rendererObject(nullptr), _dispose(nullptr) {}
  HasRendererObject(const HasRendererObject&) = delete;
  HasRendererObject& operator=(const HasRendererObject&) = delete;
  virtual ~HasRendererObject() {
    if (_dispose && _rendererObject) _dispose(_rendererObject);
  }

  /// The renderer's object (null when none) and the function that disposes of it.
  /// @{
  void* getRendererObject() const { return _rendererObject; }
  DisposeRendererObject getDisposer() const { return _dispose; }
  /// @}

  /// The old object is disposed of first when a disposer is set and the object changes.
  void setRendererObject(void* rendererObject, DisposeRendererObject dispose = nullptr) {
    if (_dispose && _rendererObject && _rendererObject != rendererObject) _dispose(_rendererObject);
    _rendererObject = rendererObject;
    _dispose = dispose;
  }

 private:
  void* _rendererObject;
  DisposeRendererObject _dispose;
};

}  // namespace skel
