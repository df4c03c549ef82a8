/// @class skel::Vector
/// A growable array owned by value, its buffer taken from the process extension.
#pragma once

#include <cassert>
#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "skel/SkelExtension.h"
#include "skel/SkelObject.h"

namespace skel {

template <typename T>
class Vector : public SkelObject {
 public:
  /// An empty vector, or a copy; a copy that runs out of memory is empty.
  /// @{
  Vector() : _size(0), _capacity(0), _buffer(nullptr) {}

  Vector(const Vector& other) : _size(0), _capacity(0), _buffer(nullptr) {
    if (other._size == 0) return;
    if (!reserveExactly(other._size)) return;
    for (size_t i = 0; i < other._size; ++i) ::new (static_cast<void*>(_buffer + i)) T(other._buffer[i]);
    _size = other._size;
  }
  /// @}

  /// Takes other's elements and memory, leaving it empty; allocates nothing.
  Vector(Vector&& other) noexcept : _size(0), _capacity(0), _buffer(nullptr) { swap(other); }

  ~Vector() override {
    clear();
    SkelExtension::free(_buffer, __FILE__, __LINE__);
  }

  /// Replaces the elements with copies of other's; empty when memory runs out.
  Vector& operator=(const Vector& other) {
    if (this == &other) return *this;
    clear();
    if (!ensureCapacity(other._size)) return *this;
    for (size_t i = 0; i < other._size; ++i) ::new (static_cast<void*>(_buffer + i)) T(other._buffer[i]);
    _size = other._size;
    return *this;
  }

  /// The number of elements, the room for them, and whether there are none.
  /// @{
  size_t size() const { return _size; }
  size_t getCapacity() const { return _capacity; }
  bool isEmpty() const { return _size == 0; }
  /// @}
  /// The elements, contiguous; null while nothing was ever reserved.
  /// @{
  T* buffer() { return _buffer; }
  const T* buffer() const { return _buffer; }
  /// @}

  /// The element at index, which must be below size().
  /// @{
  T& operator[](size_t index) {
    assert(index < _size);
    return _buffer[index];
  }
  const T& operator[](size_t index) const {
    assert(index < _size);
    return _buffer[index];
  }
  /// @}

  /// The first element and the end, for range loops.
  /// @{
  T* begin() { return _buffer; }
  T* end() { return _buffer + _size; }
  const T* begin() const { return _buffer; }
  const T* end() const { return _buffer + _size; }
  /// @}

  /// Grows to size × 1.75 (at least 8) when full. The value is copied first,
  /// so adding an element of this vector is safe. False if memory ran out.
  bool add(const T& value) {
    if (_size == _capacity) {
      T copy(value);
      if (!reserveExactly(grownCapacity(_size))) return false;
      ::new (static_cast<void*>(_buffer + _size)) T(copy);
    } else {
      ::new (static_cast<void*>(_buffer + _size)) T(value);
    }
    ++_size;
    return true;
  }

  /// Appends copies of other's elements; adding a vector to itself doubles it.
  void addAll(const Vector& other) {
    if (&other == this) {
      Vector copy(other);
      addAll(copy);
      return;
    }
    ensureCapacity(_size + other._size);
    for (size_t i = 0; i < other._size; ++i) add(other._buffer[i]);
  }

  /// Growing fills the new slots with fill; shrinking drops the tail.
  void setSize(size_t newSize, const T& fill) {
    if (newSize <= _size) {
      destroyRange(newSize, _size);
      _size = newSize;
      return;
    }
    if (_capacity < newSize) {
      T copy(fill);
      if (!reserveExactly(grownCapacity(newSize))) return;
      for (size_t i = _size; i < newSize; ++i) ::new (static_cast<void*>(_buffer + i)) T(copy);
    } else {
      for (size_t i = _size; i < newSize; ++i) ::new (static_cast<void*>(_buffer + i)) T(fill);
    }
    _size = newSize;
  }

  /// Capacity becomes exactly n when it is below n. False if memory ran out.
  bool ensureCapacity(size_t n) {
    if (_capacity >= n) return true;
    return reserveExactly(n);
  }

  /// The elements after index keep their order.
  void removeAt(size_t index) {
    assert(index < _size);
    if (index >= _size) return;
    --_size;
    for (size_t i = index; i < _size; ++i) swapElements(_buffer[i], _buffer[i + 1]);
    _buffer[_size].~T();
  }

  /// Removes the first element equal to value; false if there is none.
  bool remove(const T& value) {
    long long i = indexOf(value);
    if (i < 0) return false;
    removeAt(static_cast<size_t>(i));
    return true;
  }

  /// Whether an element equals value, and the index of the first that does (-1 when none).
  /// @{
  bool contains(const T& value) const { return indexOf(value) >= 0; }

  long long indexOf(const T& value) const {
    for (size_t i = 0; i < _size; ++i)
      if (_buffer[i] == value) return static_cast<long long>(i);
    return -1;
  }
  /// @}

  /// Exchanges the elements and the memory of two vectors; allocates nothing.
  void swap(Vector& other) {
    size_t size = _size, capacity = _capacity;
    T* buffer = _buffer;
    _size = other._size;
    _capacity = other._capacity;
    _buffer = other._buffer;
    other._size = size;
    other._capacity = capacity;
    other._buffer = buffer;
  }

  /// Destroys every element; the capacity stays.
  void clear() {
    destroyRange(0, _size);
    _size = 0;
  }

  /// For vectors of owned pointers: deletes every element, last first.
  template <typename U = T>
  void clearAndDeleteAll() {
    static_assert(std::is_pointer<U>::value, "clearAndDeleteAll needs a vector of pointers");
    for (size_t i = _size; i-- > 0;) {
      delete _buffer[i];
      removeAt(i);
    }
  }

  friend bool operator==(const Vector& a, const Vector& b) {
    if (a._size != b._size) return false;
    for (size_t i = 0; i < a._size; ++i)
      if (!(a._buffer[i] == b._buffer[i])) return false;
    return true;
  }
  friend bool operator!=(const Vector& a, const Vector& b) { return !(a == b); }

 private:
  static size_t grownCapacity(size_t n) {
    size_t grown = static_cast<size_t>(static_cast<float>(n) * 1.75f);
    return grown < 8 ? 8 : grown;
  }

  static void swapElements(T& a, T& b) {
    T temp(a);
    a = b;
    b = temp;
  }

  void destroyRange(size_t from, size_t to) {
    if (!std::is_trivially_destructible<T>::value)
      for (size_t i = from; i < to; ++i) _buffer[i].~T();
  }

  // Elements with a vtable or owned memory are moved into the new block
  // rather than as bytes: moved, not copied, so that growing asks for no
  // memory of theirs that could fail.
  bool reserveExactly(size_t n) {
    if (std::is_trivially_copyable<T>::value) {
      T* grown = SkelExtension::realloc<T>(_buffer, n, __FILE__, __LINE__);
      if (!grown) return false;
      _buffer = grown;
    } else {
      T* grown = SkelExtension::alloc<T>(n, __FILE__, __LINE__);
      if (!grown) return false;
      for (size_t i = 0; i < _size; ++i) {
        ::new (static_cast<void*>(grown + i)) T(std::move(_buffer[i]));
        _buffer[i].~T();
      }
      SkelExtension::free(_buffer, __FILE__, __LINE__);
      _buffer = grown;
    }
    _capacity = n;
    return true;
  }

  size_t _size;
  size_t _capacity;
  T* _buffer;
};

}  // namespace skel
