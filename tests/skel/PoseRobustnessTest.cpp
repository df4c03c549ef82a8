#include <gtest/gtest.h>

#include <random>
#include <string>

#include "PoseTestSupport.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/IkConstraintData.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraintData.h"
#include "skel/Skeleton.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/TransformConstraintData.h"

using namespace skel;

namespace {

// Random but repeatable skeletons whose arrays and references disagree with
// each other, as hand-made or damaged data would. Run under the sanitizers,
// posing them must neither crash nor read out of bounds.
class Chaos {
 public:
  explicit Chaos(unsigned seed) : _random(seed) {}

  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(_random); }
  float number() { return std::uniform_real_distribution<float>(-50, 50)(_random); }
  bool coin() { return pick(2) == 0; }

  void fillVertices(VertexAttachment& attachment, int boneCount) {
    const int floats = pick(40);
    for (int i = 0; i < floats; ++i) attachment.getVertices().add(coin() ? number() : 0);
    if (coin()) {
      const int entries = pick(20);
      for (int i = 0; i < entries; ++i) attachment.getBones().add(static_cast<unsigned long long>(pick(boneCount + 3)));
    }
    attachment.setWorldVerticesLength(static_cast<size_t>(coin() ? 6 * pick(6) : pick(48)));
  }

  SkeletonData* build() {
    auto* data = new SkeletonData();
    const int boneCount = 1 + pick(8);
    for (int i = 0; i < boneCount; ++i) {
      BoneData* parent = i > 0 ? data->getBones()[pick(i)] : nullptr;
      BoneData* bone = posetest::addBone(*data, ("b" + std::to_string(i)).c_str(), parent, number(), number(),
                                         number() * 7, coin() ? number() : 0);
      bone->setScaleX(coin() ? number() / 10 : 1);
      bone->setScaleY(coin() ? 0 : 1);
      bone->setShearY(number());
      bone->setTransformMode(static_cast<TransformMode>(pick(5)));
      bone->setSkinRequired(pick(4) == 0);
    }
    const Vector<BoneData*>& bones = data->getBones();
    for (int i = 0; i < 3; ++i)
      posetest::addSlot(*data, ("s" + std::to_string(i)).c_str(), *bones[pick(boneCount)], "a");

    auto* skin = new Skin("default");
    for (int i = 0; i < 3; ++i) {
      if (pick(4) != 0) {
        auto* path = new PathAttachment("a");
        fillVertices(*path, boneCount);
        const int lengths = pick(8);
        for (int j = 0; j < lengths; ++j) path->getLengths().add(pick(5) ? 20.0f * (j + 1) : number());
        path->setClosed(coin());
        path->setConstantSpeed(coin());
        skin->setAttachment(static_cast<size_t>(i), "a", path);
      } else {
        auto* box = new BoundingBoxAttachment("a");
        fillVertices(*box, boneCount);
        skin->setAttachment(static_cast<size_t>(i), "a", box);
      }
    }
    skin->getBones().add(bones[pick(boneCount)]);
    data->getSkins().add(skin);
    data->setDefaultSkin(skin);

    const int constraints = pick(6);
    for (int i = 0; i < constraints; ++i) {
      const std::string name = "c" + std::to_string(i);
      switch (pick(4)) {
        case 0: {
          auto* ik = new IkConstraintData(name.c_str());
          for (int j = pick(4); j > 0; --j) ik->getBones().add(bones[pick(boneCount)]);
          ik->setTarget(coin() ? bones[pick(boneCount)] : nullptr);
          ik->setBendDirection(coin() ? 1 : -1);
          ik->setStretch(coin());
          ik->setCompress(coin());
          ik->setUniform(coin());
          ik->setSoftness(coin() ? number() : 0);
          ik->setMix(coin() ? 1 : 0.5f);
          ik->setOrder(static_cast<uint64_t>(pick(constraints + 1)));
          data->getIkConstraints().add(ik);
          break;
        }
        case 1: {
          auto* tc = new TransformConstraintData(name.c_str());
          for (int j = pick(3); j > 0; --j) tc->getBones().add(bones[pick(boneCount)]);
          tc->setTarget(coin() ? bones[pick(boneCount)] : nullptr);
          tc->setLocal(coin());
          tc->setRelative(coin());
          tc->setRotateMix(1);
          tc->setTranslateMix(coin() ? 1 : 0);
          tc->setScaleMix(0.5f);
          tc->setShearMix(coin() ? 1 : 0);
          tc->setOffsetRotation(number());
          data->getTransformConstraints().add(tc);
          break;
        }
        default: {
          auto* pc = new PathConstraintData(name.c_str());
          for (int j = pick(4); j > 0; --j) pc->getBones().add(bones[pick(boneCount)]);
          pc->setTarget(pick(5) != 0 ? data->getSlots()[pick(3)] : nullptr);
          pc->setPositionMode(static_cast<PositionMode>(pick(2)));
          pc->setSpacingMode(static_cast<SpacingMode>(pick(3)));
          pc->setRotateMode(static_cast<RotateMode>(pick(3)));
          pc->setOffsetRotation(coin() ? 0 : number());
          pc->setPosition(number());
          pc->setSpacing(number() / 10);
          pc->setOrder(static_cast<uint64_t>(pick(constraints + 1)));
          data->getPathConstraints().add(pc);
          break;
        }
      }
    }
    return data;
  }

 private:
  std::mt19937 _random;
};

}  // namespace

TEST(PoseRobustness, InconsistentHandMadeSkeletonsPoseWithoutFault) {
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(seed);
    Chaos chaos(seed);
    SkeletonData* data = chaos.build();
    {
      Skeleton skeleton(data);
      skeleton.setScaleX(chaos.coin() ? -1 : 1);
      for (int frame = 0; frame < 3; ++frame) {
        for (Slot* slot : skeleton.getSlots()) {
          slot->getDeform().clear();
          for (int i = chaos.pick(30); i > 0; --i) slot->getDeform().add(chaos.number());
        }
        skeleton.updateWorldTransform();
      }
      skeleton.setSkin(nullptr);
      skeleton.setSkin(data->getDefaultSkin());
      skeleton.updateWorldTransform();
    }
    delete data;
  }
}
