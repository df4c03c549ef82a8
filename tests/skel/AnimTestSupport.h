// A small hand-built rig for the timeline and animation-state tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "skel/Animation.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/IkConstraintData.h"
#include "skel/PathConstraintData.h"
#include "skel/PointAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/Timeline.h"
#include "skel/TransformConstraintData.h"

namespace animtest {

template <typename T>
skel::Vector<T> vec(std::initializer_list<T> values) {
  skel::Vector<T> v;
  for (const T& value : values) v.add(value);
  return v;
}

inline std::vector<float> floats(const skel::Vector<float>& v) { return std::vector<float>(v.begin(), v.end()); }

// Bones root and arm (setup rotation 10, position (5, -2), scale (2, 1));
// slots body (setup attachment "a"), hand (no setup attachment) and extra.
// The default skin holds points "a" and "b" on body, and on hand an
// unweighted triangle "m", a mesh "m2" deforming as "m", and a weighted "w".
struct Rig {
  Rig() {
    skel::BoneData* root = add(new skel::BoneData(0, "root"), data.getBones());
    arm = add(new skel::BoneData(1, "arm", root), data.getBones());
    arm->setRotation(10);
    arm->setX(5);
    arm->setY(-2);
    arm->setScaleX(2);
    body = add(new skel::SlotData(0, "body", *root), data.getSlots());
    body->setAttachmentName("a");
    hand = add(new skel::SlotData(1, "hand", *arm), data.getSlots());
    add(new skel::SlotData(2, "extra", *root), data.getSlots());

    auto* ik = add(new skel::IkConstraintData("ik"), data.getIkConstraints());
    ik->getBones().add(arm);
    ik->setTarget(root);
    ik->setMix(1);
    ik->setBendDirection(1);
    auto* tc = add(new skel::TransformConstraintData("tc"), data.getTransformConstraints());
    tc->setOrder(1);
    tc->getBones().add(arm);
    tc->setTarget(root);
    tc->setRotateMix(1);
    tc->setTranslateMix(0.5f);
    auto* pc = add(new skel::PathConstraintData("pc"), data.getPathConstraints());
    pc->setOrder(2);
    pc->getBones().add(arm);
    pc->setTarget(hand);
    pc->setPosition(3);
    pc->setSpacing(1);

    auto* skin = add(new skel::Skin("default"), data.getSkins());
    data.setDefaultSkin(skin);
    skin->setAttachment(0, "a", new skel::PointAttachment("a"));
    skin->setAttachment(0, "b", new skel::PointAttachment("b"));
    mesh = new skel::BoundingBoxAttachment("m");
    mesh->getVertices() = vec<float>({0, 0, 10, 0, 0, 10});
    skin->setAttachment(1, "m", mesh);
    linked = new skel::BoundingBoxAttachment("m2");
    linked->getVertices() = mesh->getVertices();
    linked->setDeformAttachment(mesh);
    skin->setAttachment(1, "m2", linked);
    weighted = new skel::BoundingBoxAttachment("w");
    // Two vertices bound to bone 1 with weight 1.
    weighted->getBones() = vec<unsigned long long>({1, 1, 1, 1});
    weighted->getVertices() = vec<float>({1, 2, 1, 3, 4, 1});
    skin->setAttachment(1, "w", weighted);

    skeleton = new skel::Skeleton(&data);
  }
  ~Rig() { delete skeleton; }
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;

  skel::Bone& armBone() { return *skeleton->getBones()[1]; }
  skel::Slot& slot(size_t i) { return *skeleton->getSlots()[i]; }
  skel::Attachment* attachment(size_t slotIndex, const char* name) {
    return skeleton->getAttachment(static_cast<int>(slotIndex), name);
  }
  // The name shown on a slot, or "-".
  std::string shown(size_t slotIndex) {
    skel::Attachment* a = slot(slotIndex).getAttachment();
    return a ? a->getName().buffer() : "-";
  }
  // The animation goes into the data, which owns it.
  skel::Animation* animation(const char* name, float duration, std::initializer_list<skel::Timeline*> timelines) {
    skel::Vector<skel::Timeline*> list;
    for (skel::Timeline* t : timelines) list.add(t);
    return add(new skel::Animation(name, list, duration), data.getAnimations());
  }

  skel::SkeletonData data;
  skel::BoneData* arm;
  skel::SlotData* body;
  skel::SlotData* hand;
  skel::BoundingBoxAttachment* mesh;
  skel::BoundingBoxAttachment* linked;
  skel::BoundingBoxAttachment* weighted;
  skel::Skeleton* skeleton;

 private:
  template <typename T, typename List>
  static T* add(T* item, List& list) {
    list.add(item);
    return item;
  }
};

}  // namespace animtest
