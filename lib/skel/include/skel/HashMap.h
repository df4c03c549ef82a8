/// @class skel::HashMap
/// A doubly linked list of entries, newest first, with hash buckets over it
/// so that a key is found in constant time however many there are (an
/// animation keys one timeline per bone, and rigs have thousands). A key type
/// has a hashKey overload beside it that agrees with its ==.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

/// The hash of an int key, such as a timeline's property id.
inline size_t hashKey(int key) {
  // Property ids differ in their low bits and in their type byte: mix both down.
  uint64_t h = static_cast<uint32_t>(key) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(h ^ (h >> 29));
}

template <typename K, typename V>
class HashMap : public SkelObject {
 public:
  /// One key and its value, linked into the list and into its bucket.
  class Entry : public SkelObject {
   public:
    /// An unlinked entry holding k and v.
    Entry(const K& k, const V& v) : key(k), value(v), next(nullptr), prev(nullptr), chain(nullptr) {}
    /// The key and its value.
    /// @{
    K key;
    V value;
    /// @}
    Entry* next;   ///< The next older entry.
    Entry* prev;   ///< The next newer entry.
    Entry* chain;  ///< The next entry in the same bucket.
  };

  HashMap() : _head(nullptr), _size(0) {}
  HashMap(const HashMap&) = delete;
  HashMap& operator=(const HashMap&) = delete;
  ~HashMap() override { clear(); }

  /// An equal key has its key and value overwritten; a new key goes in front.
  /// When memory runs out, the map stays as it was and false is given.
  bool put(const K& key, const V& value) {
    if (Entry* entry = findEntry(key)) {
      entry->key = key;
      entry->value = value;
      return true;
    }
    Entry* entry = new (__FILE__, __LINE__) Entry(key, value);
    if (!entry) return false;
    // At most one entry per bucket on average; more only when memory runs out.
    if (_size + 1 > _buckets.size() && !rehash(_buckets.size() ? 2 * _buckets.size() : 8) && _buckets.size() == 0) {
      delete entry;
      return false;
    }
    entry->next = _head;
    if (_head) _head->prev = entry;
    _head = entry;
    ++_size;
    link(entry);
    return true;
  }

  /// Whether an equal key is held.
  bool containsKey(const K& key) const { return findEntry(key) != nullptr; }

  /// The value of the first equal key, or null.
  /// @{
  V* find(const K& key) {
    Entry* entry = findEntry(key);
    return entry ? &entry->value : nullptr;
  }
  const V* find(const K& key) const {
    const Entry* entry = findEntry(key);
    return entry ? &entry->value : nullptr;
  }
  /// @}

  /// Removes the key's entry; false when the key is absent.
  bool remove(const K& key) {
    Entry* entry = findEntry(key);
    if (!entry) return false;
    if (entry->prev)
      entry->prev->next = entry->next;
    else
      _head = entry->next;
    if (entry->next) entry->next->prev = entry->prev;
    Entry** at = &_buckets[bucketOf(key)];
    while (*at != entry) at = &(*at)->chain;
    *at = entry->chain;
    delete entry;
    --_size;
    return true;
  }

  /// Deletes every entry.
  void clear() {
    Entry* entry = _head;
    while (entry) {
      Entry* next = entry->next;
      delete entry;
      entry = next;
    }
    _head = nullptr;
    _size = 0;
    _buckets.clear();
  }

  /// The number of entries.
  size_t size() const { return _size; }
  /// The newest entry; follow next for older ones.
  Entry* getHead() const { return _head; }

 private:
  size_t bucketOf(const K& key) const { return hashKey(key) & (_buckets.size() - 1); }

  void link(Entry* entry) {
    Entry*& first = _buckets[bucketOf(entry->key)];
    entry->chain = first;
    first = entry;
  }

  // False, and the buckets as they were, when memory runs out.
  bool rehash(size_t count) {
    Vector<Entry*> buckets;
    buckets.setSize(count, nullptr);
    if (buckets.size() != count) return false;
    _buckets.swap(buckets);
    for (Entry* entry = _head; entry; entry = entry->next) link(entry);
    return true;
  }

  Entry* findEntry(const K& key) const {
    if (_buckets.size() == 0) return nullptr;
    for (Entry* entry = _buckets[bucketOf(key)]; entry; entry = entry->chain)
      if (entry->key == key) return entry;
    return nullptr;
  }

  Entry* _head;
  size_t _size;
  Vector<Entry*> _buckets;  // a power of two of them
};

}  // namespace skel
