#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "PoseTestSupport.h"
#include "skel/MathUtil.h"
#include "skel/Skeleton.h"

using namespace skel;
using posetest::addBone;
using posetest::expectMatrix;
using posetest::kDegRad;
using posetest::local;
using posetest::Matrix;
using posetest::multiply;

namespace {

// A root, a sheared and non-uniformly scaled parent, and a child whose
// transform mode each test picks.
struct Chain {
  explicit Chain(TransformMode mode) {
    BoneData* root = addBone(data, "root", nullptr, 10, 20, 30);
    root->setScaleX(2);
    root->setScaleY(2);
    BoneData* parent = addBone(data, "parent", root, 5, -3, 40);
    parent->setScaleX(1.5f);
    parent->setScaleY(0.5f);
    parent->setShearX(10);
    parent->setShearY(-20);
    BoneData* child = addBone(data, "child", parent, 4, 2, 25);
    child->setScaleX(1.25f);
    child->setScaleY(0.8f);
    child->setShearY(15);
    child->setTransformMode(mode);
    skeleton = new Skeleton(&data);
  }
  ~Chain() { delete skeleton; }

  Bone& bone(const char* name) { return *skeleton->findBone(name); }

  SkeletonData data;
  Skeleton* skeleton;
};

// Skeleton placement, root and parent of Chain in reference maths.
Matrix rootMatrix(double skeletonX = 0, double skeletonY = 0, double sx = 1, double sy = 1) {
  return multiply({sx, 0, 0, sy, skeletonX, skeletonY}, local(10, 20, 30, 2, 2));
}

Matrix parentMatrix(const Matrix& root) { return multiply(root, local(5, -3, 40, 1.5, 0.5, 10, -20)); }

// A child matrix of the given columns placed where a Normal child would be.
Matrix placed(const Matrix& parent, const Matrix& columns) {
  Matrix m = columns;
  m.x = parent.a * 4 + parent.b * 2 + parent.x;
  m.y = parent.c * 4 + parent.d * 2 + parent.y;
  return m;
}

}  // namespace

TEST(Bone, NormalChainComposesEveryLocalTransform) {
  Chain chain(TransformMode::Normal);
  chain.skeleton->setX(100);
  chain.skeleton->setY(-50);
  chain.skeleton->updateWorldTransform();
  const Matrix root = rootMatrix(100, -50);
  const Matrix parent = parentMatrix(root);
  expectMatrix(chain.bone("root"), root);
  expectMatrix(chain.bone("parent"), parent);
  expectMatrix(chain.bone("child"), multiply(parent, local(4, 2, 25, 1.25, 0.8, 0, 15)));
}

TEST(Bone, NegativeSkeletonScalesMirrorTheWholeChain) {
  Chain chain(TransformMode::Normal);
  chain.skeleton->setX(7);
  chain.skeleton->setScaleX(-1);
  chain.skeleton->setScaleY(-2);
  chain.skeleton->updateWorldTransform();
  const Matrix root = rootMatrix(7, 0, -1, -2);
  expectMatrix(chain.bone("root"), root);
  EXPECT_FLOAT_EQ(chain.bone("root").getWorldX(), 10 * -1 + 7);
  EXPECT_LT(chain.bone("root").getA(), 0);  // cos 30 * 2 turned negative
  expectMatrix(chain.bone("child"), multiply(parentMatrix(root), local(4, 2, 25, 1.25, 0.8, 0, 15)));
}

TEST(Bone, OnlyTranslationKeepsTheLocalTransformUnderTheSkeletonScale) {
  Chain chain(TransformMode::OnlyTranslation);
  chain.skeleton->setScaleX(-1);
  chain.skeleton->updateWorldTransform();
  const Matrix parent = parentMatrix(rootMatrix(0, 0, -1, 1));
  expectMatrix(chain.bone("child"), placed(parent, multiply({-1, 0, 0, 1, 0, 0}, local(0, 0, 25, 1.25, 0.8, 0, 15))));
}

TEST(Bone, NoRotationOrReflectionKeepsOnlyTheParentsScale) {
  // Under a uniformly scaled, turned parent the child keeps the scale and
  // drops the turn, and a mirrored parent changes nothing.
  for (float parentScaleY : {3.0f, -3.0f}) {
    SCOPED_TRACE(parentScaleY);
    SkeletonData data;
    BoneData* root = addBone(data, "root", nullptr, 0, 0, 60);
    root->setScaleX(3);
    root->setScaleY(parentScaleY);
    BoneData* child = addBone(data, "child", root, 1, 0, 20);
    child->setTransformMode(TransformMode::NoRotationOrReflection);
    Skeleton skeleton(&data);
    skeleton.updateWorldTransform();
    Matrix expected = multiply({3, 0, 0, 3, 0, 0}, local(0, 0, 20, 1, 1));
    expected.x = 3 * std::cos(60 * posetest::kDegRad);
    expected.y = 3 * std::sin(60 * posetest::kDegRad);
    expectMatrix(*skeleton.findBone("child"), expected);
  }
}

TEST(Bone, NoRotationOrReflectionUnderADegenerateParentTurnsWithItsSecondColumn) {
  SkeletonData data;
  BoneData* root = addBone(data, "root", nullptr, 0, 0, 90);
  root->setScaleX(0);  // first column vanishes; the second points along -x
  BoneData* child = addBone(data, "child", root, 0, 0, 30);
  child->setTransformMode(TransformMode::NoRotationOrReflection);
  Skeleton skeleton(&data);
  skeleton.updateWorldTransform();
  // prx = 90 - atan2(0, -1) = -90, so the child turns by 120 and is read
  // through the parent's second column only: a = sin 120, b = sin 210.
  const Bone& bone = *skeleton.findBone("child");
  EXPECT_NEAR(bone.getA(), std::sin(120 * posetest::kDegRad), 1e-5);
  EXPECT_NEAR(bone.getB(), std::sin(210 * posetest::kDegRad), 1e-5);
  EXPECT_NEAR(bone.getC(), 0, 1e-5);
  EXPECT_NEAR(bone.getD(), 0, 1e-5);
}

TEST(Bone, NoScaleFollowsTheParentsTurnButNotItsScale) {
  for (TransformMode mode : {TransformMode::NoScale, TransformMode::NoScaleOrReflection}) {
    Chain chain(mode);
    chain.skeleton->updateWorldTransform();
    const Matrix parent = parentMatrix(rootMatrix());
    // The parent's world direction of the child's rotation, unit length.
    const double r = 25 * posetest::kDegRad;
    const double za = parent.a * std::cos(r) + parent.b * std::sin(r);
    const double zc = parent.c * std::cos(r) + parent.d * std::sin(r);
    const double turn = std::atan2(zc, za) / posetest::kDegRad;
    expectMatrix(chain.bone("child"), placed(parent, local(0, 0, turn, 1.25, 0.8, 0, 15)), 2e-5);
  }
}

TEST(Bone, NoScaleKeepsAReflectionThatNoScaleOrReflectionDrops) {
  for (TransformMode mode : {TransformMode::NoScale, TransformMode::NoScaleOrReflection}) {
    SkeletonData data;
    BoneData* root = addBone(data, "root");
    root->setScaleY(-1);  // mirrored parent
    BoneData* child = addBone(data, "child", root, 0, 0, 30);
    child->setTransformMode(mode);
    Skeleton skeleton(&data);
    skeleton.updateWorldTransform();
    const Bone& bone = *skeleton.findBone("child");
    const double c30 = std::cos(30 * posetest::kDegRad), s30 = 0.5;
    if (mode == TransformMode::NoScale) {
      expectMatrix(bone, {c30, -s30, -s30, -c30, 0, 0});
    } else {
      expectMatrix(bone, {c30, s30, -s30, c30, 0, 0});
    }
  }
}

namespace {

// Chain's child by its mode, in reference maths, under a parent world matrix
// and the skeleton scale (sy already negated for yDown).
Matrix childByMode(TransformMode mode, const Matrix& parent, double sx, double sy) {
  const double rotation = 25, scaleX = 1.25, scaleY = 0.8, shearX = 0, shearY = 15;
  double pa = parent.a, pb = parent.b, pc = parent.c, pd = parent.d;
  Matrix m{};
  switch (mode) {
    case TransformMode::Normal: return multiply(parent, local(4, 2, rotation, scaleX, scaleY, shearX, shearY));
    case TransformMode::OnlyTranslation: m = local(0, 0, rotation, scaleX, scaleY, shearX, shearY); break;
    case TransformMode::NoRotationOrReflection: {
      const double s = std::fabs(pa * pd - pb * pc) / (pa * pa + pc * pc);
      pa /= sx;
      pc /= sy;
      pb = pc * s;
      pd = pa * s;
      const double prx = std::atan2(pc, pa) / kDegRad;
      const Matrix l = local(0, 0, rotation - prx, scaleX, scaleY, shearX, shearY);
      m = {pa * l.a - pb * l.c, pa * l.b - pb * l.d, pc * l.a + pd * l.c, pc * l.b + pd * l.d, 0, 0};
      break;
    }
    case TransformMode::NoScale:
    case TransformMode::NoScaleOrReflection: {
      const double r = rotation * kDegRad;
      double za = (pa * std::cos(r) + pb * std::sin(r)) / sx, zc = (pc * std::cos(r) + pd * std::sin(r)) / sy;
      const double length = std::hypot(za, zc);
      za /= length;
      zc /= length;
      const bool mirrored = (pa * pd - pb * pc < 0) != ((sx < 0) != (sy < 0));
      const double s = mode == TransformMode::NoScale && mirrored ? -1 : 1;
      const double turn = std::atan2(zc, za) + kDegRad * 90;
      const double zb = std::cos(turn) * s, zd = std::sin(turn) * s;
      const Matrix l = local(0, 0, 0, scaleX, scaleY, shearX, shearY);
      m = {za * l.a + zb * l.c, za * l.b + zb * l.d, zc * l.a + zd * l.c, zc * l.b + zd * l.d, 0, 0};
      break;
    }
  }
  return placed(parent, {m.a * sx, m.b * sx, m.c * sy, m.d * sy, 0, 0});
}

}  // namespace

// Every mode takes the skeleton's x and y scales apart: an uneven skeleton
// scale and yDown each show a mix-up of the two.
TEST(Bone, EveryModeTakesAnUnevenSkeletonScaleAndYDown) {
  const TransformMode modes[] = {TransformMode::Normal, TransformMode::OnlyTranslation,
                                 TransformMode::NoRotationOrReflection, TransformMode::NoScale,
                                 TransformMode::NoScaleOrReflection};
  for (TransformMode mode : modes) {
    for (bool yDown : {false, true}) {
      SCOPED_TRACE(std::to_string(int(mode)) + (yDown ? " yDown" : " scale (2, 1)"));
      Chain chain(mode);
      const double sx = yDown ? 1 : 2, sy = yDown ? -1 : 1;
      chain.skeleton->setScaleX(float(sx));
      Bone::setYDown(yDown);
      chain.skeleton->updateWorldTransform();
      Bone::setYDown(false);
      const Matrix parent = parentMatrix(rootMatrix(0, 0, sx, sy));
      expectMatrix(chain.bone("child"), childByMode(mode, parent, sx, sy), 2e-5);
    }
  }
}

TEST(Bone, YDownNegatesTheSkeletonsYScale) {
  Chain chain(TransformMode::Normal);
  Bone::setYDown(true);
  chain.skeleton->updateWorldTransform();
  Bone::setYDown(false);
  const Matrix root = rootMatrix(0, 0, 1, -1);
  expectMatrix(chain.bone("root"), root);
  expectMatrix(chain.bone("child"), multiply(parentMatrix(root), local(4, 2, 25, 1.25, 0.8, 0, 15)));
}

TEST(Bone, AppliedTransformReproducesTheWorldTransform) {
  Chain chain(TransformMode::Normal);
  chain.skeleton->setX(30);
  chain.skeleton->setY(-12);
  chain.skeleton->setScaleX(-2);
  chain.skeleton->setScaleY(0.5f);
  chain.skeleton->updateWorldTransform();
  for (const char* name : {"root", "parent", "child"}) {
    SCOPED_TRACE(name);
    Bone& bone = chain.bone(name);
    const Matrix before = {bone.getA(), bone.getB(), bone.getC(), bone.getD(), bone.getWorldX(), bone.getWorldY()};
    bone.setAppliedValid(false);
    bone.updateAppliedTransform();
    EXPECT_TRUE(bone.isAppliedValid());
    bone.updateWorldTransform(bone.getAX(), bone.getAY(), bone.getARotation(), bone.getAScaleX(), bone.getAScaleY(),
                              bone.getAShearX(), bone.getAShearY());
    expectMatrix(bone, before, 1e-4);
  }
  // The parent's applied values are its local pose, shear folded into rotation and shear y.
  Bone& parent = chain.bone("parent");
  EXPECT_NEAR(parent.getAX(), 5, 1e-4);
  EXPECT_NEAR(parent.getAY(), -3, 1e-4);
  EXPECT_NEAR(parent.getARotation(), 50, 1e-3);
  EXPECT_NEAR(parent.getAScaleX(), 1.5, 1e-5);
  EXPECT_NEAR(parent.getAShearY(), -30, 1e-3);
}

TEST(Bone, AppliedTransformOfMirroredShearedAndCollapsedBonesReproducesThem) {
  SkeletonData data;
  BoneData* root = addBone(data, "root", nullptr, 3, 4, 20);
  root->setScaleY(-1.5f);
  root->setShearY(12);
  BoneData* mirrored = addBone(data, "mirrored", root, 1, 2, -35);
  mirrored->setScaleY(-0.5f);
  mirrored->setShearY(-25);
  BoneData* collapsed = addBone(data, "collapsed", root, 0, 0, 10);
  collapsed->setScaleX(0);
  Skeleton skeleton(&data);
  skeleton.updateWorldTransform();
  for (Bone* bone : skeleton.getBones()) {
    SCOPED_TRACE(bone->getData().getName().buffer());
    const Matrix before = {bone->getA(), bone->getB(),      bone->getC(),
                           bone->getD(), bone->getWorldX(), bone->getWorldY()};
    bone->updateAppliedTransform();
    bone->updateWorldTransform(bone->getAX(), bone->getAY(), bone->getARotation(), bone->getAScaleX(),
                               bone->getAScaleY(), bone->getAShearX(), bone->getAShearY());
    expectMatrix(*bone, before, 1e-4);
  }
}

// Bones turn through the shared sine-and-cosine pair: it must give what the
// library gives narrowed to float, or every pose would drift from before.
TEST(Bone, SinCosGivesTheLibrarysValuesNarrowed) {
  auto check = [](float x) {
    float s = 0, c = 0;
    MathUtil::sinCos(x, s, c);
    const float librarySin = static_cast<float>(std::sin(double{x}));
    const float libraryCos = static_cast<float>(std::cos(double{x}));
    if (std::isnan(librarySin)) {
      EXPECT_TRUE(std::isnan(s) && std::isnan(c)) << x;
      return;
    }
    // Bits, not values: the sign of a zero counts too.
    EXPECT_EQ(std::signbit(s), std::signbit(librarySin)) << x;
    EXPECT_EQ(s, librarySin) << x;
    EXPECT_EQ(c, libraryCos) << x;
  };
  for (float x = -70000.0f; x < 70000.0f; x += 0.7f) check(x);
  for (float x = -7.0f; x < 7.0f; x += 0.0001f) check(x);
  for (float x : {0.0f, -0.0f, 1e-30f, MathUtil::HalfPi, MathUtil::Pi, -MathUtil::Pi2, 65535.99f, 65536.0f, -65536.0f,
                  1e30f, HUGE_VALF, -HUGE_VALF, NAN})
    check(x);
}
