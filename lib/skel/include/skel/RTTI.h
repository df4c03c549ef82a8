/// @class skel::RTTI
/// The runtime's own class identity: one static record per class, holding the
/// class name and the record of its base. Classes match by name, byte for byte.
#pragma once

#include <cstring>

namespace skel {

class RTTI {
 public:
  /// The record of a class, and of a class derived from the one baseRTTI describes.
  /// @{
  explicit RTTI(const char* className);
  RTTI(const char* className, const RTTI& baseRTTI);
  /// @}
  RTTI(const RTTI&) = delete;
  RTTI& operator=(const RTTI&) = delete;

  /// The class name, and the base's record (null for a root class).
  /// @{
  const char* getClassName() const { return _className; }
  const RTTI* getBase() const { return _base; }
  /// @}

  /// Whether rtti is this class's own record.
  /// Inline, and settled without a byte comparison for the same record, the
  /// same text or a different first letter: the pose asks this per timeline
  /// and per slot every frame.
  bool isExactly(const RTTI& rtti) const {
    return this == &rtti || _className == rtti._className ||
           (_className[0] == rtti._className[0] && std::strcmp(_className, rtti._className) == 0);
  }
  /// True for the class itself and every class it derives from.
  bool instanceOf(const RTTI& rtti) const;

 private:
  const char* _className;
  const RTTI* _base;
};

}  // namespace skel

// In the class body of a class whose bases have no identity of their own.
#define SKEL_RTTI_ROOT_DECL     \
 public:                        \
  static const skel::RTTI rtti; \
  virtual const skel::RTTI& getRTTI() const;

// In the class body of a class that derives from one with an identity.
#define SKEL_RTTI_DECL          \
 public:                        \
  static const skel::RTTI rtti; \
  const skel::RTTI& getRTTI() const override;

// In the source file, at namespace scope inside namespace skel.
#define SKEL_RTTI_ROOT_IMPL(name)     \
  const skel::RTTI name::rtti(#name); \
  const skel::RTTI& name::getRTTI() const { return rtti; }

#define SKEL_RTTI_IMPL(name, base)                \
  const skel::RTTI name::rtti(#name, base::rtti); \
  const skel::RTTI& name::getRTTI() const { return rtti; }
