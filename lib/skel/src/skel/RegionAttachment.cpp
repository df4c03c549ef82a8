#include "skel/RegionAttachment.h"

#include "skel/Bone.h"
#include "skel/MathUtil.h"

namespace skel {

SKEL_RTTI_IMPL(RegionAttachment, Attachment)

namespace {

// Corner order of the offset array.
constexpr size_t BottomLeftX = 0, BottomLeftY = 1, UpperLeftX = 2, UpperLeftY = 3;
constexpr size_t UpperRightX = 4, UpperRightY = 5, BottomRightX = 6, BottomRightY = 7;

}  // namespace

RegionAttachment::RegionAttachment(const String& name)
    : Attachment(name),
      _x(0),
      _y(0),
      _rotation(0),
      _scaleX(1),
      _scaleY(1),
      _width(0),
      _height(0),
      _regionOffsetX(0),
      _regionOffsetY(0),
      _regionWidth(0),
      _regionHeight(0),
      _regionUntrimmedWidth(0),
      _regionUntrimmedHeight(0),
      _color(1, 1, 1, 1) {
  _offset.setSize(8, 0);
  _uvs.setSize(8, 0);
}

RegionAttachment::~RegionAttachment() {}

void RegionAttachment::updateOffset() {
  const float regionScaleX = _width / _regionUntrimmedWidth * _scaleX;
  const float regionScaleY = _height / _regionUntrimmedHeight * _scaleY;
  const float localX = -_width / 2 * _scaleX + _regionOffsetX * regionScaleX;
  const float localY = -_height / 2 * _scaleY + _regionOffsetY * regionScaleY;
  const float localX2 = localX + _regionWidth * regionScaleX;
  const float localY2 = localY + _regionHeight * regionScaleY;
  const float radians = _rotation * MathUtil::DegRad;
  const float cos = MathUtil::cos(radians);
  const float sin = MathUtil::sin(radians);
  const float localXCos = localX * cos + _x;
  const float localXSin = localX * sin;
  const float localYCos = localY * cos + _y;
  const float localYSin = localY * sin;
  const float localX2Cos = localX2 * cos + _x;
  const float localX2Sin = localX2 * sin;
  const float localY2Cos = localY2 * cos + _y;
  const float localY2Sin = localY2 * sin;

  if (_offset.size() < 8) _offset.setSize(8, 0);
  if (_offset.size() < 8) return;  // out of memory
  _offset[BottomLeftX] = localXCos - localYSin;
  _offset[BottomLeftY] = localYCos + localXSin;
  _offset[UpperLeftX] = localXCos - localY2Sin;
  _offset[UpperLeftY] = localY2Cos + localXSin;
  _offset[UpperRightX] = localX2Cos - localY2Sin;
  _offset[UpperRightY] = localY2Cos + localX2Sin;
  _offset[BottomRightX] = localX2Cos - localYSin;
  _offset[BottomRightY] = localYCos + localX2Sin;
}

void RegionAttachment::computeWorldVertices(Bone& bone, float* worldVertices, size_t offset, size_t stride) const {
  if (!worldVertices || _offset.size() < 8) return;
  const float a = bone.getA(), b = bone.getB(), c = bone.getC(), d = bone.getD();
  const float x = bone.getWorldX(), y = bone.getWorldY();
  // Bottom-right first, so that the loader's UV order matches.
  static const size_t corners[4][2] = {
      {BottomRightX, BottomRightY}, {BottomLeftX, BottomLeftY}, {UpperLeftX, UpperLeftY}, {UpperRightX, UpperRightY}};
  for (size_t i = 0; i < 4; ++i, offset += stride) {
    const float ox = _offset[corners[i][0]], oy = _offset[corners[i][1]];
    worldVertices[offset] = ox * a + oy * b + x;
    worldVertices[offset + 1] = ox * c + oy * d + y;
  }
}

void RegionAttachment::computeWorldVertices(Bone& bone, Vector<float>& worldVertices, size_t offset,
                                            size_t stride) const {
  float corners[8];
  computeWorldVertices(bone, corners, 0, 2);
  for (size_t i = 0; i < 4; ++i, offset += stride) {
    if (offset >= worldVertices.size() || worldVertices.size() - offset < 2) return;
    worldVertices[offset] = corners[i * 2];
    worldVertices[offset + 1] = corners[i * 2 + 1];
  }
}

void RegionAttachment::setUVs(float uMin, float vMin, float uMax, float vMax, bool rotate) {
  if (_uvs.size() < 8) _uvs.setSize(8, 0);
  if (_uvs.size() < 8) return;  // out of memory
  const float notRotated[8] = {uMax, vMax, uMin, vMax, uMin, vMin, uMax, vMin};
  const float rotated[8] = {uMax, vMin, uMax, vMax, uMin, vMax, uMin, vMin};
  const float* values = rotate ? rotated : notRotated;
  for (size_t i = 0; i < 8; ++i) _uvs[i] = values[i];
}

Attachment* RegionAttachment::copy() {
  RegionAttachment* copy = new (__FILE__, __LINE__) RegionAttachment(getName());
  copy->setRendererObject(getRendererObject());
  copy->_regionOffsetX = _regionOffsetX;
  copy->_regionOffsetY = _regionOffsetY;
  copy->_regionWidth = _regionWidth;
  copy->_regionHeight = _regionHeight;
  copy->_regionUntrimmedWidth = _regionUntrimmedWidth;
  copy->_regionUntrimmedHeight = _regionUntrimmedHeight;
  copy->_path = _path;
  copy->_x = _x;
  copy->_y = _y;
  copy->_scaleX = _scaleX;
  copy->_scaleY = _scaleY;
  copy->_rotation = _rotation;
  copy->_width = _width;
  copy->_height = _height;
  copy->_uvs = _uvs;
  copy->_offset = _offset;
  copy->_color = _color;
  return copy;
}

}  // namespace skel
