#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PoseTestSupport.h"
#include "skel/IkConstraint.h"
#include "skel/IkConstraintData.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"
#include "skel/PointAttachment.h"
#include "skel/Skeleton.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/TransformConstraint.h"
#include "skel/TransformConstraintData.h"

using namespace skel;
using posetest::addBone;
using posetest::addSlot;

namespace {

// Names of the update list: bone names, or the constraint names.
std::vector<std::string> updateOrder(const Skeleton& skeleton) {
  std::vector<std::string> names;
  for (Updatable* item : skeleton.getUpdateCacheList()) {
    const RTTI& rtti = item->getRTTI();
    if (rtti.isExactly(Bone::rtti))
      names.push_back(static_cast<Bone*>(item)->getData().getName().buffer());
    else if (rtti.isExactly(IkConstraint::rtti))
      names.push_back(static_cast<IkConstraint*>(item)->getData().getName().buffer());
    else if (rtti.isExactly(TransformConstraint::rtti))
      names.push_back(static_cast<TransformConstraint*>(item)->getData().getName().buffer());
    else if (rtti.isExactly(PathConstraint::rtti))
      names.push_back(static_cast<PathConstraint*>(item)->getData().getName().buffer());
  }
  return names;
}

std::vector<std::string> resetOrder(const Skeleton& skeleton) {
  std::vector<std::string> names;
  for (Bone* bone : skeleton.getUpdateCacheReset()) names.push_back(bone->getData().getName().buffer());
  return names;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(Skeleton, WithoutConstraintsBonesUpdateParentBeforeChildInBoneOrder) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* a = addBone(data, "a", root);
  addBone(data, "b", root);
  addBone(data, "a1", a);
  Skeleton skeleton(&data);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "a", "b", "a1"}));
  EXPECT_TRUE(resetOrder(skeleton).empty());
  ASSERT_EQ(skeleton.getBones()[1]->getChildren().size(), 1u);
  EXPECT_EQ(skeleton.getBones()[1]->getChildren()[0], skeleton.getBones()[3]);
}

TEST(Skeleton, TwoBoneIkRunsAfterItsTargetAndParentAndBeforeTheChildsChildren) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* upper = addBone(data, "upper", root);
  BoneData* lower = addBone(data, "lower", upper);
  addBone(data, "hand", lower);
  BoneData* target = addBone(data, "target", root);
  auto* ik = new IkConstraintData("ik");
  ik->getBones().add(upper);
  ik->getBones().add(lower);
  ik->setTarget(target);
  data.getIkConstraints().add(ik);
  Skeleton skeleton(&data);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "target", "upper", "ik", "hand"}));
  EXPECT_EQ(resetOrder(skeleton), (Names{"lower"}));
  EXPECT_TRUE(skeleton.getIkConstraints()[0]->isActive());
}

TEST(Skeleton, OnlyTheFirstConstraintOfEachOrderIsPlaced) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* bone = addBone(data, "bone", root);
  BoneData* target = addBone(data, "target", root);
  auto* tc = new TransformConstraintData("tc");
  tc->getBones().add(bone);
  tc->setTarget(target);
  data.getTransformConstraints().add(tc);
  auto* ik = new IkConstraintData("ik");
  ik->getBones().add(bone);
  ik->setTarget(target);
  data.getIkConstraints().add(ik);
  auto* late = new TransformConstraintData("late");
  late->getBones().add(bone);
  late->setTarget(target);
  late->setOrder(1);
  data.getTransformConstraints().add(late);
  auto* gap = new TransformConstraintData("gap");
  gap->getBones().add(bone);
  gap->setTarget(target);
  gap->setOrder(7);  // beyond the number of constraints: never placed
  data.getTransformConstraints().add(gap);

  Skeleton skeleton(&data);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "target", "bone", "ik", "late"}));
}

TEST(Skeleton, LocalTransformConstraintResetsItsBonesEvenAtTheRoot) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* bone = addBone(data, "bone", root, 1, 0);
  BoneData* target = addBone(data, "target", nullptr, 5, 6);  // a second root
  auto* tc = new TransformConstraintData("tc");
  tc->getBones().add(root);
  tc->getBones().add(bone);
  tc->setTarget(target);
  tc->setLocal(true);
  tc->setTranslateMix(1);
  data.getTransformConstraints().add(tc);
  Skeleton skeleton(&data);
  EXPECT_EQ(updateOrder(skeleton), (Names{"target", "root", "tc"}));
  EXPECT_EQ(resetOrder(skeleton), (Names{"root", "bone"}));
  skeleton.updateWorldTransform();
  EXPECT_FLOAT_EQ(skeleton.getRootBone()->getWorldX(), 5);
  EXPECT_FLOAT_EQ(skeleton.findBone("bone")->getWorldX(), 10);
}

TEST(Skeleton, SkinRequiredBonesAndConstraintsWaitForASkinThatListsThem) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* cape = addBone(data, "cape", root);
  cape->setSkinRequired(true);
  BoneData* capeTip = addBone(data, "capeTip", cape);
  capeTip->setSkinRequired(true);
  BoneData* arm = addBone(data, "arm", root);
  auto* follow = new TransformConstraintData("follow");  // targets a skin-required bone
  follow->getBones().add(arm);
  follow->setTarget(capeTip);
  data.getTransformConstraints().add(follow);
  auto* extra = new TransformConstraintData("extra");  // listed by the skin itself
  extra->getBones().add(arm);
  extra->setTarget(root);
  extra->setSkinRequired(true);
  extra->setOrder(1);
  data.getTransformConstraints().add(extra);
  auto* skin = new Skin("caped");
  skin->getBones().add(capeTip);
  skin->getConstraints().add(extra);
  data.getSkins().add(skin);
  auto* plain = new Skin("plain");
  data.getSkins().add(plain);

  Skeleton skeleton(&data);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "arm"}));
  EXPECT_FALSE(skeleton.findBone("cape")->isActive());
  EXPECT_FALSE(skeleton.getTransformConstraints()[0]->isActive());
  EXPECT_FALSE(skeleton.getTransformConstraints()[1]->isActive());

  // Listing the tip switches on its ancestors too.
  skeleton.setSkin(skin);
  EXPECT_TRUE(skeleton.findBone("cape")->isActive());
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "cape", "capeTip", "arm", "follow", "extra"}));

  skeleton.setSkin(plain);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "arm"}));
  skeleton.setSkin(nullptr);
  EXPECT_EQ(skeleton.getSkin(), nullptr);
}

TEST(Skeleton, PathConstraintWaitsForTheBonesItsPathHangsOn) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  addBone(data, "left", root);
  addBone(data, "right", root);
  BoneData* holder = addBone(data, "holder", root);
  BoneData* chain = addBone(data, "chain", root);
  SlotData* slotData = addSlot(data, "path", *holder, "curve");
  auto* pc = new PathConstraintData("pc");
  pc->getBones().add(chain);
  pc->setTarget(slotData);
  data.getPathConstraints().add(pc);
  auto* skin = new Skin("default");
  auto* weighted = new PathAttachment("curve");
  for (unsigned long long b : {2ull, 2ull, 1ull, 1ull, 1000ull}) weighted->getBones().add(b);
  skin->setAttachment(0, "curve", weighted);
  data.getSkins().add(skin);
  data.setDefaultSkin(skin);

  Skeleton skeleton(&data);
  EXPECT_EQ(skeleton.getSlots()[0]->getAttachment(), weighted);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "right", "left", "chain", "pc", "holder"}));

  // An unweighted path hangs on the slot's bone.
  weighted->getBones().clear();
  skeleton.updateCache();
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "holder", "chain", "pc", "left", "right"}));
}

TEST(Skeleton, SetSkinSwapsWhatTheOldSkinShowedAndSetupNamesOtherwise) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  addSlot(data, "body", *root, "torso");
  addSlot(data, "hat", *root, "cap");
  auto* torsoA = new PointAttachment("torso");
  auto* torsoB = new PointAttachment("torso");
  auto* capB = new PointAttachment("cap");
  auto* other = new PointAttachment("other");
  auto* a = new Skin("a");
  a->setAttachment(0, "torso", torsoA);
  a->setAttachment(1, "other", other);
  auto* b = new Skin("b");
  b->setAttachment(0, "torso", torsoB);
  b->setAttachment(1, "cap", capB);
  b->setAttachment(1, "other", new PointAttachment("other"));
  data.getSkins().add(a);
  data.getSkins().add(b);

  Skeleton skeleton(&data);
  Slot& body = *skeleton.getSlots()[0];
  Slot& hat = *skeleton.getSlots()[1];
  EXPECT_EQ(body.getAttachment(), nullptr);  // no default skin

  skeleton.setSkin(a);  // no skin before: setup names
  EXPECT_EQ(body.getAttachment(), torsoA);
  EXPECT_EQ(hat.getAttachment(), nullptr);

  hat.setAttachment(capB);  // not shown by skin a, so kept
  skeleton.setSkin(b);
  EXPECT_EQ(body.getAttachment(), torsoB);
  EXPECT_EQ(hat.getAttachment(), capB);

  EXPECT_EQ(skeleton.getAttachment(1, "other"), b->getAttachment(1, "other"));
  EXPECT_EQ(skeleton.getAttachment(1, ""), nullptr);
  EXPECT_EQ(skeleton.getAttachment(9, "torso"), nullptr);
  EXPECT_EQ(skeleton.getAttachment(-1, "torso"), nullptr);
}

TEST(Skeleton, SetSkinToTheCurrentSkinKeepsTheUpdateList) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* extra = addBone(data, "extra", root);
  auto* skin = new Skin("s");
  data.getSkins().add(skin);
  Skeleton skeleton(&data);
  skeleton.setSkin(skin);
  extra->setSkinRequired(true);
  skeleton.setSkin(skin);
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "extra"}));
  skeleton.updateCache();
  EXPECT_EQ(updateOrder(skeleton), (Names{"root"}));
}

TEST(Skeleton, GetAttachmentPrefersTheCurrentSkinOverTheDefault) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  addSlot(data, "slot", *root);
  auto* inDefault = new PointAttachment("x");
  auto* inSkin = new PointAttachment("x");
  auto* onlyDefault = new PointAttachment("y");
  auto* defaultSkin = new Skin("default");
  defaultSkin->setAttachment(0, "x", inDefault);
  defaultSkin->setAttachment(0, "y", onlyDefault);
  auto* skin = new Skin("s");
  skin->setAttachment(0, "x", inSkin);
  data.getSkins().add(defaultSkin);
  data.getSkins().add(skin);
  data.setDefaultSkin(defaultSkin);
  Skeleton skeleton(&data);
  EXPECT_EQ(skeleton.getAttachment(0, "x"), inDefault);
  skeleton.setSkin(skin);
  EXPECT_EQ(skeleton.getAttachment(0, "x"), inSkin);
  EXPECT_EQ(skeleton.getAttachment(0, "y"), onlyDefault);
  EXPECT_EQ(skeleton.getAttachment(0, "z"), nullptr);
}

TEST(Slot, SetupPoseTakesTheDataColoursAndAttachment) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  SlotData* tinted = addSlot(data, "tinted", *root, "x");
  tinted->getColor() = Color(2, 0.5f, -1, 1);  // out of range on purpose
  tinted->getDarkColor() = Color(1, 0.5f, 0, 1);
  tinted->setHasDarkColor(true);
  SlotData* plainData = addSlot(data, "plain", *root, "missing");
  plainData->getDarkColor() = Color(1, 1, 1, 1);
  auto* defaultSkin = new Skin("default");
  auto* x = new PointAttachment("x");
  defaultSkin->setAttachment(0, "x", x);
  data.getSkins().add(defaultSkin);
  data.setDefaultSkin(defaultSkin);

  Skeleton skeleton(&data);
  Slot& slot = *skeleton.getSlots()[0];
  EXPECT_EQ(slot.getColor(), Color(1, 0.5f, 0, 1));
  EXPECT_EQ(slot.getDarkColor(), Color(1, 0.5f, 0, 1));
  EXPECT_EQ(slot.getAttachment(), x);
  Slot& plain = *skeleton.getSlots()[1];
  EXPECT_EQ(plain.getDarkColor(), Color(0, 0, 0, 0));
  EXPECT_EQ(plain.getAttachment(), nullptr);

  // A new attachment restarts its time and drops the deform; the same one changes nothing.
  slot.getDeform().add(1);
  skeleton.setTime(2.5f);
  slot.setAttachment(x);
  EXPECT_EQ(slot.getDeform().size(), 1u);
  slot.setAttachment(nullptr);
  EXPECT_EQ(slot.getDeform().size(), 0u);
  EXPECT_EQ(slot.getAttachmentTime(), 2.5f);
}

TEST(Skeleton, HandMadeDataWithDanglingReferencesStillBuilds) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  SkeletonData elsewhere;
  BoneData* foreign = addBone(elsewhere, "foreign");
  addBone(elsewhere, "foreign2", foreign);
  BoneData* stranger = addBone(elsewhere, "stranger", elsewhere.getBones()[1]);
  // A bone whose parent index is not smaller than its own, and a slot on a bone of other data.
  data.getBones().add(new BoneData(1, "loose", stranger));
  addSlot(data, "slot", *stranger);
  auto* ik = new IkConstraintData("ik");  // no target
  ik->getBones().add(root);
  data.getIkConstraints().add(ik);
  auto* tc = new TransformConstraintData("tc");  // target in other data, no bones
  tc->setTarget(foreign);
  data.getTransformConstraints().add(tc);
  auto* pc = new PathConstraintData("pc");  // no target slot
  pc->getBones().add(root);
  data.getPathConstraints().add(pc);
  auto* skin = new Skin("s");
  skin->getBones().add(stranger);
  data.getSkins().add(skin);

  Skeleton skeleton(&data);
  skeleton.setSkin(skin);
  EXPECT_EQ(skeleton.findBone("loose")->getParent(), nullptr);
  EXPECT_EQ(&skeleton.getSlots()[0]->getBone(), skeleton.getRootBone());
  EXPECT_EQ(updateOrder(skeleton), (Names{"root", "loose"}));
  skeleton.updateWorldTransform();
  skeleton.getIkConstraints()[0]->update();
  skeleton.getTransformConstraints()[0]->update();
  skeleton.getPathConstraints()[0]->update();
}
