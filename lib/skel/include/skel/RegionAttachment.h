/// @class skel::RegionAttachment
/// A textured quad placed relative to its bone, cut from an atlas region.
#pragma once

#include <cstddef>

#include "skel/Attachment.h"
#include "skel/Color.h"
#include "skel/HasRendererObject.h"
#include "skel/Vector.h"

namespace skel {

class Bone;

class RegionAttachment : public Attachment, public HasRendererObject {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit RegionAttachment(const String& name);
  ~RegionAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  /// Recomputes the four corners in bone space from the fields below; run it
  /// after changing any of them.
  void updateOffset();

  /// Corners in the order bottom-right, bottom-left, upper-left, upper-right,
  /// the i-th written at offset + i * stride.
  void computeWorldVertices(Bone& bone, float* worldVertices, size_t offset, size_t stride = 2) const;
  /// The same, dropping whatever would fall outside the output vector.
  void computeWorldVertices(Bone& bone, Vector<float>& worldVertices, size_t offset, size_t stride = 2) const;

  /// The eight texture coordinates for an atlas rectangle, in the corner order above.
  void setUVs(float uMin, float vMin, float uMax, float vMax, bool rotate);

  /// The quad's placement relative to the bone and its size; updateOffset applies changes.
  /// @{
  float getX() const { return _x; }
  void setX(float v) { _x = v; }
  float getY() const { return _y; }
  void setY(float v) { _y = v; }
  float getRotation() const { return _rotation; }
  void setRotation(float v) { _rotation = v; }
  float getScaleX() const { return _scaleX; }
  void setScaleX(float v) { _scaleX = v; }
  float getScaleY() const { return _scaleY; }
  void setScaleY(float v) { _scaleY = v; }
  float getWidth() const { return _width; }
  void setWidth(float v) { _width = v; }
  float getHeight() const { return _height; }
  void setHeight(float v) { _height = v; }
  /// @}
  /// The atlas region: its offset and size once whitespace was stripped, and its size before.
  /// @{
  float getRegionOffsetX() const { return _regionOffsetX; }
  void setRegionOffsetX(float v) { _regionOffsetX = v; }
  float getRegionOffsetY() const { return _regionOffsetY; }
  void setRegionOffsetY(float v) { _regionOffsetY = v; }
  float getRegionWidth() const { return _regionWidth; }
  void setRegionWidth(float v) { _regionWidth = v; }
  float getRegionHeight() const { return _regionHeight; }
  void setRegionHeight(float v) { _regionHeight = v; }
  float getRegionUntrimmedWidth() const { return _regionUntrimmedWidth; }
  void setRegionUntrimmedWidth(float v) { _regionUntrimmedWidth = v; }
  float getRegionUntrimmedHeight() const { return _regionUntrimmedHeight; }
  void setRegionUntrimmedHeight(float v) { _regionUntrimmedHeight = v; }
  /// @}
  /// The four corners in bone space (by updateOffset) and their texture coordinates (by setUVs).
  /// @{
  Vector<float>& getOffset() { return _offset; }
  const Vector<float>& getOffset() const { return _offset; }
  Vector<float>& getUVs() { return _uvs; }
  const Vector<float>& getUVs() const { return _uvs; }
  /// @}
  /// The region's name in the atlas, and the tint.
  /// @{
  const String& getPath() const { return _path; }
  void setPath(const String& v) { _path = v; }
  Color& getColor() { return _color; }
  const Color& getColor() const { return _color; }
  /// @}

 private:
  float _x, _y, _rotation, _scaleX, _scaleY, _width, _height;
  float _regionOffsetX, _regionOffsetY, _regionWidth, _regionHeight;
  float _regionUntrimmedWidth, _regionUntrimmedHeight;
  Vector<float> _offset;
  Vector<float> _uvs;
  String _path;
  Color _color;
};

}  // namespace skel
