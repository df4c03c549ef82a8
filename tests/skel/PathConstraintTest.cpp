#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "PoseTestSupport.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraint.h"
#include "skel/PathConstraintData.h"
#include "skel/Skeleton.h"
#include "skel/Skin.h"
#include "skel/Slot.h"

using namespace skel;
using posetest::addBone;
using posetest::addSlot;

namespace {

float worldRotation(const Bone& bone) { return std::atan2(bone.getC(), bone.getA()) / posetest::kDegRad; }

// Knots as (in x, in y, x, y, out x, out y) each.
PathAttachment* makePath(std::initializer_list<float> vertices, std::initializer_list<float> lengths,
                         bool closed = false) {
  auto* path = new PathAttachment("path");
  for (float v : vertices) path->getVertices().add(v);
  path->setWorldVerticesLength(path->getVertices().size());
  for (float l : lengths) path->getLengths().add(l);
  path->setClosed(closed);
  return path;
}

// A straight open path from (0, 0) to (60, 80), length 100, parametrised evenly.
PathAttachment* diagonal() { return makePath({-6, -8, 0, 0, 20, 26.666666f, 40, 53.333332f, 60, 80, 66, 88}, {100}); }

// Three bones of length 10 laid along a path shown by a slot on "holder".
struct OnPath {
  explicit OnPath(PathAttachment* path, int boneCount = 3) {
    BoneData* root = addBone(data, "root");
    BoneData* holder = addBone(data, "holder", root);
    SlotData* slot = addSlot(data, "slot", *holder, "path");
    constraint = new PathConstraintData("pc");
    for (int i = 0; i < boneCount; ++i) {
      const std::string name = "b" + std::to_string(i);
      constraint->getBones().add(addBone(data, name.c_str(), root, 0, 0, 0, 10));
    }
    constraint->setTarget(slot);
    constraint->setPositionMode(PositionMode::Fixed);
    data.getPathConstraints().add(constraint);
    auto* skin = new Skin("default");
    skin->setAttachment(0, "path", path);
    data.getSkins().add(skin);
    data.setDefaultSkin(skin);
  }
  ~OnPath() { delete skeleton; }

  void pose(float position, float spacing = 0) {
    if (!skeleton) skeleton = new Skeleton(&data);
    PathConstraint& pc = *skeleton->getPathConstraints()[0];
    pc.setPosition(position);
    pc.setSpacing(spacing);
    skeleton->updateWorldTransform();
  }
  Bone& bone(int i) { return *skeleton->findBone(("b" + std::to_string(i)).c_str()); }
  void expectAt(int i, float x, float y, float tolerance = 1e-3f) {
    EXPECT_NEAR(bone(i).getWorldX(), x, tolerance) << "bone " << i;
    EXPECT_NEAR(bone(i).getWorldY(), y, tolerance) << "bone " << i;
  }

  SkeletonData data;
  PathConstraintData* constraint;
  Skeleton* skeleton = nullptr;
};

}  // namespace

TEST(PathConstraint, BonesFollowAStraightPathAtTheirLengthsApart) {
  OnPath on(diagonal());
  on.pose(5);
  on.expectAt(0, 3, 4);
  on.expectAt(1, 9, 12);
  on.expectAt(2, 15, 20);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(worldRotation(on.bone(i)), 53.130102, 1e-3);

  on.pose(5, 5);  // extra gap between bones
  on.expectAt(2, 21, 28);
}

TEST(PathConstraint, PositionsBeyondAnOpenPathContinueAlongItsEnds) {
  OnPath on(diagonal());
  on.pose(-10);
  on.expectAt(0, -6, -8);
  on.expectAt(1, 0, 0);
  on.pose(95);
  on.expectAt(0, 57, 76);
  on.expectAt(1, 63, 84);
  on.expectAt(2, 69, 92);
  EXPECT_NEAR(worldRotation(on.bone(2)), 53.130102, 1e-3);
}

TEST(PathConstraint, PercentPositionAndSpacingScaleWithThePath) {
  OnPath on(diagonal());
  on.constraint->setPositionMode(PositionMode::Percent);
  on.constraint->setSpacingMode(SpacingMode::Percent);
  on.pose(0.5f, 0.25f);
  on.expectAt(0, 30, 40);
  on.expectAt(1, 45, 60);
  on.expectAt(2, 60, 80);
}

TEST(PathConstraint, MixesBlendTheBonesTowardThePath) {
  OnPath on(diagonal());
  on.constraint->setTranslateMix(0.5f);
  on.constraint->setRotateMix(0.5f);
  on.pose(50);
  on.expectAt(0, 15, 20);
  EXPECT_NEAR(worldRotation(on.bone(0)), 53.130102 / 2, 1e-3);

  on.skeleton->getPathConstraints()[0]->setTranslateMix(0);
  on.skeleton->getPathConstraints()[0]->setRotateMix(0);
  on.pose(50);
  on.expectAt(0, 0, 0);
  EXPECT_NEAR(worldRotation(on.bone(0)), 0, 1e-4);
}

TEST(PathConstraint, ClosedPathWrapsPositionsBackToTheStart) {
  // Out along x to (100, 0) and straight back: length 200.
  OnPath on(makePath({33.333332f, 0, 0, 0, 33.333332f, 0, 66.666664f, 0, 100, 0, 66.666664f, 0}, {100, 200}, true), 1);
  on.pose(250);
  on.expectAt(0, 50, 0);
  EXPECT_NEAR(worldRotation(on.bone(0)), 0, 1e-3);
  on.pose(-50);
  on.expectAt(0, 50, 0);
  EXPECT_NEAR(std::fabs(worldRotation(on.bone(0))), 180, 1e-3);
}

TEST(PathConstraint, ConstantSpeedSpacesBonesEvenlyOnAnUnevenCurve) {
  // Control points bunched at the start: the curve parameter runs behind the distance.
  PathAttachment* path = makePath({-10, 0, 0, 0, 10, 0, 20, 0, 100, 0, 110, 0}, {100});
  OnPath uneven(path);
  uneven.pose(25, 15);
  EXPECT_NEAR(uneven.bone(0).getWorldX(), 8.59375f, 1e-3);  // the curve at t = 0.25

  path->setConstantSpeed(true);
  OnPath even(path);
  even.pose(25, 15);
  even.expectAt(0, 25, 0, 0.5f);
  even.expectAt(1, 50, 0, 0.5f);
  even.expectAt(2, 75, 0, 0.5f);
}

TEST(PathConstraint, ConstantSpeedOnAClosedLoopWrapsWithinOneCurve) {
  // One knot closing on itself: a single curve out and back to the origin.
  PathAttachment* loop = makePath({100, 100, 0, 0, 100, 0}, {150}, true);
  loop->setConstantSpeed(true);
  OnPath pair(loop, 2);
  pair.constraint->setPositionMode(PositionMode::Percent);
  pair.constraint->setSpacingMode(SpacingMode::Percent);
  OnPath single(loop, 1);
  single.constraint->setPositionMode(PositionMode::Percent);

  // The second bone passes the end and lands a tenth of the way round.
  pair.pose(0.9f, 0.2f);
  single.pose(0.1f);
  EXPECT_NEAR(pair.bone(1).getWorldX(), single.bone(0).getWorldX(), 1e-3);
  EXPECT_NEAR(pair.bone(1).getWorldY(), single.bone(0).getWorldY(), 1e-3);
  EXPECT_GT(std::hypot(single.bone(0).getWorldX(), single.bone(0).getWorldY()), 1);
}

TEST(PathConstraint, ChainModeStartsEachBoneAtTheTipOfThePrevious) {
  // A quarter-circle-like curve: chords are shorter than arcs.
  PathAttachment* curve = makePath({0, -10, 0, 0, 0, 20, 10, 30, 30, 30, 40, 30}, {42});
  OnPath on(curve);
  on.constraint->setRotateMode(RotateMode::Chain);
  on.pose(2);
  for (int i = 0; i < 2; ++i) {
    const Bone& bone = on.bone(i);
    on.expectAt(i + 1, bone.getWorldX() + bone.getA() * 10, bone.getWorldY() + bone.getC() * 10);
  }
}

TEST(PathConstraint, ChainScaleStretchesBonesAcrossTheGaps) {
  OnPath on(diagonal());
  on.constraint->setRotateMode(RotateMode::ChainScale);
  on.pose(0, 5);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(std::hypot(on.bone(i).getA(), on.bone(i).getC()), 1.5f, 1e-4);
  on.expectAt(1, 9, 12);
}

TEST(PathConstraint, PathsTooShortForTheirCurvesLeaveTheBonesAlone) {
  // One knot of an open path, lengths missing, vertices shorter than declared.
  PathAttachment* lonely = makePath({0, 0, 1, 1, 2, 2}, {5});
  OnPath one(lonely);
  one.pose(1);
  one.expectAt(1, 0, 0);

  PathAttachment* noLengths = diagonal();
  noLengths->getLengths().clear();
  OnPath two(noLengths);
  two.pose(1);
  two.expectAt(1, 0, 0);
  noLengths->setConstantSpeed(true);
  two.pose(1);
  two.expectAt(1, 0, 0);

  PathAttachment* truncated = diagonal();
  truncated->setWorldVerticesLength(24);
  truncated->getLengths().add(200);
  truncated->getLengths().add(300);
  OnPath three(truncated);
  three.pose(150);
  truncated->setConstantSpeed(true);
  three.pose(150);
  truncated->setClosed(true);
  three.pose(150);

  // No bones at all.
  OnPath none(diagonal(), 0);
  none.pose(10);
}
