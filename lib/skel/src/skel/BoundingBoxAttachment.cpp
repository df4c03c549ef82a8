#include "skel/BoundingBoxAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(BoundingBoxAttachment, VertexAttachment)

BoundingBoxAttachment::BoundingBoxAttachment(const String& name) : VertexAttachment(name) {}

BoundingBoxAttachment::~BoundingBoxAttachment() {}

Attachment* BoundingBoxAttachment::copy() {
  BoundingBoxAttachment* copy = new (__FILE__, __LINE__) BoundingBoxAttachment(getName());
  copyTo(copy);
  return copy;
}

}  // namespace skel
