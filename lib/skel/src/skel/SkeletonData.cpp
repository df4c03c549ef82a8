#include "skel/SkeletonData.h"

#include "skel/Animation.h"
#include "skel/BoneData.h"
#include "skel/EventData.h"
#include "skel/IkConstraintData.h"
#include "skel/PathConstraintData.h"
#include "skel/Skin.h"
#include "skel/SlotData.h"
#include "skel/TransformConstraintData.h"

namespace skel {

namespace {

template <typename T>
T* findByName(const Vector<T*>& items, const String& name) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] && items[i]->getName() == name) return items[i];
  return nullptr;
}

}  // namespace

SkeletonData::SkeletonData() : _defaultSkin(nullptr), _x(0), _y(0), _width(0), _height(0), _fps(30) {}

SkeletonData::~SkeletonData() {
  _bones.clearAndDeleteAll();
  _slots.clearAndDeleteAll();
  _skins.clearAndDeleteAll();
  _defaultSkin = nullptr;
  _events.clearAndDeleteAll();
  _animations.clearAndDeleteAll();
  _ikConstraints.clearAndDeleteAll();
  _transformConstraints.clearAndDeleteAll();
  _pathConstraints.clearAndDeleteAll();
}

BoneData* SkeletonData::findBone(const String& name) const { return findByName(_bones, name); }
SlotData* SkeletonData::findSlot(const String& name) const { return findByName(_slots, name); }
Skin* SkeletonData::findSkin(const String& name) const { return findByName(_skins, name); }
EventData* SkeletonData::findEvent(const String& name) const { return findByName(_events, name); }
Animation* SkeletonData::findAnimation(const String& name) const { return findByName(_animations, name); }

IkConstraintData* SkeletonData::findIkConstraint(const String& name) const { return findByName(_ikConstraints, name); }

TransformConstraintData* SkeletonData::findTransformConstraint(const String& name) const {
  return findByName(_transformConstraints, name);
}

PathConstraintData* SkeletonData::findPathConstraint(const String& name) const {
  return findByName(_pathConstraints, name);
}

}  // namespace skel
