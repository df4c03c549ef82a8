#include <gtest/gtest.h>

#include <cmath>

#include "PoseTestSupport.h"
#include "skel/IkConstraint.h"
#include "skel/IkConstraintData.h"
#include "skel/Skeleton.h"

using namespace skel;
using posetest::addBone;

namespace {

// Where the end of a bone of the given length lies in the world.
void tip(const Bone& bone, float length, float& x, float& y) {
  x = bone.getWorldX() + bone.getA() * length;
  y = bone.getWorldY() + bone.getC() * length;
}

float distance(float x1, float y1, float x2, float y2) { return std::hypot(x1 - x2, y1 - y2); }

float worldRotation(const Bone& bone) { return std::atan2(bone.getC(), bone.getA()) / posetest::kDegRad; }

// An upper and a lower arm of length 10 each along x, and a target bone. With
// rootedArm the upper arm is itself a root bone.
struct Arm {
  explicit Arm(int boneCount = 2, bool rootedArm = false) {
    BoneData* root = rootedArm ? nullptr : addBone(data, "root");
    upper = addBone(data, "upper", root, 0, 0, 0, 10);
    lower = addBone(data, "lower", upper, 10, 0, 0, 10);
    target = addBone(data, "target", root);
    auto* ik = new IkConstraintData("ik");
    ik->getBones().add(upper);
    if (boneCount == 2) ik->getBones().add(lower);
    ik->setTarget(target);
    data.getIkConstraints().add(ik);
  }
  ~Arm() { delete skeleton; }

  Skeleton& build() {
    skeleton = new Skeleton(&data);
    return *skeleton;
  }
  IkConstraint& ik() { return *skeleton->getIkConstraints()[0]; }
  Bone& bone(const char* name) { return *skeleton->findBone(name); }
  void reach(float x, float y) {
    Bone& t = bone("target");
    t.setX(x);
    t.setY(y);
    skeleton->updateWorldTransform();
  }
  float reachedDistance() {
    float x, y;
    tip(bone("lower"), 10, x, y);
    const Bone& t = bone("target");
    return distance(x, y, t.getWorldX(), t.getWorldY());
  }

  SkeletonData data;
  BoneData *upper, *lower, *target;
  Skeleton* skeleton = nullptr;
};

}  // namespace

TEST(IkConstraint, OneBoneTurnsTowardTheTargetByItsMix) {
  Arm arm(1);
  arm.build();
  arm.reach(0, 10);
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 90, 1e-4);
  arm.ik().setMix(0.5f);
  arm.reach(-10, 0);
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 90, 1e-4);
}

TEST(IkConstraint, OneBoneStretchesAndCompressesToTheTarget) {
  Arm arm(1);
  arm.build();
  arm.ik().setStretch(true);
  arm.reach(20, 0);
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleX(), 2);
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleY(), 1);
  arm.reach(5, 0);  // closer than the length: stretch alone does not shrink
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleX(), 1);

  arm.ik().setCompress(true);
  arm.reach(5, 0);
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleX(), 0.5f);

  arm.data.getIkConstraints()[0]->setUniform(true);
  arm.ik().setMix(0.5f);
  arm.reach(20, 0);
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleX(), 1.5f);
  EXPECT_FLOAT_EQ(arm.bone("upper").getAScaleY(), 1.5f);
}

TEST(IkConstraint, OneBoneOnARootBoneAimsInSkeletonSpace) {
  // The upper arm is a root: the skeleton's placement stands in for its parent.
  Arm arm(1, true);
  Skeleton& skeleton = arm.build();
  skeleton.setX(100);
  skeleton.setY(50);
  skeleton.setScaleX(-2);
  // The target, another root, sits at skeleton (0, 10) -> world (100, 60).
  arm.reach(0, 10);
  const Bone& upper = arm.bone("upper");
  EXPECT_NEAR(upper.getWorldX(), 100, 1e-4);
  EXPECT_NEAR(upper.getWorldY(), 50, 1e-4);
  EXPECT_NEAR(worldRotation(upper), 90, 1e-4);
  EXPECT_NEAR(upper.getARotation(), 90, 1e-4);

  arm.reach(5, 0);  // world (90, 50): the mirrored skeleton points it left
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 180, 1e-4);
}

TEST(IkConstraint, TwoBonesReachATargetOnEitherSideByBendDirection) {
  Arm arm;
  arm.build();
  arm.reach(10, 10);
  EXPECT_LT(arm.reachedDistance(), 1e-4);
  EXPECT_NEAR(arm.bone("lower").getWorldX(), 10, 1e-4);  // elbow below the line
  EXPECT_NEAR(arm.bone("lower").getWorldY(), 0, 1e-4);

  arm.ik().setBendDirection(-1);
  arm.reach(10, 10);
  EXPECT_LT(arm.reachedDistance(), 1e-4);
  EXPECT_NEAR(arm.bone("lower").getWorldX(), 0, 1e-4);  // elbow above it
  EXPECT_NEAR(arm.bone("lower").getWorldY(), 10, 1e-4);
}

TEST(IkConstraint, TwoBonesPointStraightAtAFarTargetOrStretchToIt) {
  Arm arm;
  arm.build();
  arm.reach(0, 30);
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 90, 1e-4);
  EXPECT_NEAR(worldRotation(arm.bone("lower")), 90, 1e-4);
  EXPECT_NEAR(arm.reachedDistance(), 10, 1e-4);

  arm.ik().setStretch(true);
  arm.reach(0, 30);
  EXPECT_NEAR(arm.bone("upper").getAScaleX(), 1.5f, 1e-5);
  EXPECT_LT(arm.reachedDistance(), 1e-4);

  arm.ik().setMix(0.5f);
  arm.reach(30, 0);
  EXPECT_NEAR(arm.bone("upper").getAScaleX(), 1.25f, 1e-5);
}

TEST(IkConstraint, TwoBonesWithNoMixOnlyPoseTheChildFromItsOwnValues) {
  Arm arm;
  arm.build();
  arm.ik().setMix(0);
  arm.bone("lower").setRotation(30);
  arm.reach(0, 30);
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 0, 1e-4);
  EXPECT_NEAR(worldRotation(arm.bone("lower")), 30, 1e-4);
}

TEST(IkConstraint, SoftnessEasesTheChainBeforeItStraightens) {
  Arm arm;
  arm.build();
  arm.ik().setSoftness(5);
  // Within reach less the softness the target is met exactly.
  arm.reach(12, 0);
  EXPECT_LT(arm.reachedDistance(), 1e-4);
  // Between: the tip lags, at 18 - (3 - 5 * (1 - 0.7^2)) = 17.55.
  arm.reach(18, 0);
  float x, y;
  tip(arm.bone("lower"), 10, x, y);
  EXPECT_NEAR(x, 17.55f, 1e-3);
  EXPECT_NEAR(y, 0, 1e-3);
  // Far enough out the chain is just straight.
  arm.reach(30, 0);
  tip(arm.bone("lower"), 10, x, y);
  EXPECT_NEAR(x, 20, 1e-3);
}

TEST(IkConstraint, NonUniformParentScaleReachesAlongTheEllipseOrItsFarthestPoint) {
  Arm arm;
  arm.upper->setScaleX(2);
  arm.build();
  // The child starts at (20, 0) and its tip sweeps an ellipse; (15, 12) lies inside it.
  arm.reach(15, 12);
  EXPECT_LT(arm.reachedDistance(), 1e-3);
  arm.ik().setBendDirection(-1);
  arm.reach(15, 12);
  EXPECT_LT(arm.reachedDistance(), 1e-3);

  // Out of reach: the farthest point, on the line to the target.
  arm.reach(0, 100);
  float x, y;
  tip(arm.bone("lower"), 10, x, y);
  EXPECT_NEAR(std::atan2(y, x) / posetest::kDegRad, 90, 1e-3);
}

TEST(IkConstraint, TwoBonesWhoseParentIsARootAimInSkeletonSpace) {
  Arm arm(2, true);
  Skeleton& skeleton = arm.build();
  skeleton.setX(-40);
  skeleton.setY(25);
  arm.reach(10, 10);
  EXPECT_LT(arm.reachedDistance(), 1e-4);
  EXPECT_NEAR(arm.bone("lower").getWorldX(), -30, 1e-4);
  EXPECT_NEAR(arm.bone("lower").getWorldY(), 25, 1e-4);
}

TEST(IkConstraint, DegenerateChainsStayFinite) {
  // A parent of zero length and a child of zero scale.
  Arm arm;
  arm.lower->setX(0);
  arm.build();
  arm.ik().setStretch(true);
  arm.reach(5, 5);
  EXPECT_NEAR(worldRotation(arm.bone("upper")), 45, 1e-4);
  arm.bone("upper").setScaleX(0);
  arm.bone("upper").setScaleY(0);
  arm.reach(5, 5);
  for (Bone* bone : arm.skeleton->getBones()) {
    EXPECT_TRUE(std::isfinite(bone->getA()));
    EXPECT_TRUE(std::isfinite(bone->getWorldX()));
  }
}
