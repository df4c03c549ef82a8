#include "skel/Skin.h"

#include "skel/Attachment.h"

namespace skel {

Skin::Skin(const String& name) : _name(name) {}

Skin::~Skin() {
  Vector<Vector<AttachmentMap::Entry>>& buckets = _attachments._buckets;
  for (size_t i = 0; i < buckets.size(); ++i) {
    Vector<AttachmentMap::Entry>& bucket = buckets[i];
    for (size_t j = 0; j < bucket.size(); ++j) release(bucket[j]._attachment);
  }
}

void Skin::release(Attachment* attachment) {
  if (!attachment) return;
  attachment->dereference();
  if (attachment->getRefCount() <= 0) delete attachment;
}

void Skin::setAttachment(size_t slotIndex, const String& name, Attachment* attachment) {
  Vector<Vector<AttachmentMap::Entry>>& buckets = _attachments._buckets;
  if (!attachment && slotIndex >= buckets.size()) return;
  if (slotIndex >= buckets.size()) {
    if (slotIndex == static_cast<size_t>(-1)) return;
    buckets.setSize(slotIndex + 1, Vector<AttachmentMap::Entry>());
    if (slotIndex >= buckets.size()) return;  // out of memory
  }
  Vector<AttachmentMap::Entry>& bucket = buckets[slotIndex];
  for (size_t i = 0; i < bucket.size(); ++i) {
    if (bucket[i]._name != name) continue;
    // Take the new reference before dropping the old one: re-setting the
    // same attachment must not delete it.
    if (attachment) attachment->reference();
    Attachment* old = bucket[i]._attachment;
    if (attachment) {
      bucket[i]._attachment = attachment;
    } else {
      bucket.removeAt(i);
    }
    release(old);
    return;
  }
  if (!attachment) return;
  attachment->reference();
  bucket.add(AttachmentMap::Entry(slotIndex, name, attachment));
}

Attachment* Skin::getAttachment(size_t slotIndex, const String& name) const {
  const Vector<Vector<AttachmentMap::Entry>>& buckets = _attachments._buckets;
  if (slotIndex >= buckets.size()) return nullptr;
  const Vector<AttachmentMap::Entry>& bucket = buckets[slotIndex];
  for (size_t i = 0; i < bucket.size(); ++i)
    if (bucket[i]._name == name) return bucket[i]._attachment;
  return nullptr;
}

void Skin::findAttachmentsForSlot(size_t slotIndex, Vector<Attachment*>& attachments) const {
  const Vector<Vector<AttachmentMap::Entry>>& buckets = _attachments._buckets;
  if (slotIndex >= buckets.size()) return;
  const Vector<AttachmentMap::Entry>& bucket = buckets[slotIndex];
  for (size_t i = 0; i < bucket.size(); ++i) attachments.add(bucket[i]._attachment);
}

}  // namespace skel
