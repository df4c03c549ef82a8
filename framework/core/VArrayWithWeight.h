/// @class TarnFramework::VArrayWithWeight
/// A pointer list whose entries carry a weight; weight-0
/// entries keep their insertion order ahead of every positive-weight entry.
#pragma once

#include <cstdint>

namespace TarnFramework {

template <class T>
class VArrayWithWeight {
 public:
  VArrayWithWeight() = default;
  VArrayWithWeight(const VArrayWithWeight&) = delete;
  VArrayWithWeight& operator=(const VArrayWithWeight&) = delete;
  virtual ~VArrayWithWeight() { Clear(); }

  /// Inserts with weight 0 before the first positive-weight entry.
  bool Add(T* item) {
    T** newItems = new T*[count + 1];
    int32_t* newWeights = new int32_t[count + 1];
    int32_t at = count;
    for (int32_t i = 0; i < count; ++i) {
      if (weights[i] > 0) {
        at = i;
        break;
      }
    }
    for (int32_t i = 0, k = 0; i <= count; ++i) {
      if (i == at) {
        newItems[i] = item;
        newWeights[i] = 0;
      } else {
        newItems[i] = items[k];
        newWeights[i] = weights[k];
        ++k;
      }
    }
    Replace(newItems, newWeights, count + 1);
    return true;
  }

  /// Removes every occurrence; false for null, empty storage or an absent item.
  bool Remove(T* item) {
    if (!item || !items) return false;
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) kept += items[i] != item;
    if (kept == count) return false;
    T** newItems = kept ? new T*[kept] : nullptr;
    int32_t* newWeights = kept ? new int32_t[kept] : nullptr;
    for (int32_t i = 0, k = 0; i < count; ++i) {
      if (items[i] == item) continue;
      newItems[k] = items[i];
      newWeights[k] = weights[i];
      ++k;
    }
    Replace(newItems, newWeights, kept);
    return true;
  }

  /// The item at i, which must be below count.
  T* operator[](int32_t i) const { return items[i]; }

  /// Empties the list; the items are not deleted.
  virtual void Clear() { Replace(nullptr, nullptr, 0); }

  /// The number of entries, their items and their weights.
  /// @{
  int32_t count = 0;
  T** items = nullptr;
  int32_t* weights = nullptr;
  /// @}

 private:
  void Replace(T** newItems, int32_t* newWeights, int32_t newCount) {
    delete[] items;
    delete[] weights;
    items = newItems;
    weights = newWeights;
    count = newCount;
  }
};

}  // namespace TarnFramework
