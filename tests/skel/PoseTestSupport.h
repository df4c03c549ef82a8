// Builds small skeleton data by hand for the pose, attachment and constraint tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/SkeletonData.h"
#include "skel/SlotData.h"

namespace posetest {

// Plain double-precision reference maths, independent of the runtime's.
constexpr double kDegRad = 3.14159265358979323846 / 180.0;

struct Matrix {
  double a, b, c, d, x, y;
};

// The local transform of a bone: rotation and shear in degrees, then scale.
inline Matrix local(double x, double y, double rotation, double scaleX, double scaleY, double shearX = 0,
                    double shearY = 0) {
  return {std::cos((rotation + shearX) * kDegRad) * scaleX,
          std::cos((rotation + 90 + shearY) * kDegRad) * scaleY,
          std::sin((rotation + shearX) * kDegRad) * scaleX,
          std::sin((rotation + 90 + shearY) * kDegRad) * scaleY,
          x,
          y};
}

inline Matrix multiply(const Matrix& p, const Matrix& l) {
  return {p.a * l.a + p.b * l.c, p.a * l.b + p.b * l.d,       p.c * l.a + p.d * l.c,
          p.c * l.b + p.d * l.d, p.a * l.x + p.b * l.y + p.x, p.c * l.x + p.d * l.y + p.y};
}

inline void expectMatrix(const skel::Bone& bone, const Matrix& m, double tolerance = 1e-5) {
  EXPECT_NEAR(bone.getA(), m.a, tolerance);
  EXPECT_NEAR(bone.getB(), m.b, tolerance);
  EXPECT_NEAR(bone.getC(), m.c, tolerance);
  EXPECT_NEAR(bone.getD(), m.d, tolerance);
  EXPECT_NEAR(bone.getWorldX(), m.x, tolerance * 100);
  EXPECT_NEAR(bone.getWorldY(), m.y, tolerance * 100);
}

inline skel::BoneData* addBone(skel::SkeletonData& data, const char* name, skel::BoneData* parent = nullptr,
                               float x = 0, float y = 0, float rotation = 0, float length = 0) {
  auto* bone = new skel::BoneData(static_cast<int>(data.getBones().size()), name, parent);
  bone->setX(x);
  bone->setY(y);
  bone->setRotation(rotation);
  bone->setLength(length);
  data.getBones().add(bone);
  return bone;
}

inline skel::SlotData* addSlot(skel::SkeletonData& data, const char* name, skel::BoneData& bone,
                               const char* attachmentName = nullptr) {
  auto* slot = new skel::SlotData(static_cast<int>(data.getSlots().size()), name, bone);
  if (attachmentName) slot->setAttachmentName(attachmentName);
  data.getSlots().add(slot);
  return slot;
}

}  // namespace posetest
