#include "skel/PathAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(PathAttachment, VertexAttachment)

PathAttachment::PathAttachment(const String& name) : VertexAttachment(name), _closed(false), _constantSpeed(false) {}

PathAttachment::~PathAttachment() {}

Attachment* PathAttachment::copy() {
  PathAttachment* copy = new (__FILE__, __LINE__) PathAttachment(getName());
  copyTo(copy);
  copy->_lengths = _lengths;
  copy->_closed = _closed;
  copy->_constantSpeed = _constantSpeed;
  return copy;
}

}  // namespace skel
