/// @class skel::PropertyIdSet
/// A set of timeline property ids: a type number times 2^24 plus the index of
/// what is keyed. Ids of the runtime's own types are bits by index, so a set
/// over thousands of bones takes a few kilobytes and is visited in order, as
/// an animation keys its bones in order; any other id goes to a small probed
/// table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skel/Vector.h"

namespace skel {

class PropertyIdSet {
 public:
  /// Adds an id; false when it was there already.
  bool insert(int id);
  /// Whether the id is in the set.
  bool contains(int id) const;
  /// Empties the set, keeping the memory for the next fill.
  void clear();
  /// How many ids the set holds.
  size_t size() const { return _count; }

 private:
  static constexpr unsigned kTypes = 16;
  // A larger index is no bone or slot of any real rig; its bits would cost a
  // block for one id.
  static constexpr unsigned kBitIndices = 1u << 20;

  bool insertOther(int id);
  bool containsOther(int id) const;
  bool growOthers();

  Vector<uint64_t> _bits[kTypes];
  Vector<long long> _others;  // an empty slot holds kFree; the size is a power of two
  size_t _otherCount = 0;
  size_t _count = 0;
};

}  // namespace skel
