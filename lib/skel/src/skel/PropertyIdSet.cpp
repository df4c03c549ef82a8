#include "skel/PropertyIdSet.h"

#include <climits>

namespace skel {

namespace {

const long long kFree = static_cast<long long>(INT_MIN) - 1;

}  // namespace

bool PropertyIdSet::insert(int id) {
  const unsigned type = static_cast<unsigned>(id) >> 24;
  const unsigned index = static_cast<unsigned>(id) & 0xFFFFFFu;
  if (type >= kTypes || index >= kBitIndices) return insertOther(id);
  Vector<uint64_t>& bits = _bits[type];
  const size_t word = index >> 6;
  // Out of memory, the id is kept with the others.
  if (word >= bits.size()) bits.setSize(word + 1, 0);
  if (word >= bits.size()) return insertOther(id);
  const uint64_t bit = uint64_t(1) << (index & 63);
  if ((bits[word] & bit) || (_otherCount && containsOther(id))) return false;
  bits[word] |= bit;
  ++_count;
  return true;
}

bool PropertyIdSet::contains(int id) const {
  const unsigned type = static_cast<unsigned>(id) >> 24;
  const unsigned index = static_cast<unsigned>(id) & 0xFFFFFFu;
  if (type < kTypes && index < kBitIndices) {
    const Vector<uint64_t>& bits = _bits[type];
    const size_t word = index >> 6;
    if (word < bits.size() && (bits[word] & (uint64_t(1) << (index & 63)))) return true;
  }
  return _otherCount && containsOther(id);
}

void PropertyIdSet::clear() {
  for (Vector<uint64_t>& bits : _bits)
    for (size_t i = 0; i < bits.size(); ++i) bits[i] = 0;
  for (size_t i = 0; i < _others.size(); ++i) _others[i] = kFree;
  _otherCount = 0;
  _count = 0;
}

bool PropertyIdSet::containsOther(int id) const {
  if (_others.size() == 0) return false;
  const size_t mask = _others.size() - 1;
  for (size_t i = (static_cast<unsigned>(id) * 2654435761u) & mask;; i = (i + 1) & mask) {
    if (_others[i] == id) return true;
    if (_others[i] == kFree) return false;
  }
}

// The table stays as it was when memory runs out.
bool PropertyIdSet::growOthers() {
  const size_t capacity = _others.size() ? _others.size() * 2 : 16;
  Vector<long long> grown;
  grown.setSize(capacity, kFree);
  if (grown.size() != capacity) return false;
  const size_t mask = capacity - 1;
  for (size_t k = 0; k < _others.size(); ++k) {
    if (_others[k] == kFree) continue;
    size_t i = (static_cast<unsigned>(_others[k]) * 2654435761u) & mask;
    while (grown[i] != kFree) i = (i + 1) & mask;
    grown[i] = _others[k];
  }
  _others.swap(grown);
  return true;
}

bool PropertyIdSet::insertOther(int id) {
  // At most half full; when memory runs out the table fills to its last slot,
  // and past that an id counts as new.
  if ((_otherCount + 1) * 2 > _others.size() && !growOthers() && _otherCount + 1 >= _others.size()) return true;
  const size_t mask = _others.size() - 1;
  for (size_t i = (static_cast<unsigned>(id) * 2654435761u) & mask;; i = (i + 1) & mask) {
    if (_others[i] == id) return false;
    if (_others[i] == kFree) {
      _others[i] = id;
      ++_otherCount;
      ++_count;
      return true;
    }
  }
}

}  // namespace skel
