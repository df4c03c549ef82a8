/// @class skel::ClippingAttachment
/// A polygon that clips the slots drawn after it, up to its end slot.
#pragma once

#include "skel/VertexAttachment.h"

namespace skel {

class SlotData;

class ClippingAttachment : public VertexAttachment {
 public:
  explicit ClippingAttachment(const String& name);
  ~ClippingAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  SlotData* getEndSlot() const { return _endSlot; }
  void setEndSlot(SlotData* v) { _endSlot = v; }

 private:
  SlotData* _endSlot;
};

}  // namespace skel
