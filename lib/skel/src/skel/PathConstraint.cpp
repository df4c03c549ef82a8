#include "skel/PathConstraint.h"

#include <cmath>

#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/MathUtil.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraintData.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skel {

SKEL_RTTI_IMPL(PathConstraint, Updatable)

namespace {

constexpr int NoCurve = -1, BeforeStart = -2, AfterEnd = -3;

// Index of the first cumulative length at or beyond p (the last one at most),
// with p turned into the fraction of that interval. Searching from the front
// keeps positions that move backwards (wrapping on a closed path, negative
// spacing) on the right interval.
int findInterval(const Vector<float>& cumulative, int count, float& p) {
  int i = 0;
  while (i < count - 1 && p > cumulative[i]) ++i;
  const float length = cumulative[i];
  if (i == 0) {
    p /= length;
  } else {
    const float prev = cumulative[i - 1];
    p = (p - prev) / (length - prev);
  }
  return i;
}

// One cubic Bezier: start, two control points, end.
struct Curve {
  float x1, y1, cx1, cy1, cx2, cy2, x2, y2;
};

// Forward-differencing steps along a curve in n equal parameter steps: the
// first chord and the increments of the first, second and third differences.
struct Differences {
  float dfx, dfy, ddfx, ddfy, dddfx, dddfy;
};

// tmp = 3 h^2, ddd = 6 h^3 and d = 3 h for the step h.
Differences differences(const Curve& c, float tmp, float ddd, float d) {
  const float tmpx = (c.x1 - c.cx1 * 2 + c.cx2) * tmp, tmpy = (c.y1 - c.cy1 * 2 + c.cy2) * tmp;
  const float dddfx = ((c.cx1 - c.cx2) * 3 - c.x1 + c.x2) * ddd;
  const float dddfy = ((c.cy1 - c.cy2) * 3 - c.y1 + c.y2) * ddd;
  return {(c.cx1 - c.x1) * d + tmpx + dddfx * 0.16666667f,
          (c.cy1 - c.y1) * d + tmpy + dddfy * 0.16666667f,
          tmpx * 2 + dddfx,
          tmpy * 2 + dddfy,
          dddfx,
          dddfy};
}

float chord(const Differences& f) { return MathUtil::sqrt(f.dfx * f.dfx + f.dfy * f.dfy); }

// The length of a curve measured with four chords.
float fourChordLength(const Curve& c) {
  Differences f = differences(c, 0.1875f, 0.09375f, 0.75f);
  float length = chord(f);
  f.dfx += f.ddfx;
  f.dfy += f.ddfy;
  f.ddfx += f.dddfx;
  f.ddfy += f.dddfy;
  length += chord(f);
  f.dfx += f.ddfx;
  f.dfy += f.ddfy;
  length += chord(f);
  f.dfx += f.ddfx + f.dddfx;
  f.dfy += f.ddfy + f.dddfy;
  return length + chord(f);
}

// Cumulative lengths of ten chords along a curve; the last is its length.
void tenChordLengths(const Curve& c, Vector<float>& segments) {
  Differences f = differences(c, 0.03f, 0.006f, 0.3f);
  float length = chord(f);
  segments[0] = length;
  for (size_t i = 1; i < 8; ++i) {
    f.dfx += f.ddfx;
    f.dfy += f.ddfy;
    f.ddfx += f.dddfx;
    f.ddfy += f.dddfy;
    length += chord(f);
    segments[i] = length;
  }
  f.dfx += f.ddfx;
  f.dfy += f.ddfy;
  length += chord(f);
  segments[8] = length;
  f.dfx += f.ddfx + f.dddfx;
  f.dfy += f.ddfy + f.dddfy;
  segments[9] = length + chord(f);
}

}  // namespace

PathConstraint::PathConstraint(PathConstraintData& data, Skeleton& skeleton)
    : _data(data),
      _target(nullptr),
      _position(data.getPosition()),
      _spacing(data.getSpacing()),
      _rotateMix(data.getRotateMix()),
      _translateMix(data.getTranslateMix()),
      _active(false) {
  const Vector<BoneData*>& bones = data.getBones();
  _bones.ensureCapacity(bones.size());
  for (size_t i = 0; i < bones.size(); ++i) {
    Bone* bone = bones[i] ? skeleton.findBone(bones[i]->getName()) : nullptr;
    if (bone) _bones.add(bone);
  }
  if (data.getTarget()) _target = skeleton.findSlot(data.getTarget()->getName());
  _segments.setSize(10, 0);
}

PathConstraint::~PathConstraint() {}

int PathConstraint::getOrder() const { return static_cast<int>(_data.getOrder()); }

void PathConstraint::update() {
  if (!_target || _bones.isEmpty()) return;
  Attachment* attachment = _target->getAttachment();
  if (!attachment || !attachment->getRTTI().instanceOf(PathAttachment::rtti)) return;
  const float rotateMix = _rotateMix, translateMix = _translateMix;
  const bool translate = translateMix > 0, rotate = rotateMix > 0;
  if (!translate && !rotate) return;

  const bool percentSpacing = _data.getSpacingMode() == SpacingMode::Percent;
  const RotateMode rotateMode = _data.getRotateMode();
  const bool tangents = rotateMode == RotateMode::Tangent, scale = rotateMode == RotateMode::ChainScale;
  const int boneCount = static_cast<int>(_bones.size());
  const int spacesCount = tangents ? boneCount : boneCount + 1;
  _spaces.setSize(static_cast<size_t>(spacesCount), 0);
  if (scale) _lengths.setSize(static_cast<size_t>(boneCount), 0);
  if (_spaces.size() < static_cast<size_t>(spacesCount) || (scale && _lengths.size() < _bones.size()))
    return;  // out of memory
  if (spacesCount > 0) _spaces[0] = 0;
  const float spacing = _spacing;

  if (scale || !percentSpacing) {
    const bool lengthSpacing = _data.getSpacingMode() == SpacingMode::Length;
    for (int i = 0; i < spacesCount - 1; ++i) {
      const Bone& bone = *_bones[i];
      const float setupLength = bone.getData().getLength();
      if (setupLength < MathUtil::Epsilon) {
        if (scale) _lengths[i] = 0;
        _spaces[i + 1] = 0;
        continue;
      }
      const float x = setupLength * bone.getA(), y = setupLength * bone.getC();
      const float length = MathUtil::sqrt(x * x + y * y);
      if (scale) _lengths[i] = length;
      if (percentSpacing)
        _spaces[i + 1] = spacing;
      else
        _spaces[i + 1] = (lengthSpacing ? setupLength + spacing : spacing) * length / setupLength;
    }
  } else {
    for (int i = 1; i < spacesCount; ++i) _spaces[i] = spacing;
  }

  Vector<float>* computed = computeWorldPositions(*static_cast<PathAttachment*>(attachment), spacesCount, tangents,
                                                  _data.getPositionMode() == PositionMode::Percent, percentSpacing);
  if (!computed) return;
  const Vector<float>& positions = *computed;

  float boneX = positions[0], boneY = positions[1], offsetRotation = _data.getOffsetRotation();
  bool tip;
  if (offsetRotation == 0) {
    tip = rotateMode == RotateMode::Chain;
  } else {
    tip = false;
    const Bone& p = _target->getBone();
    offsetRotation *= p.getA() * p.getD() - p.getB() * p.getC() > 0 ? MathUtil::DegRad : -MathUtil::DegRad;
  }
  for (int i = 0, p = 3; i < boneCount; ++i, p += 3) {
    Bone& bone = *_bones[i];
    bone._worldX += (boneX - bone._worldX) * translateMix;
    bone._worldY += (boneY - bone._worldY) * translateMix;
    const float x = positions[p], y = positions[p + 1], dx = x - boneX, dy = y - boneY;
    if (scale) {
      const float length = _lengths[i];
      if (length >= MathUtil::Epsilon) {
        const float s = (MathUtil::sqrt(dx * dx + dy * dy) / length - 1) * rotateMix + 1;
        bone._a *= s;
        bone._c *= s;
      }
    }
    boneX = x;
    boneY = y;
    if (rotate) {
      const float a = bone._a, b = bone._b, c = bone._c, d = bone._d;
      float r;
      if (tangents)
        r = positions[p - 1];
      else if (_spaces[i + 1] < MathUtil::Epsilon)
        r = positions[p + 2];
      else
        r = MathUtil::atan2(dy, dx);
      r -= MathUtil::atan2(c, a);
      if (tip) {
        // Chain mode: the next bone starts at this bone's tip.
        const float cos = MathUtil::cos(r), sin = MathUtil::sin(r);
        const float length = bone.getData().getLength();
        boneX += (length * (cos * a - sin * c) - dx) * rotateMix;
        boneY += (length * (sin * a + cos * c) - dy) * rotateMix;
      } else {
        r += offsetRotation;
      }
      r = MathUtil::wrapRadians(r) * rotateMix;
      const float cos = MathUtil::cos(r), sin = MathUtil::sin(r);
      bone._a = cos * a - sin * c;
      bone._b = cos * b - sin * d;
      bone._c = sin * a + cos * c;
      bone._d = sin * b + cos * d;
    }
    bone._appliedValid = false;
  }
}

Vector<float>* PathConstraint::computeWorldPositions(PathAttachment& path, int spacesCount, bool tangents,
                                                     bool percentPosition, bool percentSpacing) {
  if (!_target || spacesCount < 0) return nullptr;
  if (_spaces.size() < static_cast<size_t>(spacesCount)) _spaces.setSize(static_cast<size_t>(spacesCount), 0);
  _positions.setSize(static_cast<size_t>(spacesCount) * 3 + 2, 0);
  _world.setSize(8, 0);
  if (_spaces.size() < static_cast<size_t>(spacesCount) ||
      _positions.size() < static_cast<size_t>(spacesCount) * 3 + 2 || _world.size() < 8)
    return nullptr;  // out of memory
  if (path.isConstantSpeed())
    return computeAtConstantSpeed(path, spacesCount, tangents, percentPosition, percentSpacing);
  return computeFromCurveLengths(path, spacesCount, tangents, percentPosition, percentSpacing);
}

Vector<float>* PathConstraint::computeFromCurveLengths(PathAttachment& path, int spacesCount, bool tangents,
                                                       bool percentPosition, bool percentSpacing) {
  Slot& target = *_target;
  Vector<float>& out = _positions;
  const bool closed = path.isClosed();
  const size_t verticesLength = path.getWorldVerticesLength();
  const Vector<float>& lengths = path.getLengths();
  // The index of the last curve; an open path needs two knots, a closed one one.
  const long long lastCurve = static_cast<long long>(verticesLength / 6) - (closed ? 1 : 2);
  if (lastCurve < 0 || static_cast<size_t>(lastCurve) >= lengths.size()) return nullptr;
  const int curveCount = static_cast<int>(lastCurve);

  float position = _position;
  const float pathLength = lengths[curveCount];
  if (percentPosition) position *= pathLength;
  if (percentSpacing)
    for (int i = 1; i < spacesCount; ++i) _spaces[i] *= pathLength;
  Vector<float>& world = _world;

  int prevCurve = NoCurve;
  for (int i = 0, o = 0; i < spacesCount; ++i, o += 3) {
    const float space = _spaces[i];
    position += space;
    float p = position;

    if (closed) {
      p = std::fmod(p, pathLength);
      if (p < 0) p += pathLength;
    } else if (p < 0) {
      if (prevCurve != BeforeStart) {
        prevCurve = BeforeStart;
        path.computeWorldVertices(target, 2, 4, world, 0);
      }
      addBeforePosition(p, world, 0, out, o);
      continue;
    } else if (p > pathLength) {
      if (prevCurve != AfterEnd) {
        prevCurve = AfterEnd;
        path.computeWorldVertices(target, verticesLength - 6, 4, world, 0);
      }
      addAfterPosition(p - pathLength, world, 0, out, o);
      continue;
    }

    const int curve = findInterval(lengths, curveCount + 1, p);
    if (curve != prevCurve) {
      prevCurve = curve;
      if (closed && curve == curveCount) {
        path.computeWorldVertices(target, verticesLength - 4, 4, world, 0);
        path.computeWorldVertices(target, 0, 4, world, 4);
      } else {
        path.computeWorldVertices(target, static_cast<size_t>(curve) * 6 + 2, 8, world, 0);
      }
    }
    addCurvePosition(p, world[0], world[1], world[2], world[3], world[4], world[5], world[6], world[7], out, o,
                     tangents || (i > 0 && space < MathUtil::Epsilon));
  }
  return &out;
}

Vector<float>* PathConstraint::computeAtConstantSpeed(PathAttachment& path, int spacesCount, bool tangents,
                                                      bool percentPosition, bool percentSpacing) {
  Slot& target = *_target;
  Vector<float>& out = _positions;
  const bool closed = path.isClosed();
  size_t verticesLength = path.getWorldVerticesLength();
  long long curves = static_cast<long long>(verticesLength / 6) - (closed ? 0 : 1);
  const Vector<float>& lengths = path.getLengths();
  if (curves < 1 || static_cast<size_t>(curves) > lengths.size()) return nullptr;
  const int curveCount = static_cast<int>(curves);

  Vector<float>& world = _world;
  if (closed) {
    verticesLength += 2;
    world.setSize(verticesLength, 0);
    if (world.size() < verticesLength) return nullptr;
    path.computeWorldVertices(target, 2, verticesLength - 4, world, 0);
    path.computeWorldVertices(target, 0, 2, world, verticesLength - 4);
    world[verticesLength - 2] = world[0];
    world[verticesLength - 1] = world[1];
  } else {
    verticesLength -= 4;
    world.setSize(verticesLength, 0);
    if (world.size() < verticesLength) return nullptr;
    path.computeWorldVertices(target, 2, verticesLength, world, 0);
  }

  _curves.setSize(static_cast<size_t>(curveCount), 0);
  if (_curves.size() < static_cast<size_t>(curveCount)) return nullptr;
  float pathLength = 0;
  for (int i = 0, w = 0; i < curveCount; ++i, w += 6) {
    pathLength += fourChordLength(
        {world[w], world[w + 1], world[w + 2], world[w + 3], world[w + 4], world[w + 5], world[w + 6], world[w + 7]});
    _curves[i] = pathLength;
  }

  float position = _position;
  if (percentPosition)
    position *= pathLength;
  else
    position *= pathLength / lengths[curveCount - 1];
  if (percentSpacing)
    for (int i = 1; i < spacesCount; ++i) _spaces[i] *= pathLength;

  Vector<float>& segments = _segments;
  if (segments.size() < 10) segments.setSize(10, 0);
  if (segments.size() < 10) return nullptr;
  Curve c = {0, 0, 0, 0, 0, 0, 0, 0};
  int prevCurve = NoCurve;
  for (int i = 0, o = 0; i < spacesCount; ++i, o += 3) {
    const float space = _spaces[i];
    position += space;
    float p = position;

    if (closed) {
      p = std::fmod(p, pathLength);
      if (p < 0) p += pathLength;
    } else if (p < 0) {
      addBeforePosition(p, world, 0, out, o);
      continue;
    } else if (p > pathLength) {
      addAfterPosition(p - pathLength, world, verticesLength - 4, out, o);
      continue;
    }

    const int curve = findInterval(_curves, curveCount, p);
    if (curve != prevCurve) {
      prevCurve = curve;
      const size_t w = static_cast<size_t>(curve) * 6;
      c = {world[w], world[w + 1], world[w + 2], world[w + 3], world[w + 4], world[w + 5], world[w + 6], world[w + 7]};
      tenChordLengths(c, segments);
    }

    p *= segments[9];
    const int segment = findInterval(segments, 10, p);
    p += static_cast<float>(segment);
    addCurvePosition(p * 0.1f, c.x1, c.y1, c.cx1, c.cy1, c.cx2, c.cy2, c.x2, c.y2, out, o,
                     tangents || (i > 0 && space < MathUtil::Epsilon));
  }
  return &out;
}

void PathConstraint::addBeforePosition(float p, const Vector<float>& temp, size_t i, Vector<float>& out, size_t o) {
  const float x1 = temp[i], y1 = temp[i + 1];
  const float r = MathUtil::atan2(temp[i + 3] - y1, temp[i + 2] - x1);
  out[o] = x1 + p * MathUtil::cos(r);
  out[o + 1] = y1 + p * MathUtil::sin(r);
  out[o + 2] = r;
}

void PathConstraint::addAfterPosition(float p, const Vector<float>& temp, size_t i, Vector<float>& out, size_t o) {
  const float x1 = temp[i + 2], y1 = temp[i + 3];
  const float r = MathUtil::atan2(y1 - temp[i + 1], x1 - temp[i]);
  out[o] = x1 + p * MathUtil::cos(r);
  out[o + 1] = y1 + p * MathUtil::sin(r);
  out[o + 2] = r;
}

void PathConstraint::addCurvePosition(float p, float x1, float y1, float cx1, float cy1, float cx2, float cy2, float x2,
                                      float y2, Vector<float>& out, size_t o, bool tangents) {
  if (p < MathUtil::Epsilon || std::isnan(p)) {
    out[o] = x1;
    out[o + 1] = y1;
    out[o + 2] = MathUtil::atan2(cy1 - y1, cx1 - x1);
    return;
  }
  const float tt = p * p, ttt = tt * p, u = 1 - p, uu = u * u, uuu = uu * u;
  const float ut = u * p, ut3 = ut * 3, uut3 = u * ut3, utt3 = ut3 * p;
  const float x = x1 * uuu + cx1 * uut3 + cx2 * utt3 + x2 * ttt;
  const float y = y1 * uuu + cy1 * uut3 + cy2 * utt3 + y2 * ttt;
  out[o] = x;
  out[o + 1] = y;
  if (tangents) {
    if (p < 0.001f)
      out[o + 2] = MathUtil::atan2(cy1 - y1, cx1 - x1);
    else
      out[o + 2] = MathUtil::atan2(y - (y1 * uu + cy1 * ut * 2 + cy2 * tt), x - (x1 * uu + cx1 * ut * 2 + cx2 * tt));
  }
}

}  // namespace skel
