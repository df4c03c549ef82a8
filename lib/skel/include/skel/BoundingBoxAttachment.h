/// @class skel::BoundingBoxAttachment
/// A polygon for hit testing; it is never drawn.
#pragma once

#include "skel/VertexAttachment.h"

namespace skel {

class BoundingBoxAttachment : public VertexAttachment {
 public:
  /// An empty polygon named name, the skin's key for it.
  explicit BoundingBoxAttachment(const String& name);
  ~BoundingBoxAttachment() override;

  SKEL_RTTI_DECL

 public:
  Attachment* copy() override;
};

}  // namespace skel
