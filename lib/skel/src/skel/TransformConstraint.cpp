#include "skel/TransformConstraint.h"

#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/MathUtil.h"
#include "skel/Skeleton.h"
#include "skel/TransformConstraintData.h"

namespace skel {

SKEL_RTTI_IMPL(TransformConstraint, Updatable)

namespace {

// Turns the bone's world matrix by r radians.
void rotateMatrix(Bone& bone, float r) {
  const float cos = MathUtil::cos(r), sin = MathUtil::sin(r);
  const float a = bone.getA(), b = bone.getB(), c = bone.getC(), d = bone.getD();
  bone.setA(cos * a - sin * c);
  bone.setB(cos * b - sin * d);
  bone.setC(sin * a + cos * c);
  bone.setD(sin * b + cos * d);
}

}  // namespace

TransformConstraint::TransformConstraint(TransformConstraintData& data, Skeleton& skeleton)
    : _data(data),
      _target(data.getTarget() ? skeleton.findBone(data.getTarget()->getName()) : nullptr),
      _rotateMix(data.getRotateMix()),
      _translateMix(data.getTranslateMix()),
      _scaleMix(data.getScaleMix()),
      _shearMix(data.getShearMix()),
      _active(false) {
  const Vector<BoneData*>& bones = data.getBones();
  _bones.ensureCapacity(bones.size());
  for (size_t i = 0; i < bones.size(); ++i) {
    Bone* bone = bones[i] ? skeleton.findBone(bones[i]->getName()) : nullptr;
    if (bone) _bones.add(bone);
  }
}

TransformConstraint::~TransformConstraint() {}

int TransformConstraint::getOrder() const { return static_cast<int>(_data.getOrder()); }

void TransformConstraint::update() {
  // Without bones there is nothing to move, not even the target's applied values.
  if (!_target || _bones.isEmpty()) return;
  if (_data.isLocal()) {
    if (_data.isRelative())
      applyRelativeLocal();
    else
      applyAbsoluteLocal();
  } else {
    if (_data.isRelative())
      applyRelativeWorld();
    else
      applyAbsoluteWorld();
  }
}

void TransformConstraint::applyAbsoluteWorld() {
  const Bone& target = *_target;
  const float ta = target.getA(), tb = target.getB(), tc = target.getC(), td = target.getD();
  // A mirrored target turns the other way.
  const float degRadReflect = ta * td - tb * tc > 0 ? MathUtil::DegRad : -MathUtil::DegRad;
  const float offsetRotation = _data.getOffsetRotation() * degRadReflect;
  const float offsetShearY = _data.getOffsetShearY() * degRadReflect;

  for (size_t i = 0; i < _bones.size(); ++i) {
    Bone& bone = *_bones[i];
    bool modified = false;
    if (_rotateMix != 0) {
      const float r =
          MathUtil::wrapRadians(MathUtil::atan2(tc, ta) - MathUtil::atan2(bone.getC(), bone.getA()) + offsetRotation);
      rotateMatrix(bone, r * _rotateMix);
      modified = true;
    }
    if (_translateMix != 0) {
      float tx, ty;
      target.localToWorld(_data.getOffsetX(), _data.getOffsetY(), tx, ty);
      bone.setWorldX(bone.getWorldX() + (tx - bone.getWorldX()) * _translateMix);
      bone.setWorldY(bone.getWorldY() + (ty - bone.getWorldY()) * _translateMix);
      modified = true;
    }
    if (_scaleMix > 0) {
      float s = MathUtil::sqrt(bone.getA() * bone.getA() + bone.getC() * bone.getC());
      if (s > 0.00001f) s = (s + (MathUtil::sqrt(ta * ta + tc * tc) - s + _data.getOffsetScaleX()) * _scaleMix) / s;
      bone.setA(bone.getA() * s);
      bone.setC(bone.getC() * s);
      s = MathUtil::sqrt(bone.getB() * bone.getB() + bone.getD() * bone.getD());
      if (s > 0.00001f) s = (s + (MathUtil::sqrt(tb * tb + td * td) - s + _data.getOffsetScaleY()) * _scaleMix) / s;
      bone.setB(bone.getB() * s);
      bone.setD(bone.getD() * s);
      modified = true;
    }
    if (_shearMix > 0) {
      const float b = bone.getB(), d = bone.getD();
      const float by = MathUtil::atan2(d, b);
      float r = MathUtil::wrapRadians(MathUtil::atan2(td, tb) - MathUtil::atan2(tc, ta) -
                                      (by - MathUtil::atan2(bone.getC(), bone.getA())));
      r = by + (r + offsetShearY) * _shearMix;
      const float s = MathUtil::sqrt(b * b + d * d);
      bone.setB(MathUtil::cos(r) * s);
      bone.setD(MathUtil::sin(r) * s);
      modified = true;
    }
    if (modified) bone.setAppliedValid(false);
  }
}

void TransformConstraint::applyRelativeWorld() {
  const Bone& target = *_target;
  const float ta = target.getA(), tb = target.getB(), tc = target.getC(), td = target.getD();
  const float degRadReflect = ta * td - tb * tc > 0 ? MathUtil::DegRad : -MathUtil::DegRad;
  const float offsetRotation = _data.getOffsetRotation() * degRadReflect;
  const float offsetShearY = _data.getOffsetShearY() * degRadReflect;

  for (size_t i = 0; i < _bones.size(); ++i) {
    Bone& bone = *_bones[i];
    bool modified = false;
    if (_rotateMix != 0) {
      const float r = MathUtil::wrapRadians(MathUtil::atan2(tc, ta) + offsetRotation);
      rotateMatrix(bone, r * _rotateMix);
      modified = true;
    }
    if (_translateMix != 0) {
      float tx, ty;
      target.localToWorld(_data.getOffsetX(), _data.getOffsetY(), tx, ty);
      bone.setWorldX(bone.getWorldX() + tx * _translateMix);
      bone.setWorldY(bone.getWorldY() + ty * _translateMix);
      modified = true;
    }
    if (_scaleMix > 0) {
      float s = (MathUtil::sqrt(ta * ta + tc * tc) - 1 + _data.getOffsetScaleX()) * _scaleMix + 1;
      bone.setA(bone.getA() * s);
      bone.setC(bone.getC() * s);
      s = (MathUtil::sqrt(tb * tb + td * td) - 1 + _data.getOffsetScaleY()) * _scaleMix + 1;
      bone.setB(bone.getB() * s);
      bone.setD(bone.getD() * s);
      modified = true;
    }
    if (_shearMix > 0) {
      float r = MathUtil::wrapRadians(MathUtil::atan2(td, tb) - MathUtil::atan2(tc, ta));
      const float b = bone.getB(), d = bone.getD();
      r = MathUtil::atan2(d, b) + (r - MathUtil::HalfPi + offsetShearY) * _shearMix;
      const float s = MathUtil::sqrt(b * b + d * d);
      bone.setB(MathUtil::cos(r) * s);
      bone.setD(MathUtil::sin(r) * s);
      modified = true;
    }
    if (modified) bone.setAppliedValid(false);
  }
}

void TransformConstraint::applyAbsoluteLocal() {
  Bone& target = *_target;
  if (!target.isAppliedValid()) target.updateAppliedTransform();

  for (size_t i = 0; i < _bones.size(); ++i) {
    Bone& bone = *_bones[i];
    if (!bone.isAppliedValid()) bone.updateAppliedTransform();

    float rotation = bone.getARotation();
    if (_rotateMix != 0) {
      const float r = MathUtil::wrapDegrees(target.getARotation() - rotation + _data.getOffsetRotation());
      rotation += r * _rotateMix;
    }
    float x = bone.getAX(), y = bone.getAY();
    if (_translateMix != 0) {
      x += (target.getAX() - x + _data.getOffsetX()) * _translateMix;
      y += (target.getAY() - y + _data.getOffsetY()) * _translateMix;
    }
    float scaleX = bone.getAScaleX(), scaleY = bone.getAScaleY();
    if (_scaleMix != 0) {
      // The scale itself moves toward the target's; dividing by the old
      // scale here would give a factor, and a factor is not a scale. A
      // collapsed or mirrored scale is left alone, not pulled through zero.
      if (scaleX > 0.00001f) scaleX += (target.getAScaleX() - scaleX + _data.getOffsetScaleX()) * _scaleMix;
      if (scaleY > 0.00001f) scaleY += (target.getAScaleY() - scaleY + _data.getOffsetScaleY()) * _scaleMix;
    }
    float shearY = bone.getAShearY();
    if (_shearMix != 0) {
      shearY += MathUtil::wrapDegrees(target.getAShearY() - shearY + _data.getOffsetShearY()) * _shearMix;
    }
    bone.updateWorldTransform(x, y, rotation, scaleX, scaleY, bone.getAShearX(), shearY);
  }
}

void TransformConstraint::applyRelativeLocal() {
  Bone& target = *_target;
  if (!target.isAppliedValid()) target.updateAppliedTransform();

  for (size_t i = 0; i < _bones.size(); ++i) {
    Bone& bone = *_bones[i];
    if (!bone.isAppliedValid()) bone.updateAppliedTransform();

    float rotation = bone.getARotation();
    if (_rotateMix != 0) rotation += (target.getARotation() + _data.getOffsetRotation()) * _rotateMix;
    float x = bone.getAX(), y = bone.getAY();
    if (_translateMix != 0) {
      x += (target.getAX() + _data.getOffsetX()) * _translateMix;
      y += (target.getAY() + _data.getOffsetY()) * _translateMix;
    }
    float scaleX = bone.getAScaleX(), scaleY = bone.getAScaleY();
    if (_scaleMix != 0) {
      if (scaleX > 0.00001f) scaleX *= (target.getAScaleX() - 1 + _data.getOffsetScaleX()) * _scaleMix + 1;
      if (scaleY > 0.00001f) scaleY *= (target.getAScaleY() - 1 + _data.getOffsetScaleY()) * _scaleMix + 1;
    }
    float shearY = bone.getAShearY();
    if (_shearMix != 0) shearY += (target.getAShearY() + _data.getOffsetShearY()) * _shearMix;
    bone.updateWorldTransform(x, y, rotation, scaleX, scaleY, bone.getAShearX(), shearY);
  }
}

}  // namespace skel
