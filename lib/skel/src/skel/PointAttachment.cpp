#include "skel/PointAttachment.h"

#include "skel/Bone.h"
#include "skel/MathUtil.h"

namespace skel {

SKEL_RTTI_IMPL(PointAttachment, Attachment)

PointAttachment::PointAttachment(const String& name) : Attachment(name), _x(0), _y(0), _rotation(0) {}

PointAttachment::~PointAttachment() {}

void PointAttachment::computeWorldPosition(const Bone& bone, float& worldX, float& worldY) const {
  bone.localToWorld(_x, _y, worldX, worldY);
}

float PointAttachment::computeWorldRotation(const Bone& bone) const {
  const float cos = MathUtil::cosDeg(_rotation), sin = MathUtil::sinDeg(_rotation);
  const float x = cos * bone.getA() + sin * bone.getB();
  const float y = cos * bone.getC() + sin * bone.getD();
  return MathUtil::atan2(y, x) * MathUtil::RadDeg;
}

Attachment* PointAttachment::copy() {
  PointAttachment* copy = new (__FILE__, __LINE__) PointAttachment(getName());
  copy->_x = _x;
  copy->_y = _y;
  copy->_rotation = _rotation;
  return copy;
}

}  // namespace skel
