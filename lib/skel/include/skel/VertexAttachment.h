/// @class skel::VertexAttachment
/// An attachment made of vertices that are bound to one bone or weighted
/// across several, posed into world space on demand.
#pragma once

#include <cstddef>

#include "skel/Attachment.h"
#include "skel/Vector.h"

namespace skel {

class Slot;

class VertexAttachment : public Attachment {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit VertexAttachment(const String& name);
  ~VertexAttachment() override;

  SKEL_RTTI_DECL

 public:
  /// Writes count / 2 world positions, the i-th at offset + i * stride, from the
  /// vertex start / 2 on. Short arrays are never read past: an unweighted
  /// vertex without values lands on the bone's origin, and missing or
  /// out-of-range bone entries of a weighted vertex add nothing.
  void computeWorldVertices(Slot& slot, size_t start, size_t count, float* worldVertices, size_t offset,
                            size_t stride = 2);
  /// The same, dropping whatever would fall outside the output vector.
  void computeWorldVertices(Slot& slot, size_t start, size_t count, Vector<float>& worldVertices, size_t offset,
                            size_t stride = 2);
  /// All world vertices, two floats each.
  void computeWorldVertices(Slot& slot, Vector<float>& worldVertices);

  /// The deform timelines' identity of this attachment.
  int getId() const { return _id; }

  /// The bones the vertices are bound to.
  /// Empty for unweighted vertices; else per vertex a bone count and that many bone indexes.
  /// @{
  Vector<unsigned long long>& getBones() { return _bones; }
  const Vector<unsigned long long>& getBones() const { return _bones; }
  /// @}
  /// The setup vertices: x, y pairs (unweighted) or x, y, weight triples per bone entry (weighted).
  /// @{
  Vector<float>& getVertices() { return _vertices; }
  const Vector<float>& getVertices() const { return _vertices; }
  /// @}
  /// Floats computeWorldVertices writes for all vertices: two per vertex.
  /// @{
  size_t getWorldVerticesLength() const { return _worldVerticesLength; }
  void setWorldVerticesLength(size_t v) { _worldVerticesLength = v; }
  /// @}
  /// The attachment whose deform keys apply to this one: itself, or a linked mesh's parent.
  /// @{
  VertexAttachment* getDeformAttachment() const { return _deformAttachment; }
  void setDeformAttachment(VertexAttachment* v) { _deformAttachment = v; }
  /// @}

  /// Bones, vertices, world length and deform attachment.
  void copyTo(VertexAttachment* other) const;

 private:
  void computeWorldVertices(Slot& slot, size_t start, size_t count, float* worldVertices, size_t outputSize,
                            size_t offset, size_t stride);

  Vector<unsigned long long> _bones;
  Vector<float> _vertices;
  size_t _worldVerticesLength;
  VertexAttachment* _deformAttachment;
  const int _id;
};

}  // namespace skel
