/// @class skel::NameIndex
/// Finds an item of a named list in constant time while keeping the list's own
/// meaning: names are compared byte for byte and the first one in list order
/// wins. The index follows the list as it is filled in order (the readers size
/// some lists first and fill them one by one) and starts again when items are
/// removed; an item replaced in place, under another name, is not followed.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

/// An item's name; a type that keeps it elsewhere has an overload beside it.
template <typename T>
const String& itemName(const T& item) {
  return item.getName();
}

class NameIndex : public SkelObject {
 public:
  NameIndex() : _indexed(0), _named(0), _last(nullptr) {}

  /// The first item of items named name, or null. A lookup first indexes
  /// what was added since the last one; once a list is complete and indexed
  /// (see update), lookups only read and may run on several threads at once.
  template <typename T>
  T* find(const Vector<T*>& items, const String& name) const {
    update(items);
    const size_t found = lookup(name, [&](size_t i) { return &itemName(*items[i]); });
    if (found != NotFound) return items[found];
    // Items after an empty place are not indexed yet: look at them as they are.
    for (size_t i = _indexed; i < items.size(); ++i)
      if (items[i] && itemName(*items[i]) == name) return items[i];
    return nullptr;
  }

  /// Indexes the list up to its first empty place.
  template <typename T>
  void update(const Vector<T*>& items) const {
    // Removed items shift the rest: the last item indexed is then gone from
    // its place, and the index starts over.
    if (items.size() < _indexed || (_indexed > 0 && items[_indexed - 1] != _last)) clear();
    // Out of memory, the rest stays unindexed and is looked at as it is.
    for (; _indexed < items.size() && items[_indexed]; ++_indexed)
      if (!add(_indexed, itemName(*items[_indexed]), [&](size_t i) { return &itemName(*items[i]); })) break;
    if (_indexed > 0) _last = items[_indexed - 1];
  }

  /// FNV-1a over a name's bytes.
  static size_t hashName(const String& name);

 private:
  static constexpr size_t NotFound = static_cast<size_t>(-1);

  template <typename NameOf>
  size_t lookup(const String& name, NameOf nameOf) const {
    if (_slots.size() == 0) return NotFound;
    const size_t mask = _slots.size() - 1;
    for (size_t s = hash(name) & mask;; s = (s + 1) & mask) {
      const size_t i = _slots[s];
      if (i == NotFound || *nameOf(i) == name) return i;
    }
  }

  // False when memory ran out and the table has no free slot to spare.
  template <typename NameOf>
  bool add(size_t index, const String& name, NameOf nameOf) const {
    // At most half full, so that probe runs stay short; fuller only when
    // memory runs out, but always with a free slot to end a probe.
    if (2 * (_named + 1) > _slots.size() && !grow(nameOf) && _named + 1 >= _slots.size()) return false;
    const size_t mask = _slots.size() - 1;
    for (size_t s = hash(name) & mask;; s = (s + 1) & mask) {
      const size_t i = _slots[s];
      if (i == NotFound) {
        _slots[s] = index;
        ++_named;
        return true;
      }
      // A later item of the same name is never found: the first one wins.
      if (*nameOf(i) == name) return true;
    }
  }

  // The table stays as it was when memory runs out.
  template <typename NameOf>
  bool grow(NameOf nameOf) const {
    const size_t capacity = _slots.size() ? _slots.size() * 2 : 16;
    Vector<size_t> grown;
    grown.setSize(capacity, NotFound);
    if (grown.size() != capacity) return false;
    const size_t mask = capacity - 1;
    for (size_t k = 0; k < _slots.size(); ++k) {
      if (_slots[k] == NotFound) continue;
      size_t s = hash(*nameOf(_slots[k])) & mask;
      while (grown[s] != NotFound) s = (s + 1) & mask;
      grown[s] = _slots[k];
    }
    _slots.swap(grown);
    return true;
  }

  void clear() const;
  static size_t hash(const String& name) { return hashName(name); }

  mutable Vector<size_t> _slots;  // list positions, NotFound where empty
  mutable size_t _indexed;        // the list's first items, all indexed
  mutable size_t _named;          // slots in use
  mutable const void* _last;      // the last item indexed
};

}  // namespace skel
