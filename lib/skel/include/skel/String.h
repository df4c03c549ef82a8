/// @class skel::String
/// An owned byte string; its buffer comes from the process extension.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"

namespace skel {

class String : public SkelObject {
 public:
  String();
  /// Copies chars; null gives the empty string without a buffer.
  String(const char* chars);
  /// A string of chars, copied or taken.
  /// own: take chars (allocated through the extension) instead of copying.
  String(const char* chars, bool own);
  /// A copy with its own buffer.
  String(const String& other);
  /// Takes other's buffer, leaving it empty; allocates nothing.
  String(String&& other) noexcept : SkelObject(), _length(other._length), _buffer(other._buffer) { other.unown(); }
  ~String() override;

  /// Replaces the text with a copy.
  /// @{
  String& operator=(const String& other);
  String& operator=(const char* chars);
  /// @}

  /// The length in bytes, and whether it is zero.
  /// @{
  size_t length() const { return _length; }
  bool isEmpty() const { return _length == 0; }
  /// @}
  /// The bytes, zero-terminated; null for the empty string made from nothing.
  const char* buffer() const { return _buffer; }

  /// Drops the old text; null gives the empty string without a buffer.
  void set(const char* chars);
  /// Takes ownership of chars, which must come from the extension.
  void own(char* chars);
  /// Forgets the buffer without releasing it.
  void unown();

  /// Appends the text, or an integer in decimal.
  /// @{
  String& append(const String& other);
  String& append(const char* chars);
  String& append(long long value);
  /// @}
  /// Appends the float as decimal text with up to 9 significant digits.
  String& append(float value);

  /// Whether the first bytes are prefix's.
  bool startsWith(const String& prefix) const;
  /// The byte index of the last occurrence of c, or -1.
  long long lastIndexOf(char c) const;
  /// The bytes [start, start + count), clipped to the string.
  String substring(size_t start, size_t count) const;

  friend bool operator==(const String& a, const String& b);
  friend bool operator!=(const String& a, const String& b) { return !(a == b); }

 private:
  void appendBytes(const char* chars, size_t count);

  size_t _length;
  char* _buffer;
};

}  // namespace skel
