/// @class skel::MeshAttachment
/// A deformable textured mesh cut from an atlas region. A linked mesh shares
/// the geometry of its parent mesh.
#pragma once

#include "skel/Color.h"
#include "skel/HasRendererObject.h"
#include "skel/VertexAttachment.h"

namespace skel {

class MeshAttachment : public VertexAttachment, public HasRendererObject {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit MeshAttachment(const String& name);
  ~MeshAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  /// Maps the region UVs onto the atlas rectangle, undoing the region's
  /// stored rotation (0, 90, 180 or 270 degrees) and whitespace stripping.
  void updateUVs();

  /// Takes the parent's geometry (not its UVs); null unlinks and keeps the geometry.
  /// @{
  void setParentMesh(MeshAttachment* parentMesh);
  MeshAttachment* getParentMesh() const { return _parentMesh; }
  /// @}

  /// The atlas region: its offset and size once whitespace was stripped, its size before,
  /// its texture rectangle (u, v from 0 to 1) and whether and how far it is turned on the page.
  /// @{
  float getRegionOffsetX() const { return _regionOffsetX; }
  void setRegionOffsetX(float v) { _regionOffsetX = v; }
  float getRegionOffsetY() const { return _regionOffsetY; }
  void setRegionOffsetY(float v) { _regionOffsetY = v; }
  float getRegionWidth() const { return _regionWidth; }
  void setRegionWidth(float v) { _regionWidth = v; }
  float getRegionHeight() const { return _regionHeight; }
  void setRegionHeight(float v) { _regionHeight = v; }
  float getRegionUntrimmedWidth() const { return _regionUntrimmedWidth; }
  void setRegionUntrimmedWidth(float v) { _regionUntrimmedWidth = v; }
  float getRegionUntrimmedHeight() const { return _regionUntrimmedHeight; }
  void setRegionUntrimmedHeight(float v) { _regionUntrimmedHeight = v; }
  float getRegionUMin() const { return _regionUMin; }
  void setRegionUMin(float v) { _regionUMin = v; }
  float getRegionVMin() const { return _regionVMin; }
  void setRegionVMin(float v) { _regionVMin = v; }
  float getRegionUMax() const { return _regionUMax; }
  void setRegionUMax(float v) { _regionUMax = v; }
  float getRegionVMax() const { return _regionVMax; }
  void setRegionVMax(float v) { _regionVMax = v; }
  bool getRegionRotate() const { return _regionRotate; }
  void setRegionRotate(bool v) { _regionRotate = v; }
  int getRegionDegrees() const { return _regionDegrees; }
  void setRegionDegrees(int v) { _regionDegrees = v; }
  /// @}

  /// Texture coordinates on the page (by updateUVs), and relative to the region (as loaded).
  /// @{
  Vector<float>& getUVs() { return _uvs; }
  const Vector<float>& getUVs() const { return _uvs; }
  Vector<float>& getRegionUVs() { return _regionUVs; }
  const Vector<float>& getRegionUVs() const { return _regionUVs; }
  /// @}
  /// Vertex indices, three per triangle, and the edges of the hull (pairs, for debug drawing).
  /// @{
  Vector<unsigned short>& getTriangles() { return _triangles; }
  const Vector<unsigned short>& getTriangles() const { return _triangles; }
  Vector<unsigned short>& getEdges() { return _edges; }
  const Vector<unsigned short>& getEdges() const { return _edges; }
  /// @}
  /// The region's name in the atlas, the mesh's size in the editor, its tint,
  /// and the hull length the file gives.
  /// @{
  const String& getPath() const { return _path; }
  void setPath(const String& v) { _path = v; }
  float getWidth() const { return _width; }
  void setWidth(float v) { _width = v; }
  float getHeight() const { return _height; }
  void setHeight(float v) { _height = v; }
  Color& getColor() { return _color; }
  const Color& getColor() const { return _color; }
  int getHullLength() const { return _hullLength; }
  void setHullLength(int v) { _hullLength = v; }
  /// @}

 private:
  void copyRegionTo(MeshAttachment* other) const;

  float _regionOffsetX, _regionOffsetY, _regionWidth, _regionHeight;
  float _regionUntrimmedWidth, _regionUntrimmedHeight;
  MeshAttachment* _parentMesh;
  Vector<float> _uvs;
  Vector<float> _regionUVs;
  Vector<unsigned short> _triangles;
  Vector<unsigned short> _edges;
  String _path;
  float _regionUMin, _regionVMin, _regionUMax, _regionVMax;
  float _width, _height;
  Color _color;
  int _hullLength;
  bool _regionRotate;
  int _regionDegrees;
};

}  // namespace skel
