#include "skel/MeshAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(MeshAttachment, VertexAttachment)

MeshAttachment::MeshAttachment(const String& name)
    : VertexAttachment(name),
      _regionOffsetX(0),
      _regionOffsetY(0),
      _regionWidth(0),
      _regionHeight(0),
      _regionUntrimmedWidth(0),
      _regionUntrimmedHeight(0),
      _parentMesh(nullptr),
      _regionUMin(0),
      _regionVMin(0),
      _regionUMax(0),
      _regionVMax(0),
      _width(0),
      _height(0),
      _color(1, 1, 1, 1),
      _hullLength(0),
      _regionRotate(false),
      _regionDegrees(0) {}

MeshAttachment::~MeshAttachment() {}

void MeshAttachment::updateUVs() {
  const size_t count = _regionUVs.size();
  _uvs.setSize(count, 0);
  if (_uvs.size() < count) return;  // out of memory
  const float uA = _regionUMin, vA = _regionVMin, uB = _regionUMax, vB = _regionVMax;
  float textureWidth, textureHeight, baseU, baseV, W, H;
  switch (_regionDegrees) {
    case 90:
      textureWidth = _regionHeight / (uB - uA);
      textureHeight = _regionWidth / (vB - vA);
      baseU = uA - (_regionUntrimmedHeight - _regionOffsetY - _regionHeight) / textureWidth;
      baseV = vA - (_regionUntrimmedWidth - _regionOffsetX - _regionWidth) / textureHeight;
      W = _regionUntrimmedHeight / textureWidth;
      H = _regionUntrimmedWidth / textureHeight;
      for (size_t i = 0; i + 1 < count; i += 2) {
        _uvs[i] = baseU + _regionUVs[i + 1] * W;
        _uvs[i + 1] = baseV + (1 - _regionUVs[i]) * H;
      }
      return;
    case 180:
      textureWidth = _regionWidth / (uB - uA);
      textureHeight = _regionHeight / (vB - vA);
      baseU = uA - (_regionUntrimmedWidth - _regionOffsetX - _regionWidth) / textureWidth;
      baseV = vA - _regionOffsetY / textureHeight;
      W = _regionUntrimmedWidth / textureWidth;
      H = _regionUntrimmedHeight / textureHeight;
      for (size_t i = 0; i + 1 < count; i += 2) {
        _uvs[i] = baseU + (1 - _regionUVs[i]) * W;
        _uvs[i + 1] = baseV + (1 - _regionUVs[i + 1]) * H;
      }
      return;
    case 270:
      textureWidth = _regionHeight / (uB - uA);
      textureHeight = _regionWidth / (vB - vA);
      baseU = uA - _regionOffsetY / textureWidth;
      baseV = vA - _regionOffsetX / textureHeight;
      W = _regionUntrimmedHeight / textureWidth;
      H = _regionUntrimmedWidth / textureHeight;
      for (size_t i = 0; i + 1 < count; i += 2) {
        _uvs[i] = baseU + (1 - _regionUVs[i + 1]) * W;
        _uvs[i + 1] = baseV + _regionUVs[i] * H;
      }
      return;
    default:
      textureWidth = _regionWidth / (uB - uA);
      textureHeight = _regionHeight / (vB - vA);
      baseU = uA - _regionOffsetX / textureWidth;
      baseV = vA - (_regionUntrimmedHeight - _regionOffsetY - _regionHeight) / textureHeight;
      W = _regionUntrimmedWidth / textureWidth;
      H = _regionUntrimmedHeight / textureHeight;
      for (size_t i = 0; i + 1 < count; i += 2) {
        _uvs[i] = baseU + _regionUVs[i] * W;
        _uvs[i + 1] = baseV + _regionUVs[i + 1] * H;
      }
      return;
  }
}

void MeshAttachment::setParentMesh(MeshAttachment* parentMesh) {
  _parentMesh = parentMesh;
  if (!parentMesh || parentMesh == this) return;
  getBones() = parentMesh->getBones();
  getVertices() = parentMesh->getVertices();
  setWorldVerticesLength(parentMesh->getWorldVerticesLength());
  _regionUVs = parentMesh->_regionUVs;
  _triangles = parentMesh->_triangles;
  _hullLength = parentMesh->_hullLength;
  _edges = parentMesh->_edges;
  _width = parentMesh->_width;
  _height = parentMesh->_height;
}

void MeshAttachment::copyRegionTo(MeshAttachment* other) const {
  other->setRendererObject(getRendererObject());
  other->_regionUMin = _regionUMin;
  other->_regionVMin = _regionVMin;
  other->_regionUMax = _regionUMax;
  other->_regionVMax = _regionVMax;
  other->_regionRotate = _regionRotate;
  other->_regionDegrees = _regionDegrees;
  other->_regionOffsetX = _regionOffsetX;
  other->_regionOffsetY = _regionOffsetY;
  other->_regionWidth = _regionWidth;
  other->_regionHeight = _regionHeight;
  other->_regionUntrimmedWidth = _regionUntrimmedWidth;
  other->_regionUntrimmedHeight = _regionUntrimmedHeight;
  other->_path = _path;
  other->_color = _color;
}

Attachment* MeshAttachment::copy() {
  MeshAttachment* copy = new (__FILE__, __LINE__) MeshAttachment(getName());
  copyRegionTo(copy);
  copy->setDeformAttachment(getDeformAttachment());
  if (_parentMesh) {
    copy->setParentMesh(_parentMesh);
    copy->updateUVs();
    return copy;
  }
  copyTo(copy);
  copy->_regionUVs = _regionUVs;
  copy->_uvs = _uvs;
  copy->_triangles = _triangles;
  copy->_hullLength = _hullLength;
  copy->_edges = _edges;
  copy->_width = _width;
  copy->_height = _height;
  return copy;
}

}  // namespace skel
