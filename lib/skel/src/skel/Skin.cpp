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

bool Skin::setAttachment(size_t slotIndex, const String& name, Attachment* attachment) {
  Vector<Vector<AttachmentMap::Entry>>& buckets = _attachments._buckets;
  if (!attachment && slotIndex >= buckets.size()) return true;
  if (slotIndex >= buckets.size()) {
    if (slotIndex == static_cast<size_t>(-1)) return false;
    buckets.setSize(slotIndex + 1, Vector<AttachmentMap::Entry>());
    if (slotIndex >= buckets.size()) return false;
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
    return true;
  }
  if (!attachment) return true;
  // The name is copied twice on the way in; an entry whose copy came out
  // empty could never be found and is not kept.
  if (!bucket.add(AttachmentMap::Entry(slotIndex, name, attachment))) return false;
  if (bucket[bucket.size() - 1]._name != name) {
    bucket.removeAt(bucket.size() - 1);
    return false;
  }
  attachment->reference();
  return true;
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
