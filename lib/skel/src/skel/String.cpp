#include "skel/String.h"

#include <cstdio>
#include <cstring>

#include "skel/SkelExtension.h"

namespace skel {

namespace {

// A zero-filled copy of count bytes plus the terminator.
char* copyBytes(const char* chars, size_t count) {
  char* copy = SkelExtension::calloc<char>(count + 1, __FILE__, __LINE__);
  if (copy && count) std::memcpy(copy, chars, count);
  return copy;
}

}  // namespace

String::String() : _length(0), _buffer(nullptr) {}

String::String(const char* chars) : _length(0), _buffer(nullptr) { set(chars); }

String::String(const char* chars, bool own) : _length(0), _buffer(nullptr) {
  if (own)
    this->own(const_cast<char*>(chars));
  else
    set(chars);
}

String::String(const String& other) : SkelObject(), _length(0), _buffer(nullptr) {
  if (!other._buffer) return;
  _buffer = copyBytes(other._buffer, other._length);
  if (_buffer) _length = other._length;
}

String::~String() { SkelExtension::free(_buffer, __FILE__, __LINE__); }

String& String::operator=(const String& other) {
  if (this == &other) return *this;
  SkelExtension::free(_buffer, __FILE__, __LINE__);
  _buffer = nullptr;
  _length = 0;
  if (other._buffer) {
    _buffer = copyBytes(other._buffer, other._length);
    if (_buffer) _length = other._length;
  }
  return *this;
}

String& String::operator=(const char* chars) {
  set(chars);
  return *this;
}

void String::set(const char* chars) {
  if (chars && chars == _buffer) return;
  char* copy = chars ? copyBytes(chars, std::strlen(chars)) : nullptr;
  SkelExtension::free(_buffer, __FILE__, __LINE__);
  _buffer = copy;
  _length = copy ? std::strlen(copy) : 0;
}

void String::own(char* chars) {
  if (chars == _buffer) return;
  SkelExtension::free(_buffer, __FILE__, __LINE__);
  _buffer = chars;
  _length = chars ? std::strlen(chars) : 0;
}

void String::unown() {
  _buffer = nullptr;
  _length = 0;
}

void String::appendBytes(const char* chars, size_t count) {
  size_t joined = _length + count;
  char* grown = SkelExtension::realloc<char>(_buffer, joined + 1, __FILE__, __LINE__);
  if (!grown) return;
  if (count) std::memcpy(grown + _length, chars, count);
  grown[joined] = 0;
  _buffer = grown;
  _length = joined;
}

String& String::append(const String& other) {
  // Appending a string to itself reads the bytes before they move.
  if (&other == this) {
    String copy(other);
    return append(copy);
  }
  appendBytes(other._buffer ? other._buffer : "", other._length);
  return *this;
}

String& String::append(const char* chars) {
  if (chars && chars == _buffer) {
    String copy(*this);
    return append(copy);
  }
  if (chars)
    appendBytes(chars, std::strlen(chars));
  else
    appendBytes("", 0);
  return *this;
}

String& String::append(long long value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%lld", value);
  return append(text);
}

String& String::append(float value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
  return append(text);
}

bool String::startsWith(const String& prefix) const {
  if (prefix._length > _length) return false;
  if (prefix._length == 0) return true;
  return std::memcmp(_buffer, prefix._buffer, prefix._length) == 0;
}

long long String::lastIndexOf(char c) const {
  for (size_t i = _length; i-- > 0;)
    if (_buffer[i] == c) return static_cast<long long>(i);
  return -1;
}

String String::substring(size_t start, size_t count) const {
  if (start >= _length) return String("");
  if (count > _length - start) count = _length - start;
  String result;
  result._buffer = copyBytes(_buffer + start, count);
  if (result._buffer) result._length = count;
  return result;
}

bool operator==(const String& a, const String& b) {
  if (a._buffer == b._buffer) return true;
  if (!a._buffer || !b._buffer) return false;
  if (a._length != b._length) return false;
  return std::strcmp(a._buffer, b._buffer) == 0;
}

}  // namespace skel
