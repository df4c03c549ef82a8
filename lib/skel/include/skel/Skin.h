/// @class skel::Skin
/// A named set of attachments keyed by slot index and attachment name, plus
/// the skin-required bones and constraints it switches on.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class Attachment;
class BoneData;
class ConstraintData;

class Skin : public SkelObject {
 public:
  /// The skin's attachments, found by slot index and name.
  class AttachmentMap : public SkelObject {
   public:
    /// One attachment under its slot index and name.
    class Entry {
     public:
      /// The entry does not take a reference; the skin does.
      Entry(size_t slotIndex, const String& name, Attachment* attachment)
          : _slotIndex(slotIndex), _name(name), _attachment(attachment) {}

      /// The key and the attachment held under it.
      /// @{
      size_t _slotIndex;
      String _name;
      Attachment* _attachment;
      /// @}
    };

    /// One bucket per slot index, each in insertion order.
    /// @{
    Vector<Vector<Entry>>& getBuckets() { return _buckets; }
    const Vector<Vector<Entry>>& getBuckets() const { return _buckets; }
    /// @}

   private:
    friend class Skin;
    Vector<Vector<Entry>> _buckets;
  };

  /// An empty skin; name is how the skeleton data finds it.
  explicit Skin(const String& name);
  /// Drops this skin's reference to every attachment, deleting the unshared ones.
  ~Skin() override;

  /// Replaces an entry with the same slot index and name; a null attachment
  /// removes the entry. The skin holds one reference to the attachment.
  /// False when memory ran out: the skin then neither holds nor references it.
  bool setAttachment(size_t slotIndex, const String& name, Attachment* attachment);
  /// The attachment under the slot index and name; null when not held.
  Attachment* getAttachment(size_t slotIndex, const String& name) const;

  /// Every attachment held for a slot index, in insertion order.
  void findAttachmentsForSlot(size_t slotIndex, Vector<Attachment*>& attachments) const;

  /// The skin's name.
  const String& getName() const { return _name; }
  /// Every attachment of the skin.
  /// @{
  AttachmentMap& getAttachments() { return _attachments; }
  const AttachmentMap& getAttachments() const { return _attachments; }
  /// @}
  /// The skin-required bones and constraints the skin switches on.
  /// @{
  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  Vector<ConstraintData*>& getConstraints() { return _constraints; }
  const Vector<ConstraintData*>& getConstraints() const { return _constraints; }
  /// @}

 private:
  static void release(Attachment* attachment);

  const String _name;
  AttachmentMap _attachments;
  Vector<BoneData*> _bones;
  Vector<ConstraintData*> _constraints;
};

}  // namespace skel
