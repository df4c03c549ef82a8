#include "skel/TransformConstraintData.h"

namespace skel {

TransformConstraintData::TransformConstraintData(const String& name)
    : ConstraintData(name),
      _target(nullptr),
      _rotateMix(0),
      _translateMix(0),
      _scaleMix(0),
      _shearMix(0),
      _offsetRotation(0),
      _offsetX(0),
      _offsetY(0),
      _offsetScaleX(0),
      _offsetScaleY(0),
      _offsetShearY(0),
      _relative(false),
      _local(false) {}

}  // namespace skel
