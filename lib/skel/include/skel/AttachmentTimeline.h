/// @class skel::AttachmentTimeline
/// Keys of the attachment a slot shows, by name; an empty name shows nothing.
#pragma once

#include "skel/String.h"
#include "skel/Timeline.h"

namespace skel {

class AttachmentTimeline : public Timeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit AttachmentTimeline(size_t frameCount);
  ~AttachmentTimeline() override;

  SKEL_RTTI_DECL

 public:
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, const String& attachmentName);

  /// The name keyed at time, or null before the first key (or without keys).
  const String* keyedName(float time) const;

  /// The index in the skeleton of the slot the keys apply to.
  /// @{
  int getSlotIndex() const { return _slotIndex; }
  void setSlotIndex(int v) { _slotIndex = v; }
  Vector<String>& getAttachmentNames() { return _attachmentNames; }
  const Vector<String>& getAttachmentNames() const { return _attachmentNames; }

  /// Shows the named attachment of the skeleton's skins on the slot, or none for an empty name.
  static void setAttachment(Skeleton& skeleton, Slot& slot, const String& attachmentName);

 private:
  int _slotIndex;
  Vector<String> _attachmentNames;
};

}  // namespace skel
