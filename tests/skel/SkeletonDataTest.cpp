#include <gtest/gtest.h>

#include <string>

#include "PoseTestSupport.h"
#include "skel/Animation.h"
#include "skel/EventData.h"
#include "skel/IkConstraintData.h"
#include "skel/PathConstraintData.h"
#include "skel/PointAttachment.h"
#include "skel/Skin.h"
#include "skel/TransformConstraintData.h"

using namespace skel;
using posetest::addBone;
using posetest::addSlot;

namespace {

// Reports its own deletion.
class TrackedAttachment : public PointAttachment {
 public:
  TrackedAttachment(const char* name, bool& deleted) : PointAttachment(name), _deleted(deleted) {}
  ~TrackedAttachment() override { _deleted = true; }

 private:
  bool& _deleted;
};

size_t entryCount(const Skin& skin) {
  size_t count = 0;
  for (const auto& bucket : skin.getAttachments().getBuckets()) count += bucket.size();
  return count;
}

}  // namespace

TEST(Skin, SettingTheSameNameTwiceReplacesAndDeletesTheUnsharedAttachment) {
  bool firstDeleted = false, secondDeleted = false;
  auto* first = new TrackedAttachment("a", firstDeleted);
  auto* second = new TrackedAttachment("a", secondDeleted);
  {
    Skin skin("skin");
    skin.setAttachment(2, "a", first);
    EXPECT_EQ(first->getRefCount(), 1);
    EXPECT_EQ(skin.getAttachments().getBuckets().size(), 3u);
    skin.setAttachment(2, "a", second);
    EXPECT_TRUE(firstDeleted);
    EXPECT_EQ(entryCount(skin), 1u);
    EXPECT_EQ(skin.getAttachment(2, "a"), second);

    // Setting the attachment it already holds keeps it alive.
    skin.setAttachment(2, "a", second);
    EXPECT_FALSE(secondDeleted);
    EXPECT_EQ(second->getRefCount(), 1);
  }
  EXPECT_TRUE(secondDeleted);
}

TEST(Skin, SharedAttachmentsLiveUntilTheLastSkinLetsGo) {
  bool deleted = false;
  auto* shared = new TrackedAttachment("shared", deleted);
  auto* one = new Skin("one");
  auto* two = new Skin("two");
  one->setAttachment(0, "x", shared);
  two->setAttachment(5, "y", shared);
  EXPECT_EQ(shared->getRefCount(), 2);
  delete one;
  EXPECT_FALSE(deleted);
  EXPECT_EQ(shared->getRefCount(), 1);
  delete two;
  EXPECT_TRUE(deleted);
}

TEST(Skin, LookupsMissQuietly) {
  bool deleted = false;
  Skin skin("skin");
  skin.setAttachment(1, "a", new TrackedAttachment("a", deleted));
  EXPECT_EQ(skin.getAttachment(0, "a"), nullptr);
  EXPECT_EQ(skin.getAttachment(1, "b"), nullptr);
  EXPECT_EQ(skin.getAttachment(2, "a"), nullptr);
  EXPECT_EQ(skin.getAttachment(static_cast<size_t>(-1), "a"), nullptr);

  Vector<Attachment*> found;
  skin.findAttachmentsForSlot(1, found);
  skin.findAttachmentsForSlot(9, found);
  EXPECT_EQ(found.size(), 1u);

  // A null attachment removes the entry; on a slot index never used it does nothing.
  skin.setAttachment(40, "a", nullptr);
  EXPECT_EQ(skin.getAttachments().getBuckets().size(), 2u);
  skin.setAttachment(1, "a", nullptr);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(entryCount(skin), 0u);
}

TEST(SkeletonData, LookupsReturnTheFirstMatchInFileOrder) {
  SkeletonData data;
  BoneData* root = addBone(data, "root");
  BoneData* first = addBone(data, "twin", root);
  addBone(data, "twin", root);
  EXPECT_EQ(data.findBone("twin"), first);
  EXPECT_EQ(data.findBone("Twin"), nullptr);
  EXPECT_EQ(data.findBone("twi"), nullptr);

  SlotData* slot = addSlot(data, "slot", *root);
  addSlot(data, "slot", *first);
  EXPECT_EQ(data.findSlot("slot"), slot);

  auto* skin = new Skin("default");
  data.getSkins().add(skin);
  data.setDefaultSkin(skin);
  auto* event = new EventData("step");
  data.getEvents().add(event);
  auto* animation = new Animation("walk", 1);
  data.getAnimations().add(animation);
  auto* ik = new IkConstraintData("ik");
  data.getIkConstraints().add(ik);
  auto* transform = new TransformConstraintData("tc");
  data.getTransformConstraints().add(transform);
  auto* path = new PathConstraintData("pc");
  data.getPathConstraints().add(path);

  EXPECT_EQ(data.findSkin("default"), skin);
  EXPECT_EQ(data.findEvent("step"), event);
  EXPECT_EQ(data.findAnimation("walk"), animation);
  EXPECT_EQ(data.findIkConstraint("ik"), ik);
  EXPECT_EQ(data.findTransformConstraint("tc"), transform);
  EXPECT_EQ(data.findPathConstraint("pc"), path);
  EXPECT_EQ(data.findPathConstraint("ik"), nullptr);
}

// The index behind the lookups keeps their meaning however a list is filled:
// names repeat every hundred items (the first one wins), lookups come while
// the list grows, a list may be sized first and filled in order, and one
// may shrink.
TEST(SkeletonData, IndexedLookupsKeepTheFirstMatchHoweverTheListIsFilled) {
  const struct {
    const char* what;
    bool sizedFirst;
    bool lookWhileFilling;
  } cases[] = {
      {"added one by one", false, false},
      {"looked up while added", false, true},
      {"sized first, filled in order", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SkeletonData data;
    Vector<Animation*>& animations = data.getAnimations();
    if (c.sizedFirst) animations.setSize(300, nullptr);
    for (int i = 0; i < 300; ++i) {
      auto* animation = new Animation(("n" + std::to_string(i % 100)).c_str(), float(i));
      if (c.sizedFirst)
        animations[size_t(i)] = animation;
      else
        animations.add(animation);
      if (c.lookWhileFilling) {
        ASSERT_EQ(data.findAnimation(animation->getName()), animations[size_t(i % 100)]) << i;
        EXPECT_EQ(data.findAnimation(String(("n" + std::to_string((i + 1) % 100)).c_str())),
                  i + 1 < 100 ? nullptr : animations[size_t((i + 1) % 100)]);
      }
    }
    for (int i = 0; i < 100; ++i)
      EXPECT_EQ(data.findAnimation(String(("n" + std::to_string(i)).c_str()))->getDuration(), float(i));
    EXPECT_EQ(data.findAnimation("n100"), nullptr);
    EXPECT_EQ(data.findAnimation("N1"), nullptr);
    // One removed, one added: the index starts over.
    delete animations[0];
    animations.removeAt(0);
    animations.add(new Animation("n0", 300));
    EXPECT_EQ(data.findAnimation("n0")->getDuration(), 100.0f);
    EXPECT_EQ(data.findAnimation("n1")->getDuration(), 1.0f);
    delete animations[99];
    animations.removeAt(99);
    EXPECT_EQ(data.findAnimation("n0")->getDuration(), 200.0f);
  }
}
