/// @class skel::PointAttachment
/// A single point with a direction, placed relative to its bone.
#pragma once

#include "skel/Attachment.h"

namespace skel {

class Bone;

class PointAttachment : public Attachment {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit PointAttachment(const String& name);
  ~PointAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  /// The point in world space.
  void computeWorldPosition(const Bone& bone, float& worldX, float& worldY) const;
  /// Degrees in world space.
  float computeWorldRotation(const Bone& bone) const;

  /// Position and rotation (degrees) relative to the bone.
  /// @{
  float getX() const { return _x; }
  void setX(float v) { _x = v; }
  float getY() const { return _y; }
  void setY(float v) { _y = v; }
  float getRotation() const { return _rotation; }
  void setRotation(float v) { _rotation = v; }
  /// @}

 private:
  float _x, _y, _rotation;
};

}  // namespace skel
