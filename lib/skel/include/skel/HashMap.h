// Despite the name, a doubly linked list of entries, newest first, searched
// linearly: the runtime's maps hold a handful of keys.
#pragma once

#include <cstddef>

#include "skel/SkelObject.h"

namespace skel {

template <typename K, typename V>
class HashMap : public SkelObject {
 public:
  class Entry : public SkelObject {
   public:
    Entry(const K& k, const V& v) : key(k), value(v), next(nullptr), prev(nullptr) {}
    K key;
    V value;
    Entry* next;  // older
    Entry* prev;  // newer
  };

  HashMap() : _head(nullptr), _size(0) {}
  HashMap(const HashMap&) = delete;
  HashMap& operator=(const HashMap&) = delete;
  ~HashMap() override { clear(); }

  // An equal key has its key and value overwritten; a new key goes in front.
  void put(const K& key, const V& value) {
    if (Entry* entry = findEntry(key)) {
      entry->key = key;
      entry->value = value;
      return;
    }
    Entry* entry = new (__FILE__, __LINE__) Entry(key, value);
    entry->next = _head;
    if (_head) _head->prev = entry;
    _head = entry;
    ++_size;
  }

  bool containsKey(const K& key) const { return findEntry(key) != nullptr; }

  // The value of the first equal key, or null.
  V* find(const K& key) {
    Entry* entry = findEntry(key);
    return entry ? &entry->value : nullptr;
  }
  const V* find(const K& key) const {
    const Entry* entry = findEntry(key);
    return entry ? &entry->value : nullptr;
  }

  // False when the key is absent.
  bool remove(const K& key) {
    Entry* entry = findEntry(key);
    if (!entry) return false;
    if (entry->prev)
      entry->prev->next = entry->next;
    else
      _head = entry->next;
    if (entry->next) entry->next->prev = entry->prev;
    delete entry;
    --_size;
    return true;
  }

  void clear() {
    Entry* entry = _head;
    while (entry) {
      Entry* next = entry->next;
      delete entry;
      entry = next;
    }
    _head = nullptr;
    _size = 0;
  }

  size_t size() const { return _size; }
  // The newest entry; follow next for older ones.
  Entry* getHead() const { return _head; }

 private:
  Entry* findEntry(const K& key) const {
    for (Entry* entry = _head; entry; entry = entry->next)
      if (entry->key == key) return entry;
    return nullptr;
  }

  Entry* _head;
  size_t _size;
};

}  // namespace skel
