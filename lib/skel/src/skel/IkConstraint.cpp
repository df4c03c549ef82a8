#include "skel/IkConstraint.h"

#include <cmath>

#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/IkConstraintData.h"
#include "skel/MathUtil.h"
#include "skel/Skeleton.h"

namespace skel {

SKEL_RTTI_IMPL(IkConstraint, Updatable)

namespace {

// Once into [-180, 180].
float wrapOnce(float degrees) {
  if (degrees > 180) return degrees - 360;
  if (degrees < -180) return degrees + 360;
  return degrees;
}

// Two-bone angles when the parent's scale is not uniform: the child's reach
// is an ellipse with semi-axes psx * l2 and psy * l2 around the elbow.
void solveOnEllipse(float psx, float psy, float l1, float l2, float tx, float ty, float dd, int bendDir, float& a1,
                    float& a2) {
  const float a = psx * l2, b = psy * l2;
  const float aa = a * a, bb = b * b, ll = l1 * l1, ta = MathUtil::atan2(ty, tx);
  float c0 = bb * ll + aa * dd - aa * bb;
  const float c1 = -2 * bb * l1, c2 = bb - aa;
  const float d = c1 * c1 - 4 * c2 * c0;
  if (d >= 0) {
    float q = MathUtil::sqrt(d);
    if (c1 < 0) q = -q;
    q = -(c1 + q) / 2;
    const float r0 = q / c2, r1 = c0 / q;
    const float r = std::fabs(r0) < std::fabs(r1) ? r0 : r1;
    if (r * r <= dd) {
      const float y = MathUtil::sqrt(dd - r * r) * bendDir;
      a1 = ta - MathUtil::atan2(y, r);
      a2 = MathUtil::atan2(y / psy, (r - l1) / psx);
      return;
    }
  }
  // Out of reach: the nearest or the farthest point of the ellipse.
  float minAngle = MathUtil::Pi, minX = l1 - a, minDist = minX * minX, minY = 0;
  float maxAngle = 0, maxX = l1 + a, maxDist = maxX * maxX, maxY = 0;
  c0 = -a * l1 / (aa - bb);
  if (c0 >= -1 && c0 <= 1) {
    c0 = MathUtil::acos(c0);
    const float x = a * MathUtil::cos(c0) + l1;
    const float y = b * MathUtil::sin(c0);
    const float dist = x * x + y * y;
    if (dist < minDist) {
      minAngle = c0;
      minDist = dist;
      minX = x;
      minY = y;
    }
    if (dist > maxDist) {
      maxAngle = c0;
      maxDist = dist;
      maxX = x;
      maxY = y;
    }
  }
  if (dd <= (minDist + maxDist) / 2) {
    a1 = ta - MathUtil::atan2(minY * bendDir, minX);
    a2 = minAngle * bendDir;
  } else {
    a1 = ta - MathUtil::atan2(maxY * bendDir, maxX);
    a2 = maxAngle * bendDir;
  }
}

}  // namespace

IkConstraint::IkConstraint(IkConstraintData& data, Skeleton& skeleton)
    : _data(data),
      _bendDirection(data.getBendDirection()),
      _compress(data.getCompress()),
      _stretch(data.getStretch()),
      _mix(data.getMix()),
      _softness(data.getSoftness()),
      _target(data.getTarget() ? skeleton.findBone(data.getTarget()->getName()) : nullptr),
      _active(false) {
  const Vector<BoneData*>& bones = data.getBones();
  _bones.ensureCapacity(bones.size());
  for (size_t i = 0; i < bones.size(); ++i) {
    Bone* bone = bones[i] ? skeleton.findBone(bones[i]->getName()) : nullptr;
    if (bone) _bones.add(bone);
  }
}

IkConstraint::~IkConstraint() {}

int IkConstraint::getOrder() const { return static_cast<int>(_data.getOrder()); }

void IkConstraint::update() {
  if (!_target) return;
  if (_bones.size() == 1) {
    apply(*_bones[0], _target->getWorldX(), _target->getWorldY(), _compress, _stretch, _data.getUniform(), _mix);
  } else if (_bones.size() == 2) {
    apply(*_bones[0], *_bones[1], _target->getWorldX(), _target->getWorldY(), _bendDirection, _stretch, _softness,
          _mix);
  }
}

void IkConstraint::apply(Bone& bone, float targetX, float targetY, bool compress, bool stretch, bool uniform,
                         float alpha) {
  if (!bone._appliedValid) bone.updateAppliedTransform();
  float pa, pb, pc, pd, px, py;
  bone.getParentMatrix(pa, pb, pc, pd, px, py);
  Skeleton& skeleton = bone.getSkeleton();
  const float skeletonScaleX = skeleton.getScaleX();
  const float skeletonScaleY = Bone::isYDown() ? -skeleton.getScaleY() : skeleton.getScaleY();

  float rotationIK = -bone._ashearX - bone._arotation;
  float tx, ty;
  const TransformMode mode = bone.getData().getTransformMode();
  if (mode == TransformMode::OnlyTranslation) {
    tx = targetX - bone._worldX;
    ty = targetY - bone._worldY;
  } else {
    if (mode == TransformMode::NoRotationOrReflection) {
      const float length = pa * pa + pc * pc;
      const float s = length > 0 ? std::fabs(pa * pd - pb * pc) / length : 0;
      const float sa = pa / skeletonScaleX;
      const float sc = pc / skeletonScaleY;
      pb = -sc * s * skeletonScaleX;
      pd = sa * s * skeletonScaleY;
      rotationIK += MathUtil::atan2(sc, sa) * MathUtil::RadDeg;
    }
    const float x = targetX - px, y = targetY - py;
    const float d = pa * pd - pb * pc;
    const float id = d != 0 ? 1 / d : 0;
    tx = (x * pd - y * pb) * id - bone._ax;
    ty = (y * pa - x * pc) * id - bone._ay;
  }
  rotationIK += MathUtil::atan2(ty, tx) * MathUtil::RadDeg;
  if (bone._ascaleX < 0) rotationIK += 180;
  rotationIK = wrapOnce(rotationIK);

  float sx = bone._ascaleX, sy = bone._ascaleY;
  if (compress || stretch) {
    if (mode == TransformMode::NoScale || mode == TransformMode::NoScaleOrReflection) {
      tx = targetX - bone._worldX;
      ty = targetY - bone._worldY;
    }
    const float b = bone.getData().getLength() * sx;
    const float dd = MathUtil::sqrt(tx * tx + ty * ty);
    if (((compress && dd < b) || (stretch && dd > b)) && b > 0.0001f) {
      const float s = (dd / b - 1) * alpha + 1;
      sx *= s;
      if (uniform) sy *= s;
    }
  }
  bone.updateWorldTransform(bone._ax, bone._ay, bone._arotation + rotationIK * alpha, sx, sy, bone._ashearX,
                            bone._ashearY);
}

void IkConstraint::apply(Bone& parent, Bone& child, float targetX, float targetY, int bendDir, bool stretch,
                         float softness, float alpha) {
  if (alpha == 0) {
    child.updateWorldTransform();
    return;
  }
  if (!parent._appliedValid) parent.updateAppliedTransform();
  if (!child._appliedValid) child.updateAppliedTransform();

  const float px = parent._ax, py = parent._ay;
  float psx = parent._ascaleX, sx = psx, psy = parent._ascaleY, csx = child._ascaleX;
  int o1, o2, s2;
  if (psx < 0) {
    psx = -psx;
    o1 = 180;
    s2 = -1;
  } else {
    o1 = 0;
    s2 = 1;
  }
  if (psy < 0) {
    psy = -psy;
    s2 = -s2;
  }
  if (csx < 0) {
    csx = -csx;
    o2 = 180;
  } else {
    o2 = 0;
  }

  const float cx = child._ax;
  float cy, cwx, cwy;
  const float pa = parent._a, pb = parent._b, pc = parent._c, pd = parent._d;
  const bool u = std::fabs(psx - psy) <= 0.0001f;
  if (u) {
    cy = child._ay;
    cwx = pa * cx + pb * cy + parent._worldX;
    cwy = pc * cx + pd * cy + parent._worldY;
  } else {
    cy = 0;
    cwx = pa * cx + parent._worldX;
    cwy = pc * cx + parent._worldY;
  }

  // The grandparent's matrix; the skeleton's placement when the parent is a root.
  float a, b, c, d, ppx, ppy;
  parent.getParentMatrix(a, b, c, d, ppx, ppy);
  const float det = a * d - b * c;
  const float id = det != 0 ? 1 / det : 0;
  float x = cwx - ppx, y = cwy - ppy;
  const float dx = (x * d - y * b) * id - px, dy = (y * a - x * c) * id - py;
  const float l1 = MathUtil::sqrt(dx * dx + dy * dy);
  float l2 = child.getData().getLength() * csx;
  if (l1 < 0.0001f) {
    apply(parent, targetX, targetY, false, stretch, false, alpha);
    child.updateWorldTransform(cx, cy, 0, child._ascaleX, child._ascaleY, child._ashearX, child._ashearY);
    return;
  }

  x = targetX - ppx;
  y = targetY - ppy;
  float tx = (x * d - y * b) * id - px, ty = (y * a - x * c) * id - py;
  float dd = tx * tx + ty * ty;
  if (softness != 0) {
    softness *= psx * (csx + 1) / 2;
    const float td = MathUtil::sqrt(dd), sd = td - l1 - l2 * psx + softness;
    if (sd > 0) {
      float p = std::fmin(1.0f, sd / (softness * 2)) - 1;
      p = (sd - softness * (1 - p * p)) / td;
      tx -= p * tx;
      ty -= p * ty;
      dd = tx * tx + ty * ty;
    }
  }

  float a1, a2;
  if (u) {
    l2 *= psx;
    float cos = (dd - l1 * l1 - l2 * l2) / (2 * l1 * l2);
    if (cos < -1) {
      cos = -1;
    } else if (cos > 1) {
      cos = 1;
      if (stretch) sx *= (MathUtil::sqrt(dd) / (l1 + l2) - 1) * alpha + 1;
    }
    a2 = MathUtil::acos(cos) * bendDir;
    const float ca = l1 + l2 * cos;
    const float cb = l2 * MathUtil::sin(a2);
    a1 = MathUtil::atan2(ty * ca - tx * cb, tx * ca + ty * cb);
  } else {
    solveOnEllipse(psx, psy, l1, l2, tx, ty, dd, bendDir, a1, a2);
  }

  const float os = MathUtil::atan2(cy, cx) * s2;
  float rotation = parent._arotation;
  a1 = wrapOnce((a1 - os) * MathUtil::RadDeg + o1 - rotation);
  parent.updateWorldTransform(px, py, rotation + a1 * alpha, sx, parent._ascaleY, 0, 0);
  rotation = child._arotation;
  a2 = wrapOnce(((a2 + os) * MathUtil::RadDeg - child._ashearX) * s2 + o2 - rotation);
  child.updateWorldTransform(cx, cy, rotation + a2 * alpha, child._ascaleX, child._ascaleY, child._ashearX,
                             child._ashearY);
}

}  // namespace skel
