/// @class skel::PathConstraintData
/// Setup values of a constraint laying bones along a slot's path attachment.
#pragma once

#include "skel/ConstraintData.h"
#include "skel/PositionMode.h"
#include "skel/RotateMode.h"
#include "skel/SpacingMode.h"
#include "skel/Vector.h"

namespace skel {

class BoneData;
class SlotData;

class PathConstraintData : public ConstraintData {
 public:
  /// The setup values of the constraint named name.
  /// Every number starts at 0; the loader supplies its own defaults.
  explicit PathConstraintData(const String& name);

  /// The bones laid along the path, and the slot whose path attachment they follow.
  /// @{
  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  SlotData* getTarget() const { return _target; }
  void setTarget(SlotData* v) { _target = v; }
  /// @}
  /// How position and spacing are measured, and how the bones turn along the path.
  /// @{
  PositionMode getPositionMode() const { return _positionMode; }
  void setPositionMode(PositionMode v) { _positionMode = v; }
  SpacingMode getSpacingMode() const { return _spacingMode; }
  void setSpacingMode(SpacingMode v) { _spacingMode = v; }
  RotateMode getRotateMode() const { return _rotateMode; }
  void setRotateMode(RotateMode v) { _rotateMode = v; }
  /// @}
  /// The setup values: rotation added to each bone, where the first bone sits,
  /// the space between bones, and how far (0 to 1) rotation and position are pulled.
  /// @{
  float getOffsetRotation() const { return _offsetRotation; }
  void setOffsetRotation(float v) { _offsetRotation = v; }
  float getPosition() const { return _position; }
  void setPosition(float v) { _position = v; }
  float getSpacing() const { return _spacing; }
  void setSpacing(float v) { _spacing = v; }
  float getRotateMix() const { return _rotateMix; }
  void setRotateMix(float v) { _rotateMix = v; }
  float getTranslateMix() const { return _translateMix; }
  void setTranslateMix(float v) { _translateMix = v; }
  /// @}

 private:
  Vector<BoneData*> _bones;
  SlotData* _target;
  PositionMode _positionMode;
  SpacingMode _spacingMode;
  RotateMode _rotateMode;
  float _offsetRotation, _position, _spacing, _rotateMix, _translateMix;
};

}  // namespace skel
