#include <gtest/gtest.h>

#include <cmath>

#include "PoseTestSupport.h"
#include "skel/Skeleton.h"
#include "skel/TransformConstraint.h"
#include "skel/TransformConstraintData.h"

using namespace skel;
using posetest::addBone;

namespace {

float worldRotation(const Bone& bone) { return std::atan2(bone.getC(), bone.getA()) / posetest::kDegRad; }

// A bone at (1, 2) turned by 10 degrees and a sheared, scaled target at (10, 20).
struct Follow {
  explicit Follow(bool local = false, bool relative = false) {
    BoneData* root = addBone(data, "root");
    bone = addBone(data, "bone", root, 1, 2, 10);
    target = addBone(data, "target", root, 10, 20, 60);
    target->setScaleX(2);
    target->setScaleY(3);
    target->setShearY(15);
    constraint = new TransformConstraintData("tc");
    constraint->getBones().add(bone);
    constraint->setTarget(target);
    constraint->setLocal(local);
    constraint->setRelative(relative);
    data.getTransformConstraints().add(constraint);
  }
  ~Follow() { delete skeleton; }

  // Mixes: rotate, translate, scale, shear.
  Bone& pose(float rotate, float translate, float scale, float shear) {
    if (!skeleton) skeleton = new Skeleton(&data);
    TransformConstraint& tc = *skeleton->getTransformConstraints()[0];
    tc.setRotateMix(rotate);
    tc.setTranslateMix(translate);
    tc.setScaleMix(scale);
    tc.setShearMix(shear);
    skeleton->updateWorldTransform();
    return *skeleton->findBone("bone");
  }
  Bone& targetBone() { return *skeleton->findBone("target"); }

  SkeletonData data;
  BoneData *bone, *target;
  TransformConstraintData* constraint;
  Skeleton* skeleton = nullptr;
};

}  // namespace

TEST(TransformConstraint, AbsoluteWorldWithFullMixesCopiesTheTargetsMatrix) {
  Follow follow;
  Bone& bone = follow.pose(1, 1, 1, 1);
  const Bone& target = follow.targetBone();
  EXPECT_NEAR(bone.getA(), target.getA(), 1e-5);
  EXPECT_NEAR(bone.getB(), target.getB(), 1e-5);
  EXPECT_NEAR(bone.getC(), target.getC(), 1e-5);
  EXPECT_NEAR(bone.getD(), target.getD(), 1e-5);
  EXPECT_NEAR(bone.getWorldX(), 10, 1e-5);
  EXPECT_NEAR(bone.getWorldY(), 20, 1e-5);
  EXPECT_FALSE(bone.isAppliedValid());
}

TEST(TransformConstraint, AbsoluteWorldMixesPartWay) {
  Follow follow;
  Bone& bone = follow.pose(0.5f, 0.5f, 0, 0);
  EXPECT_NEAR(worldRotation(bone), 35, 1e-4);
  EXPECT_NEAR(bone.getWorldX(), 5.5f, 1e-5);
  EXPECT_NEAR(bone.getWorldY(), 11, 1e-5);
  EXPECT_NEAR(std::hypot(bone.getA(), bone.getC()), 1, 1e-5);

  follow.pose(0, 0, 0.5f, 0);
  EXPECT_NEAR(std::hypot(bone.getA(), bone.getC()), 1.5f, 1e-5);
  EXPECT_NEAR(std::hypot(bone.getB(), bone.getD()), 2, 1e-5);
}

TEST(TransformConstraint, OffsetsApplyInTheTargetsSpaceAndTurnBackForAMirroredTarget) {
  Follow follow;
  follow.constraint->setOffsetRotation(30);
  follow.constraint->setOffsetX(1);
  Bone& bone = follow.pose(1, 1, 0, 0);
  EXPECT_NEAR(worldRotation(bone), 90, 1e-4);
  // One unit along the target's x axis: 2 (cos 60, sin 60).
  EXPECT_NEAR(bone.getWorldX(), 11, 1e-4);
  EXPECT_NEAR(bone.getWorldY(), 20 + std::sqrt(3.0), 1e-4);

  follow.target->setScaleY(-3);
  delete follow.skeleton;
  follow.skeleton = nullptr;
  Bone& mirrored = follow.pose(1, 0, 0, 0);
  EXPECT_NEAR(worldRotation(mirrored), 30, 1e-4);
}

TEST(TransformConstraint, RelativeWorldAddsTheTargetsTransform) {
  Follow follow(false, true);
  Bone& bone = follow.pose(1, 1, 1, 0);
  EXPECT_NEAR(worldRotation(bone), 70, 1e-4);
  EXPECT_NEAR(bone.getWorldX(), 11, 1e-4);
  EXPECT_NEAR(bone.getWorldY(), 22, 1e-4);
  EXPECT_NEAR(std::hypot(bone.getA(), bone.getC()), 2, 1e-5);
  EXPECT_NEAR(std::hypot(bone.getB(), bone.getD()), 3, 1e-5);
}

TEST(TransformConstraint, AbsoluteLocalMovesTheLocalValuesTowardTheTargets) {
  Follow follow(true, false);
  follow.bone->setScaleX(4);
  Bone& bone = follow.pose(1, 1, 1, 1);
  EXPECT_NEAR(bone.getARotation(), 60, 1e-4);
  EXPECT_NEAR(bone.getAX(), 10, 1e-5);
  EXPECT_NEAR(bone.getAY(), 20, 1e-5);
  // The scale becomes the target's scale, not its ratio to the bone's own.
  EXPECT_NEAR(bone.getAScaleX(), 2, 1e-5);
  EXPECT_NEAR(bone.getAScaleY(), 3, 1e-5);
  EXPECT_NEAR(bone.getAShearY(), 15, 1e-4);

  follow.pose(0, 0, 0.5f, 0);
  EXPECT_NEAR(bone.getAScaleX(), 3, 1e-5);
  EXPECT_NEAR(bone.getAScaleY(), 2, 1e-5);

  // A mirrored or collapsed scale stays as it is instead of passing
  // through zero to the target's; the other axis still follows.
  struct Case {
    float scaleX, scaleY, expectedX, expectedY;
  };
  for (const Case& c : {Case{-1, 1, -1, 3}, Case{1, -1, 2, -1}, Case{-1, -2, -1, -2}, Case{0.00001f, 0, 0.00001f, 0},
                        Case{0.00002f, 1, 2, 3}}) {
    SCOPED_TRACE(testing::Message() << c.scaleX << ", " << c.scaleY);
    Follow mirrored(true, false);
    mirrored.bone->setScaleX(c.scaleX);
    mirrored.bone->setScaleY(c.scaleY);
    Bone& b = mirrored.pose(0, 0, 1, 0);
    EXPECT_NEAR(b.getAScaleX(), c.expectedX, 1e-6);
    EXPECT_NEAR(b.getAScaleY(), c.expectedY, 1e-6);
  }
}

TEST(TransformConstraint, AbsoluteLocalTurnsTheShortWayAround) {
  Follow follow(true, false);
  follow.bone->setRotation(170);
  follow.target->setRotation(-170);
  Bone& bone = follow.pose(0.5f, 0, 0, 0);
  EXPECT_NEAR(bone.getARotation(), 180, 1e-4);
}

TEST(TransformConstraint, RelativeLocalAddsTheTargetsLocalValues) {
  Follow follow(true, true);
  follow.bone->setScaleX(4);
  Bone& bone = follow.pose(1, 1, 0.5f, 1);
  EXPECT_NEAR(bone.getARotation(), 70, 1e-4);
  EXPECT_NEAR(bone.getAX(), 11, 1e-5);
  EXPECT_NEAR(bone.getAY(), 22, 1e-5);
  EXPECT_NEAR(bone.getAScaleX(), 6, 1e-5);
  EXPECT_NEAR(bone.getAScaleY(), 2, 1e-5);
  EXPECT_NEAR(bone.getAShearY(), 15, 1e-4);
}

TEST(TransformConstraint, LocalModesReadAppliedValuesBackFromAWorldMatrix) {
  // A world-mode constraint runs first and leaves the target's applied values stale.
  Follow follow(true, false);
  auto* first = new TransformConstraintData("first");
  first->getBones().add(follow.target);
  first->setTarget(follow.data.getBones()[0]);
  first->setTranslateMix(1);
  first->setOffsetX(4);
  follow.data.getTransformConstraints().add(first);
  follow.constraint->setOrder(1);
  Bone& bone = follow.pose(0, 1, 0, 0);
  EXPECT_NEAR(follow.targetBone().getWorldX(), 4, 1e-5);
  EXPECT_NEAR(bone.getAX(), 4, 1e-5);
  EXPECT_NEAR(bone.getAY(), 0, 1e-5);
}
