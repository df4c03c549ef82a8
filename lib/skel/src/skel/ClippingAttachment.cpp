#include "skel/ClippingAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(ClippingAttachment, VertexAttachment)

ClippingAttachment::ClippingAttachment(const String& name) : VertexAttachment(name), _endSlot(nullptr) {}

ClippingAttachment::~ClippingAttachment() {}

Attachment* ClippingAttachment::copy() {
  ClippingAttachment* copy = new (__FILE__, __LINE__) ClippingAttachment(getName());
  copyTo(copy);
  copy->_endSlot = _endSlot;
  return copy;
}

}  // namespace skel
