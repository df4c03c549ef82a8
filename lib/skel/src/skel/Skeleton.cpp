#include "skel/Skeleton.h"

#include "skel/Attachment.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/IkConstraint.h"
#include "skel/IkConstraintData.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/TransformConstraint.h"
#include "skel/TransformConstraintData.h"

namespace skel {

Skeleton::Skeleton(SkeletonData* data)
    : _data(data), _skin(nullptr), _color(1, 1, 1, 1), _time(0), _scaleX(1), _scaleY(1), _x(0), _y(0) {
  if (!_data) return;

  const Vector<BoneData*>& boneDatas = _data->getBones();
  _bones.ensureCapacity(boneDatas.size());
  for (size_t i = 0; i < boneDatas.size(); ++i) {
    BoneData* boneData = boneDatas[i];
    if (!boneData) continue;
    // Only a bone created earlier can be a parent, so the hierarchy has no cycles.
    Bone* parent = nullptr;
    if (boneData->getParent()) {
      const int parentIndex = boneData->getParent()->getIndex();
      if (parentIndex >= 0 && static_cast<size_t>(parentIndex) < _bones.size()) parent = _bones[parentIndex];
    }
    Bone* bone = new (__FILE__, __LINE__) Bone(*boneData, *this, parent);
    if (parent) parent->_children.add(bone);
    _bones.add(bone);
  }

  const Vector<SlotData*>& slotDatas = _data->getSlots();
  _slots.ensureCapacity(slotDatas.size());
  _drawOrder.ensureCapacity(slotDatas.size());
  for (size_t i = 0; i < slotDatas.size(); ++i) {
    SlotData* slotData = slotDatas[i];
    if (!slotData || _bones.size() == 0) continue;
    // A slot whose bone is not in this skeleton hangs on the root.
    const int boneIndex = slotData->getBoneData().getIndex();
    Bone* bone = boneIndex >= 0 && static_cast<size_t>(boneIndex) < _bones.size() ? _bones[boneIndex] : _bones[0];
    Slot* slot = new (__FILE__, __LINE__) Slot(*slotData, *bone);
    _slots.add(slot);
    _drawOrder.add(slot);
  }

  const Vector<IkConstraintData*>& ikDatas = _data->getIkConstraints();
  _ikConstraints.ensureCapacity(ikDatas.size());
  for (size_t i = 0; i < ikDatas.size(); ++i)
    if (ikDatas[i]) _ikConstraints.add(new (__FILE__, __LINE__) IkConstraint(*ikDatas[i], *this));

  const Vector<TransformConstraintData*>& transformDatas = _data->getTransformConstraints();
  _transformConstraints.ensureCapacity(transformDatas.size());
  for (size_t i = 0; i < transformDatas.size(); ++i)
    if (transformDatas[i])
      _transformConstraints.add(new (__FILE__, __LINE__) TransformConstraint(*transformDatas[i], *this));

  const Vector<PathConstraintData*>& pathDatas = _data->getPathConstraints();
  _pathConstraints.ensureCapacity(pathDatas.size());
  for (size_t i = 0; i < pathDatas.size(); ++i)
    if (pathDatas[i]) _pathConstraints.add(new (__FILE__, __LINE__) PathConstraint(*pathDatas[i], *this));

  updateCache();
}

Skeleton::~Skeleton() {
  _bones.clearAndDeleteAll();
  _slots.clearAndDeleteAll();
  _ikConstraints.clearAndDeleteAll();
  _transformConstraints.clearAndDeleteAll();
  _pathConstraints.clearAndDeleteAll();
}

void Skeleton::updateCache() {
  _updateCache.clear();
  _updateCacheReset.clear();

  for (size_t i = 0; i < _bones.size(); ++i) {
    Bone* bone = _bones[i];
    bone->_sorted = bone->_data.isSkinRequired();
    bone->_active = !bone->_sorted;
  }
  if (_skin) {
    const Vector<BoneData*>& skinBones = _skin->getBones();
    for (size_t i = 0; i < skinBones.size(); ++i) {
      if (!skinBones[i]) continue;
      const int index = skinBones[i]->getIndex();
      if (index < 0 || static_cast<size_t>(index) >= _bones.size()) continue;
      for (Bone* bone = _bones[index]; bone; bone = bone->_parent) {
        bone->_sorted = false;
        bone->_active = true;
      }
    }
  }

  // One constraint per order value: IK first, then transform, then path.
  const size_t constraintCount = _ikConstraints.size() + _transformConstraints.size() + _pathConstraints.size();
  for (size_t order = 0; order < constraintCount; ++order) {
    bool placed = false;
    for (size_t i = 0; i < _ikConstraints.size() && !placed; ++i) {
      if (_ikConstraints[i]->_data.getOrder() != order) continue;
      sortIkConstraint(_ikConstraints[i]);
      placed = true;
    }
    for (size_t i = 0; i < _transformConstraints.size() && !placed; ++i) {
      if (_transformConstraints[i]->_data.getOrder() != order) continue;
      sortTransformConstraint(_transformConstraints[i]);
      placed = true;
    }
    for (size_t i = 0; i < _pathConstraints.size() && !placed; ++i) {
      if (_pathConstraints[i]->_data.getOrder() != order) continue;
      sortPathConstraint(_pathConstraints[i]);
      placed = true;
    }
  }

  for (size_t i = 0; i < _bones.size(); ++i) sortBone(_bones[i]);
}

bool Skeleton::skinHasConstraint(const void* constraintData) const {
  if (!_skin) return false;
  const Vector<ConstraintData*>& constraints = _skin->getConstraints();
  for (size_t i = 0; i < constraints.size(); ++i)
    if (constraints[i] == constraintData) return true;
  return false;
}

void Skeleton::sortIkConstraint(IkConstraint* constraint) {
  Bone* target = constraint->_target;
  const ConstraintData& data = constraint->_data;
  constraint->_active = target && target->_active && (!data.isSkinRequired() || skinHasConstraint(&constraint->_data));
  if (!constraint->_active) return;

  sortBone(target);
  Vector<Bone*>& constrained = constraint->_bones;
  if (constrained.size() == 0) {
    _updateCache.add(constraint);
    return;
  }
  Bone* parent = constrained[0];
  sortBone(parent);
  Bone* last = constrained[constrained.size() - 1];
  if (constrained.size() > 1 && !_updateCache.contains(last)) _updateCacheReset.add(last);
  _updateCache.add(constraint);
  sortReset(parent->_children);
  last->_sorted = true;
}

void Skeleton::sortTransformConstraint(TransformConstraint* constraint) {
  Bone* target = constraint->_target;
  const TransformConstraintData& data = constraint->_data;
  constraint->_active = target && target->_active && (!data.isSkinRequired() || skinHasConstraint(&constraint->_data));
  if (!constraint->_active) return;

  sortBone(target);
  Vector<Bone*>& constrained = constraint->_bones;
  if (data.isLocal()) {
    // A constrained root has no parent to wait for.
    for (size_t i = 0; i < constrained.size(); ++i) {
      Bone* bone = constrained[i];
      if (bone->_parent) sortBone(bone->_parent);
      if (!_updateCache.contains(bone)) _updateCacheReset.add(bone);
    }
  } else {
    for (size_t i = 0; i < constrained.size(); ++i) sortBone(constrained[i]);
  }
  _updateCache.add(constraint);
  for (size_t i = 0; i < constrained.size(); ++i) sortReset(constrained[i]->_children);
  for (size_t i = 0; i < constrained.size(); ++i) constrained[i]->_sorted = true;
}

void Skeleton::sortPathConstraint(PathConstraint* constraint) {
  Slot* slot = constraint->_target;
  const PathConstraintData& data = constraint->_data;
  constraint->_active =
      slot && slot->getBone()._active && (!data.isSkinRequired() || skinHasConstraint(&constraint->_data));
  if (!constraint->_active) return;

  const size_t slotIndex = static_cast<size_t>(slot->getData().getIndex());
  Bone& slotBone = slot->getBone();
  if (_skin) sortPathConstraintAttachment(_skin, slotIndex, slotBone);
  Skin* defaultSkin = _data->getDefaultSkin();
  if (defaultSkin && defaultSkin != _skin) sortPathConstraintAttachment(defaultSkin, slotIndex, slotBone);
  const Vector<Skin*>& skins = _data->getSkins();
  for (size_t i = 0; i < skins.size(); ++i)
    if (skins[i]) sortPathConstraintAttachment(skins[i], slotIndex, slotBone);
  sortPathConstraintAttachment(slot->getAttachment(), slotBone);

  Vector<Bone*>& constrained = constraint->_bones;
  for (size_t i = 0; i < constrained.size(); ++i) sortBone(constrained[i]);
  _updateCache.add(constraint);
  for (size_t i = 0; i < constrained.size(); ++i) sortReset(constrained[i]->_children);
  for (size_t i = 0; i < constrained.size(); ++i) constrained[i]->_sorted = true;
}

void Skeleton::sortPathConstraintAttachment(Skin* skin, size_t slotIndex, Bone& slotBone) {
  const Vector<Vector<Skin::AttachmentMap::Entry>>& buckets = skin->getAttachments().getBuckets();
  if (slotIndex >= buckets.size()) return;
  const Vector<Skin::AttachmentMap::Entry>& bucket = buckets[slotIndex];
  for (size_t i = 0; i < bucket.size(); ++i) sortPathConstraintAttachment(bucket[i]._attachment, slotBone);
}

void Skeleton::sortPathConstraintAttachment(Attachment* attachment, Bone& slotBone) {
  if (!attachment || !attachment->getRTTI().instanceOf(PathAttachment::rtti)) return;
  const Vector<unsigned long long>& pathBones = static_cast<PathAttachment*>(attachment)->getBones();
  if (pathBones.size() == 0) {
    sortBone(&slotBone);
    return;
  }
  // Groups of a count followed by that many bone indexes.
  for (size_t i = 0; i < pathBones.size();) {
    unsigned long long count = pathBones[i++];
    for (; count > 0 && i < pathBones.size(); --count, ++i)
      if (pathBones[i] < _bones.size()) sortBone(_bones[static_cast<size_t>(pathBones[i])]);
  }
}

void Skeleton::sortBone(Bone* bone) {
  if (!bone || bone->_sorted) return;
  // Unsorted ancestors go first, the highest one first; walked without
  // recursion so that a deep chain cannot exhaust the stack.
  Vector<Bone*> chain;
  for (Bone* b = bone; b && !b->_sorted; b = b->_parent) chain.add(b);
  for (size_t i = chain.size(); i-- > 0;) {
    chain[i]->_sorted = true;
    _updateCache.add(chain[i]);
  }
}

void Skeleton::sortReset(Vector<Bone*>& bones) {
  Vector<Bone*> pending;
  for (size_t i = 0; i < bones.size(); ++i) pending.add(bones[i]);
  while (pending.size() > 0) {
    Bone* bone = pending[pending.size() - 1];
    pending.removeAt(pending.size() - 1);
    if (!bone->_active) continue;
    if (bone->_sorted)
      for (size_t i = 0; i < bone->_children.size(); ++i) pending.add(bone->_children[i]);
    bone->_sorted = false;
  }
}

void Skeleton::updateWorldTransform() {
  for (size_t i = 0; i < _updateCacheReset.size(); ++i) {
    Bone* bone = _updateCacheReset[i];
    bone->_ax = bone->_x;
    bone->_ay = bone->_y;
    bone->_arotation = bone->_rotation;
    bone->_ascaleX = bone->_scaleX;
    bone->_ascaleY = bone->_scaleY;
    bone->_ashearX = bone->_shearX;
    bone->_ashearY = bone->_shearY;
    bone->_appliedValid = true;
  }
  for (size_t i = 0; i < _updateCache.size(); ++i) _updateCache[i]->update();
}

Bone* Skeleton::getRootBone() const { return _bones.size() > 0 ? _bones[0] : nullptr; }

// A skeleton's bones and slots stand where their data stands in the data's
// lists, so the data's index finds them.
namespace {

// A skeleton's bones and slots stand where their data stands in the data's
// lists, so the data's index finds them; a list built otherwise is scanned.
template <typename T, typename Data>
T* findPosed(const Vector<T*>& items, const Data* data, const String& name) {
  if (!data) return nullptr;
  const size_t i = static_cast<size_t>(data->getIndex());
  if (i < items.size() && &items[i]->getData() == data) return items[i];
  for (T* item : items)
    if (item->getData().getName() == name) return item;
  return nullptr;
}

}  // namespace

Bone* Skeleton::findBone(const String& name) const { return findPosed(_bones, _data->findBone(name), name); }

Slot* Skeleton::findSlot(const String& name) const { return findPosed(_slots, _data->findSlot(name), name); }

void Skeleton::setSkin(Skin* newSkin) {
  if (newSkin == _skin) return;
  if (newSkin) {
    if (_skin) {
      const Vector<Vector<Skin::AttachmentMap::Entry>>& buckets = _skin->getAttachments().getBuckets();
      for (size_t i = 0; i < buckets.size(); ++i) {
        const Vector<Skin::AttachmentMap::Entry>& bucket = buckets[i];
        for (size_t j = 0; j < bucket.size(); ++j) {
          const Skin::AttachmentMap::Entry& entry = bucket[j];
          if (entry._slotIndex >= _slots.size()) continue;
          Slot* slot = _slots[entry._slotIndex];
          if (slot->getAttachment() != entry._attachment) continue;
          Attachment* attachment = newSkin->getAttachment(entry._slotIndex, entry._name);
          if (attachment) slot->setAttachment(attachment);
        }
      }
    } else {
      for (size_t i = 0; i < _slots.size(); ++i) {
        Slot* slot = _slots[i];
        const String& name = slot->getData().getAttachmentName();
        if (name.isEmpty()) continue;
        Attachment* attachment = newSkin->getAttachment(i, name);
        if (attachment) slot->setAttachment(attachment);
      }
    }
  }
  _skin = newSkin;
  updateCache();
}

Attachment* Skeleton::getAttachment(int slotIndex, const String& attachmentName) const {
  if (attachmentName.isEmpty() || slotIndex < 0) return nullptr;
  if (_skin) {
    Attachment* attachment = _skin->getAttachment(static_cast<size_t>(slotIndex), attachmentName);
    if (attachment) return attachment;
  }
  Skin* defaultSkin = _data ? _data->getDefaultSkin() : nullptr;
  return defaultSkin ? defaultSkin->getAttachment(static_cast<size_t>(slotIndex), attachmentName) : nullptr;
}

void Skeleton::setBonesToSetupPose() {
  for (size_t i = 0; i < _bones.size(); ++i) _bones[i]->setToSetupPose();
  for (size_t i = 0; i < _ikConstraints.size(); ++i) {
    IkConstraint* constraint = _ikConstraints[i];
    const IkConstraintData& data = constraint->getData();
    constraint->setMix(data.getMix());
    constraint->setSoftness(data.getSoftness());
    constraint->setBendDirection(data.getBendDirection());
    constraint->setCompress(data.getCompress());
    constraint->setStretch(data.getStretch());
  }
  for (size_t i = 0; i < _transformConstraints.size(); ++i) {
    TransformConstraint* constraint = _transformConstraints[i];
    const TransformConstraintData& data = constraint->getData();
    constraint->setRotateMix(data.getRotateMix());
    constraint->setTranslateMix(data.getTranslateMix());
    constraint->setScaleMix(data.getScaleMix());
    constraint->setShearMix(data.getShearMix());
  }
  for (size_t i = 0; i < _pathConstraints.size(); ++i) {
    PathConstraint* constraint = _pathConstraints[i];
    const PathConstraintData& data = constraint->getData();
    constraint->setPosition(data.getPosition());
    constraint->setSpacing(data.getSpacing());
    constraint->setRotateMix(data.getRotateMix());
    constraint->setTranslateMix(data.getTranslateMix());
  }
}

void Skeleton::setSlotsToSetupPose() {
  _drawOrder.clear();
  for (size_t i = 0; i < _slots.size(); ++i) _drawOrder.add(_slots[i]);
  for (size_t i = 0; i < _slots.size(); ++i) _slots[i]->setToSetupPose();
}

}  // namespace skel
