/// @class skel::Attachment
/// Something a slot shows or uses. Skins share attachments by reference count.
#pragma once

#include "skel/RTTI.h"
#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class Attachment : public SkelObject {
 public:
  explicit Attachment(const String& name);
  ~Attachment() override;

  SKEL_RTTI_ROOT_DECL

 public:
  /// A new attachment of the same class holding the same values.
  virtual Attachment* copy() = 0;

  const String& getName() const { return _name; }
  int getRefCount() const { return _refCount; }
  void reference() { ++_refCount; }
  void dereference() { --_refCount; }

 private:
  const String _name;
  int _refCount;
};

}  // namespace skel
