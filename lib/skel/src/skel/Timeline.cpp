#include "skel/Timeline.h"

#include "skel/Bone.h"
#include "skel/IkConstraint.h"
#include "skel/PathConstraint.h"
#include "skel/Skeleton.h"
#include "skel/Slot.h"
#include "skel/TransformConstraint.h"

namespace skel {

SKEL_RTTI_ROOT_IMPL(Timeline)

namespace {

// The element at index when it exists and is active.
template <typename T>
T* activeAt(Vector<T*>& list, int index) {
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
  T* item = list[static_cast<size_t>(index)];
  return item && item->isActive() ? item : nullptr;
}

}  // namespace

Timeline::Timeline(size_t frameCount, size_t entries) : _entries(entries > 0 ? entries : 1) {
  _frames.setSize(frameCount * _entries, 0.0f);
}

Timeline::~Timeline() {}

size_t Timeline::search(const Vector<float>& frames, float target, size_t step) {
  if (step == 0 || frames.size() / step < 3) return step;
  size_t low = 0;
  size_t high = frames.size() / step - 2;
  size_t current = high >> 1;
  while (true) {
    if (frames[(current + 1) * step] <= target)
      low = current + 1;
    else
      high = current;
    if (low == high) return (low + 1) * step;
    current = (low + high) >> 1;
  }
}

bool Timeline::keyOffset(size_t frameIndex, size_t& offset) const {
  if (frameIndex >= getFrameCount()) return false;
  offset = frameIndex * _entries;
  return true;
}

Bone* Timeline::activeBone(Skeleton& skeleton, int index) { return activeAt(skeleton.getBones(), index); }

Slot* Timeline::activeSlot(Skeleton& skeleton, int index) {
  Vector<Slot*>& slots = skeleton.getSlots();
  if (index < 0 || static_cast<size_t>(index) >= slots.size()) return nullptr;
  Slot* slot = slots[static_cast<size_t>(index)];
  return slot && slot->getBone().isActive() ? slot : nullptr;
}

IkConstraint* Timeline::activeIkConstraint(Skeleton& skeleton, int index) {
  return activeAt(skeleton.getIkConstraints(), index);
}

TransformConstraint* Timeline::activeTransformConstraint(Skeleton& skeleton, int index) {
  return activeAt(skeleton.getTransformConstraints(), index);
}

PathConstraint* Timeline::activePathConstraint(Skeleton& skeleton, int index) {
  return activeAt(skeleton.getPathConstraints(), index);
}

}  // namespace skel
