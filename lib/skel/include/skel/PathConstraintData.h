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
  explicit PathConstraintData(const String& name);

  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  SlotData* getTarget() const { return _target; }
  void setTarget(SlotData* v) { _target = v; }
  PositionMode getPositionMode() const { return _positionMode; }
  void setPositionMode(PositionMode v) { _positionMode = v; }
  SpacingMode getSpacingMode() const { return _spacingMode; }
  void setSpacingMode(SpacingMode v) { _spacingMode = v; }
  RotateMode getRotateMode() const { return _rotateMode; }
  void setRotateMode(RotateMode v) { _rotateMode = v; }
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

 private:
  Vector<BoneData*> _bones;
  SlotData* _target;
  PositionMode _positionMode;
  SpacingMode _spacingMode;
  RotateMode _rotateMode;
  float _offsetRotation, _position, _spacing, _rotateMix, _translateMix;
};

}  // namespace skel
