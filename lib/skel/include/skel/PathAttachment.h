/// @class skel::PathAttachment
/// A chain of cubic Bezier curves that a path constraint lays bones along.
#pragma once

#include "skel/VertexAttachment.h"

namespace skel {

class PathAttachment : public VertexAttachment {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit PathAttachment(const String& name);
  ~PathAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  /// Cumulative curve lengths.
  /// @{
  Vector<float>& getLengths() { return _lengths; }
  const Vector<float>& getLengths() const { return _lengths; }
  /// @}
  /// Whether the last curve joins the first, and whether bones are spaced by length along the curves
  /// rather than by the curves' own parameter.
  /// @{
  bool isClosed() const { return _closed; }
  void setClosed(bool v) { _closed = v; }
  bool isConstantSpeed() const { return _constantSpeed; }
  void setConstantSpeed(bool v) { _constantSpeed = v; }
  /// @}

 private:
  Vector<float> _lengths;
  bool _closed;
  bool _constantSpeed;
};

}  // namespace skel
