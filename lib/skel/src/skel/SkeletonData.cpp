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

BoneData* SkeletonData::findBone(const String& name) const { return _boneIndex.find(_bones, name); }
SlotData* SkeletonData::findSlot(const String& name) const { return _slotIndex.find(_slots, name); }
Skin* SkeletonData::findSkin(const String& name) const { return _skinIndex.find(_skins, name); }
EventData* SkeletonData::findEvent(const String& name) const { return _eventIndex.find(_events, name); }
Animation* SkeletonData::findAnimation(const String& name) const { return _animationIndex.find(_animations, name); }

IkConstraintData* SkeletonData::findIkConstraint(const String& name) const {
  return _ikIndex.find(_ikConstraints, name);
}

TransformConstraintData* SkeletonData::findTransformConstraint(const String& name) const {
  return _transformIndex.find(_transformConstraints, name);
}

PathConstraintData* SkeletonData::findPathConstraint(const String& name) const {
  return _pathIndex.find(_pathConstraints, name);
}

void SkeletonData::indexNames() const {
  _boneIndex.update(_bones);
  _slotIndex.update(_slots);
  _skinIndex.update(_skins);
  _eventIndex.update(_events);
  _animationIndex.update(_animations);
  _ikIndex.update(_ikConstraints);
  _transformIndex.update(_transformConstraints);
  _pathIndex.update(_pathConstraints);
}

}  // namespace skel
