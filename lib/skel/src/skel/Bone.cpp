#include "skel/Bone.h"

#include <cmath>
#include <cstring>

#include "skel/BoneData.h"
#include "skel/MathUtil.h"
#include "skel/Skeleton.h"

namespace skel {

SKEL_RTTI_IMPL(Bone, Updatable)

bool Bone::yDown = false;

void Bone::setYDown(bool value) { yDown = value; }

bool Bone::isYDown() { return yDown; }

Bone::Bone(BoneData& data, Skeleton& skeleton, Bone* parent)
    : _data(data),
      _skeleton(skeleton),
      _parent(parent),
      _x(0),
      _y(0),
      _rotation(0),
      _scaleX(0),
      _scaleY(0),
      _shearX(0),
      _shearY(0),
      _ax(0),
      _ay(0),
      _arotation(0),
      _ascaleX(0),
      _ascaleY(0),
      _ashearX(0),
      _ashearY(0),
      _appliedValid(false),
      _a(1),
      _b(0),
      _worldX(0),
      _c(0),
      _d(1),
      _worldY(0),
      _sorted(false),
      _active(false),
      _turnBitsX(0),
      _turnBitsY(0),
      _turnYKept(true),
      _cosX(1),
      _sinX(0),
      _cosY(1),
      _sinY(0) {
  setToSetupPose();
}

Bone::~Bone() {}

void Bone::setToSetupPose() {
  _x = _data.getX();
  _y = _data.getY();
  _rotation = _data.getRotation();
  _scaleX = _data.getScaleX();
  _scaleY = _data.getScaleY();
  _shearX = _data.getShearX();
  _shearY = _data.getShearY();
}

void Bone::update() { updateWorldTransform(_x, _y, _rotation, _scaleX, _scaleY, _shearX, _shearY); }

void Bone::updateWorldTransform() { update(); }

void Bone::getSkeletonScale(float& sx, float& sy) const {
  sx = _skeleton.getScaleX();
  sy = yDown ? -_skeleton.getScaleY() : _skeleton.getScaleY();
}

void Bone::getParentMatrix(float& pa, float& pb, float& pc, float& pd, float& px, float& py) const {
  if (_parent) {
    pa = _parent->_a;
    pb = _parent->_b;
    pc = _parent->_c;
    pd = _parent->_d;
    px = _parent->_worldX;
    py = _parent->_worldY;
    return;
  }
  float sx, sy;
  getSkeletonScale(sx, sy);
  pa = sx;
  pb = 0;
  pc = 0;
  pd = sy;
  px = _skeleton.getX();
  py = _skeleton.getY();
}

void Bone::turnTo(float rx, float ry, bool square) {
  uint32_t bits;
  std::memcpy(&bits, &rx, sizeof bits);
  if (bits != _turnBitsX) {
    _turnBitsX = bits;
    MathUtil::sinCos(rx, _sinX, _cosX);
  }
  if (square) {
    _cosY = -_sinX;
    _sinY = _cosX;
    _turnYKept = false;
    return;
  }
  std::memcpy(&bits, &ry, sizeof bits);
  if (bits != _turnBitsY || !_turnYKept) {
    _turnBitsY = bits;
    _turnYKept = true;
    MathUtil::sinCos(ry, _sinY, _cosY);
  }
}

void Bone::updateWorldTransform(float x, float y, float rotation, float scaleX, float scaleY, float shearX,
                                float shearY) {
  _ax = x;
  _ay = y;
  _arotation = rotation;
  _ascaleX = scaleX;
  _ascaleY = scaleY;
  _ashearX = shearX;
  _ashearY = shearY;
  _appliedValid = true;

  float sx, sy;
  getSkeletonScale(sx, sy);
  const float rx = (rotation + shearX) * MathUtil::DegRad;
  const float ry = (rotation + 90 + shearY) * MathUtil::DegRad;

  if (!_parent) {
    turnTo(rx, ry, shearX == shearY);
    _a = _cosX * scaleX * sx;
    _b = _cosY * scaleY * sx;
    _c = _sinX * scaleX * sy;
    _d = _sinY * scaleY * sy;
    _worldX = x * sx + _skeleton.getX();
    _worldY = y * sy + _skeleton.getY();
    return;
  }

  float pa = _parent->_a, pb = _parent->_b, pc = _parent->_c, pd = _parent->_d;
  _worldX = pa * x + pb * y + _parent->_worldX;
  _worldY = pc * x + pd * y + _parent->_worldY;

  switch (_data.getTransformMode()) {
    case TransformMode::Normal: {
      turnTo(rx, ry, shearX == shearY);
      const float la = _cosX * scaleX, lb = _cosY * scaleY;
      const float lc = _sinX * scaleX, ld = _sinY * scaleY;
      _a = pa * la + pb * lc;
      _b = pa * lb + pb * ld;
      _c = pc * la + pd * lc;
      _d = pc * lb + pd * ld;
      return;
    }
    case TransformMode::OnlyTranslation:
      turnTo(rx, ry, shearX == shearY);
      _a = _cosX * scaleX;
      _b = _cosY * scaleY;
      _c = _sinX * scaleX;
      _d = _sinY * scaleY;
      break;
    case TransformMode::NoRotationOrReflection: {
      float s = pa * pa + pc * pc;
      float prx;
      if (s > 0.0001f) {
        s = std::fabs(pa * pd - pb * pc) / s;
        pa /= sx;
        pc /= sy;
        pb = pc * s;
        pd = pa * s;
        prx = MathUtil::atan2(pc, pa) * MathUtil::RadDeg;
      } else {
        // A parent whose first column vanished: take its direction
        // from the second column.
        pa = 0;
        pc = 0;
        prx = 90 - MathUtil::atan2(pd, pb) * MathUtil::RadDeg;
      }
      const float rxp = (rotation + shearX - prx) * MathUtil::DegRad;
      const float ryp = (rotation + shearY - prx + 90) * MathUtil::DegRad;
      const float la = MathUtil::cos(rxp) * scaleX, lb = MathUtil::cos(ryp) * scaleY;
      const float lc = MathUtil::sin(rxp) * scaleX, ld = MathUtil::sin(ryp) * scaleY;
      _a = pa * la - pb * lc;
      _b = pa * lb - pb * ld;
      _c = pc * la + pd * lc;
      _d = pc * lb + pd * ld;
      break;
    }
    case TransformMode::NoScale:
    case TransformMode::NoScaleOrReflection: {
      const float cos = MathUtil::cosDeg(rotation), sin = MathUtil::sinDeg(rotation);
      float za = (pa * cos + pb * sin) / sx;
      float zc = (pc * cos + pd * sin) / sy;
      float s = MathUtil::sqrt(za * za + zc * zc);
      if (s > 0.00001f) s = 1 / s;
      za *= s;
      zc *= s;
      s = MathUtil::sqrt(za * za + zc * zc);
      if (_data.getTransformMode() == TransformMode::NoScale && (pa * pd - pb * pc < 0) != ((sx < 0) != (sy < 0)))
        s = -s;
      const float r = MathUtil::atan2(zc, za) + MathUtil::HalfPi;
      const float zb = MathUtil::cos(r) * s;
      const float zd = MathUtil::sin(r) * s;
      const float la = MathUtil::cosDeg(shearX) * scaleX;
      const float lb = MathUtil::cosDeg(90 + shearY) * scaleY;
      const float lc = MathUtil::sinDeg(shearX) * scaleX;
      const float ld = MathUtil::sinDeg(90 + shearY) * scaleY;
      _a = za * la + zb * lc;
      _b = za * lb + zb * ld;
      _c = zc * la + zd * lc;
      _d = zc * lb + zd * ld;
      break;
    }
  }
  _a *= sx;
  _b *= sx;
  _c *= sy;
  _d *= sy;
}

void Bone::updateAppliedTransform() {
  _appliedValid = true;
  _ashearX = 0;
  if (!_parent) {
    // The skeleton's placement is taken out so that feeding these values
    // back through updateWorldTransform reproduces the world transform.
    float sx, sy;
    getSkeletonScale(sx, sy);
    const float isx = sx != 0 ? 1 / sx : 0, isy = sy != 0 ? 1 / sy : 0;
    const float a = _a * isx, b = _b * isx, c = _c * isy, d = _d * isy;
    _ax = (_worldX - _skeleton.getX()) * isx;
    _ay = (_worldY - _skeleton.getY()) * isy;
    _arotation = MathUtil::atan2(c, a) * MathUtil::RadDeg;
    _ascaleX = MathUtil::sqrt(a * a + c * c);
    _ascaleY = MathUtil::sqrt(b * b + d * d);
    // With a positive y scale the shear is the angle between the columns less 90 degrees.
    _ashearY = MathUtil::atan2(a * d - b * c, a * b + c * d) * MathUtil::RadDeg - 90;
    if (_ashearY < -180) _ashearY += 360;
    return;
  }
  const float pa = _parent->_a, pb = _parent->_b, pc = _parent->_c, pd = _parent->_d;
  const float det = pa * pd - pb * pc;
  const float pid = det != 0 ? 1 / det : 0;
  const float dx = _worldX - _parent->_worldX, dy = _worldY - _parent->_worldY;
  _ax = dx * pd * pid - dy * pb * pid;
  _ay = dy * pa * pid - dx * pc * pid;
  const float ia = pid * pd, id = pid * pa, ib = pid * pb, ic = pid * pc;
  const float ra = ia * _a - ib * _c;
  const float rb = ia * _b - ib * _d;
  const float rc = id * _c - ic * _a;
  const float rd = id * _d - ic * _b;
  _ascaleX = MathUtil::sqrt(ra * ra + rc * rc);
  if (_ascaleX > 0.0001f) {
    // The y scale is the second column's length and carries the
    // reflection; the shear is the angle to that column turned by the
    // scale's sign, less 90 degrees.
    const float rdet = ra * rd - rb * rc;
    const float sign = rdet < 0 ? -1.0f : 1.0f;
    _ascaleY = MathUtil::sqrt(rb * rb + rd * rd) * sign;
    _ashearY = -MathUtil::atan2((ra * rb + rc * rd) * sign, rdet * sign) * MathUtil::RadDeg;
    _arotation = MathUtil::atan2(rc, ra) * MathUtil::RadDeg;
  } else {
    // No first column: the second one alone gives the rotation.
    _ascaleX = 0;
    _ascaleY = MathUtil::sqrt(rb * rb + rd * rd);
    _ashearY = 0;
    _arotation = MathUtil::atan2(rd, rb) * MathUtil::RadDeg - 90;
  }
}

float Bone::getWorldRotationX() const { return MathUtil::atan2(_c, _a) * MathUtil::RadDeg; }

float Bone::getWorldScaleX() const { return MathUtil::sqrt(_a * _a + _c * _c); }

float Bone::getWorldScaleY() const { return MathUtil::sqrt(_b * _b + _d * _d); }

void Bone::worldToLocal(float worldX, float worldY, float& localX, float& localY) const {
  const float det = _a * _d - _b * _c;
  const float invDet = det != 0 ? 1 / det : 0;
  const float x = worldX - _worldX, y = worldY - _worldY;
  localX = x * _d * invDet - y * _b * invDet;
  localY = y * _a * invDet - x * _c * invDet;
}

void Bone::localToWorld(float localX, float localY, float& worldX, float& worldY) const {
  worldX = localX * _a + localY * _b + _worldX;
  worldY = localX * _c + localY * _d + _worldY;
}

}  // namespace skel
