/// @class skel::ClippingAttachment
/// A polygon that clips the slots drawn after it, up to its end slot.
#pragma once

#include "skel/VertexAttachment.h"

namespace skel {

class SlotData;

class ClippingAttachment : public VertexAttachment {
 public:
  /// An empty polygon named name, the skin's key for it.
  explicit ClippingAttachment(const String& name);
  ~ClippingAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;

  /// The last slot clipped; null clips to the end of the draw order.
  /// @{
  SlotData* getEndSlot() const { return _endSlot; }
  void setEndSlot(SlotData* v) { _endSlot = v; }
  /// @}

 private:
  SlotData* _endSlot;
};

}  // namespace skel
