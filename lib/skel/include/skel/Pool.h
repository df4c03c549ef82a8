/// @class skel::Pool
/// A free list of reusable objects; the owner hands objects back with free.
#pragma once

#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

template <typename T>
class Pool : public SkelObject {
 public:
  Pool() = default;
  Pool(const Pool&) = delete;
  Pool& operator=(const Pool&) = delete;
  ~Pool() override { _objects.clearAndDeleteAll(); }

  /// An idle object (the caller sets every field it needs), or a new one.
  T* obtain() {
    if (_objects.size() > 0) {
      T* object = _objects[_objects.size() - 1];
      _objects.removeAt(_objects.size() - 1);
      return object;
    }
    return new (__FILE__, __LINE__) T();
  }

  /// Keeps object for a later obtain; handing the same object back twice keeps it once.
  void free(T* object) {
    if (object && !_objects.contains(object)) _objects.add(object);
  }

  /// How many objects wait to be obtained again.
  size_t idleCount() const { return _objects.size(); }

 private:
  Vector<T*> _objects;
};

}  // namespace skel
