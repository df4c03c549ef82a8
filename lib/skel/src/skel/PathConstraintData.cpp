#include "skel/PathConstraintData.h"

namespace skel {

PathConstraintData::PathConstraintData(const String& name)
    : ConstraintData(name),
      _target(nullptr),
      _positionMode(PositionMode::Percent),
      _spacingMode(SpacingMode::Length),
      _rotateMode(RotateMode::Tangent),
      _offsetRotation(0),
      _position(0),
      _spacing(0),
      _rotateMix(1),
      _translateMix(1) {}

}  // namespace skel
