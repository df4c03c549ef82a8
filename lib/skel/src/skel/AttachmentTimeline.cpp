#include "skel/AttachmentTimeline.h"

#include "skel/Skeleton.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skel {

SKEL_RTTI_IMPL(AttachmentTimeline, Timeline)

AttachmentTimeline::AttachmentTimeline(size_t frameCount) : Timeline(frameCount, 1), _slotIndex(0) {
  _attachmentNames.setSize(frameCount, String());
}

AttachmentTimeline::~AttachmentTimeline() {}

int AttachmentTimeline::getPropertyId() const { return propertyId(TimelineType::Attachment, _slotIndex); }

void AttachmentTimeline::setFrame(size_t frameIndex, float time, const String& attachmentName) {
  if (frameIndex >= _frames.size() || frameIndex >= _attachmentNames.size()) return;
  _frames[frameIndex] = time;
  _attachmentNames[frameIndex] = attachmentName;
}

const String* AttachmentTimeline::keyedName(float time) const {
  const size_t count = _frames.size();
  if (count == 0 || time < _frames[0]) return nullptr;
  const size_t frameIndex = atOrAfter(time, _frames[count - 1]) ? count - 1 : search(_frames, time) - 1;
  return frameIndex < _attachmentNames.size() ? &_attachmentNames[frameIndex] : nullptr;
}

void AttachmentTimeline::setAttachment(Skeleton& skeleton, Slot& slot, const String& attachmentName) {
  slot.setAttachment(attachmentName.isEmpty() ? nullptr
                                              : skeleton.getAttachment(slot.getData().getIndex(), attachmentName));
}

void AttachmentTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float, MixBlend blend,
                               MixDirection direction) {
  Slot* slot = activeSlot(skeleton, _slotIndex);
  if (!slot) return;
  const String& setupName = slot->getData().getAttachmentName();

  if (direction == MixDirection::Out) {
    if (blend == MixBlend::Setup) setAttachment(skeleton, *slot, setupName);
    return;
  }
  if (_frames.size() == 0) return;
  if (time < _frames[0]) {
    if (blend == MixBlend::Setup || blend == MixBlend::First) setAttachment(skeleton, *slot, setupName);
    return;
  }
  if (const String* name = keyedName(time)) setAttachment(skeleton, *slot, *name);
}

}  // namespace skel
