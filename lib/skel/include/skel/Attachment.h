/// @class skel::Attachment
/// Something a slot shows or uses. Skins share attachments by reference count.
#pragma once

#include "skel/RTTI.h"
#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class Attachment : public SkelObject {
 public:
  /// An empty attachment named name, the skin's key for it.
  explicit Attachment(const String& name);
  ~Attachment() override;

  SKEL_RTTI_ROOT_DECL

 public:
  /// A new attachment of the same class holding the same values.
  /// A new attachment with the same setup, owned by the caller.
  virtual Attachment* copy() = 0;

  /// The name the skin knows it by.
  const String& getName() const { return _name; }
  /// How many skin entries hold the attachment; a skin deletes it when the last lets go.
  /// @{
  int getRefCount() const { return _refCount; }
  void reference() { ++_refCount; }
  void dereference() { --_refCount; }
  /// @}

 private:
  const String _name;
  int _refCount;
};

}  // namespace skel
