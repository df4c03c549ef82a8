/// @class TarnFramework::VArray
/// The framework's plain list of object pointers. It never owns what it
/// points to, and grows by exactly one slot per insertion (lists stay tiny).
#pragma once

#include <cstdint>

namespace TarnFramework {

template <class T>
class VArray {
 public:
  VArray() = default;
  VArray(const VArray&) = delete;
  VArray& operator=(const VArray&) = delete;
  virtual ~VArray() { Clear(); }

  /// Appends item; always true.
  bool Push(T* item) {
    T** grown = new T*[count + 1];
    for (int32_t i = 0; i < count; ++i) grown[i] = items[i];
    grown[count] = item;
    delete[] items;
    items = grown;
    ++count;
    return true;
  }

  /// Drops every occurrence of item; false when absent.
  bool Remove(T* item) {
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) kept += items[i] != item;
    if (!item || kept == count) return false;
    T** shrunk = kept ? new T*[kept] : nullptr;
    for (int32_t i = 0, k = 0; i < count; ++i) {
      if (items[i] != item) shrunk[k++] = items[i];
    }
    delete[] items;
    items = shrunk;
    count = kept;
    return true;
  }

  /// Removes the last item (the stack use of the render-target list).
  T* Pop() {
    if (count == 0) return nullptr;
    T* last = items[count - 1];
    if (--count == 0) {
      delete[] items;
      items = nullptr;
    }
    return last;
  }

  /// The last item (null when empty), and the item at i, which must be below count.
  /// @{
  T* Last() const { return count ? items[count - 1] : nullptr; }
  T* operator[](int32_t i) const { return items[i]; }
  /// @}

  /// Empties the list; the items are not deleted.
  virtual void Clear() {
    delete[] items;
    items = nullptr;
    count = 0;
  }

  /// The number of items, and the items.
  /// @{
  int32_t count = 0;
  T** items = nullptr;
  /// @}
};

}  // namespace TarnFramework
