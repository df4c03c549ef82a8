#include "skel/Slot.h"

#include "skel/Bone.h"
#include "skel/Skeleton.h"
#include "skel/SlotData.h"

namespace skel {

Slot::Slot(SlotData& data, Bone& bone)
    : _data(data),
      _bone(bone),
      _skeleton(bone.getSkeleton()),
      _color(1, 1, 1, 1),
      _darkColor(0, 0, 0, 0),
      _hasDarkColor(data.hasDarkColor()),
      _attachment(nullptr),
      _attachmentState(0),
      _attachmentTime(0) {
  setToSetupPose();
}

Slot::~Slot() {}

void Slot::setAttachment(Attachment* attachment) {
  if (_attachment == attachment) return;
  _attachment = attachment;
  _attachmentTime = _skeleton.getTime();
  _deform.clear();
}

void Slot::setToSetupPose() {
  _color.set(_data.getColor());
  if (_hasDarkColor) _darkColor.set(_data.getDarkColor());
  if (_data.getAttachmentName().isEmpty()) {
    setAttachment(nullptr);
    return;
  }
  _attachment = nullptr;
  setAttachment(_skeleton.getAttachment(_data.getIndex(), _data.getAttachmentName()));
}

}  // namespace skel
