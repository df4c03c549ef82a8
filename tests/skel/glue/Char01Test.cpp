// The game's skeletal character from its committed files: every animation
// draws inside the bounds the file gives, and the portrait canvas holds the face.
#include <GL/glew.h>

#include <algorithm>
#include <memory>
#include <string>

#include "SkelGlueSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/Bone.h"
#include "skel/MeshAttachment.h"
#include "skel/RegionAttachment.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

using namespace tarn_test;
using TarnFramework::Graphic2D;
using TarnSkel::SkelAnimation;

namespace {

struct Extent {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  bool empty() const { return x1 < 0; }
};

skel::String PicturePath(skel::Attachment& attachment) {
  if (attachment.getRTTI().isExactly(skel::RegionAttachment::rtti))
    return static_cast<skel::RegionAttachment&>(attachment).getPath();
  if (attachment.getRTTI().isExactly(skel::MeshAttachment::rtti))
    return static_cast<skel::MeshAttachment&>(attachment).getPath();
  return skel::String();
}

class Char01Test : public SkelGlueTest {
 protected:
  void SetUp() override {
    SkelGlueTest::SetUp();
    // The tests run in the game's working directory.
    ASSERT_TRUE(data.Load());
    sprite = std::make_unique<SkelAnimation>(data.skeletonData);
  }
  void TearDown() override {
    sprite.reset();
    data.Release();
    SkelGlueTest::TearDown();
  }
  Extent Drawn(int x, int y, int w, int h) const {
    Extent e;
    std::vector<Pixel> pixels = ReadRect(x, y, w, h);
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        const Pixel& p = pixels[size_t(j) * w + i];
        if (p.r + p.g + p.b < 24) continue;
        e.x0 = std::min(e.x0, x + i);
        e.x1 = std::max(e.x1, x + i);
        e.y0 = std::min(e.y0, y + j);
        e.y1 = std::max(e.y1, y + j);
      }
    return e;
  }

  std::unique_ptr<SkelAnimation> sprite;
};

TEST_F(Char01Test, HasWhatTheGameLooksFor) {
  skel::SkeletonData& d = *data.skeletonData;
  ASSERT_GE(d.getAnimations().size(), 2u);
  EXPECT_STREQ(sprite->animationNames[0], "idle");
  ASSERT_NE(d.findSkin(skel::String("0_1")), nullptr);
  ASSERT_NE(d.getDefaultSkin(), nullptr);
  sprite->state->apply(*sprite->skeleton);
  sprite->skeleton->updateWorldTransform();
  skel::Bone* face = sprite->skeleton->findBone(skel::String("Face"));
  ASSERT_NE(face, nullptr);
  // About 1500 units tall, standing on its origin.
  EXPECT_GT(d.getHeight(), 1300);
  EXPECT_LT(d.getHeight(), 1600);
  EXPECT_GT(face->getWorldY(), 1100);
  EXPECT_NEAR(face->getWorldX(), 0, 20);
}

TEST_F(Char01Test, TheSkinTheGameWearsChangesPictures) {
  skel::SkeletonData& d = *data.skeletonData;
  skel::Skin* outfit = d.findSkin(skel::String("0_1"));
  ASSERT_NE(outfit, nullptr);
  int changed = 0;
  for (size_t i = 0; i < d.getSlots().size(); ++i) {
    const skel::String& name = d.getSlots()[i]->getAttachmentName();
    skel::Attachment* mine = outfit->getAttachment(i, name);
    skel::Attachment* plain = d.getDefaultSkin()->getAttachment(i, name);
    if (!mine) continue;
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(PicturePath(*mine) == PicturePath(*plain)) << "slot " << i << " looks the same in both skins";
    ++changed;
  }
  EXPECT_GE(changed, 2);
}

// The game loops every animation: the pose just before the end is the pose
// at the start, pictures and drawing order included.
TEST_F(Char01Test, EveryAnimationLoopsSeamlessly) {
  struct Pose {
    std::vector<float> bones;
    std::vector<const void*> shown;
  };
  auto pose = [&](int animation, float time) {
    sprite->SetAnimation(animation);
    sprite->state->update(time);
    sprite->state->apply(*sprite->skeleton);
    sprite->skeleton->updateWorldTransform();
    Pose out;
    for (size_t i = 0; i < sprite->skeleton->getBones().size(); ++i) {
      skel::Bone* b = sprite->skeleton->getBones()[i];
      out.bones.insert(out.bones.end(), {b->getWorldX(), b->getWorldY(), b->getA(), b->getC()});
    }
    for (size_t i = 0; i < sprite->skeleton->getDrawOrder().size(); ++i)
      out.shown.push_back(sprite->skeleton->getDrawOrder()[i]->getAttachment());
    return out;
  };
  for (int i = 0; i < int(sprite->animationNames.size()); ++i) {
    SCOPED_TRACE(sprite->animationNames[i]);
    const float duration = data.skeletonData->getAnimations()[i]->getDuration();
    Pose start = pose(i, 0), end = pose(i, duration - 1e-4f);
    ASSERT_EQ(start.bones.size(), end.bones.size());
    for (size_t k = 0; k < start.bones.size(); ++k)
      EXPECT_NEAR(start.bones[k], end.bones[k], 0.05f) << "bone " << k / 4;
    EXPECT_EQ(start.shown, end.shown);
  }
}

TEST_F(Char01Test, EveryAnimationDrawsWithinTheBounds) {
  const double scale = 0.4;
  const int x = 400, y = 640;
  // Where the draw operations put the bounds: x from x to x + width; the
  // bounds' y is measured downwards from y + 2 * originY.
  const skel::SkeletonData& d = *data.skeletonData;
  const int left = x, right = int(x + d.getWidth() * scale);
  const int bottom = int(y + 2 * sprite->originY * scale), top = int(bottom - d.getHeight() * scale);
  for (int i = 0; i < int(sprite->animationNames.size()); ++i) {
    for (float time : {0.0f, 0.5f, 1.0f}) {
      SCOPED_TRACE(std::string(sprite->animationNames[i]) + " at " + std::to_string(time));
      BeginFrame();
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      sprite->SetAnimation(i);
      sprite->state->update(time);
      sprite->DrawTransformed(x, y, scale, 0, 0, 0, false, false);
      Extent e = Drawn(0, 0, 1280, 720);
      ASSERT_FALSE(e.empty());
      // Inside, give or take the swing of an arm or the scarf, and filling most of it.
      const int slack = 40;
      EXPECT_GE(e.x0, left - slack);
      EXPECT_LE(e.x1, right + slack);
      EXPECT_GE(e.y0, top - slack);
      EXPECT_LE(e.y1, bottom + slack);
      EXPECT_GT(e.y1 - e.y0, (bottom - top) * 9 / 10);
      EXPECT_GT(e.x1 - e.x0, (right - left) * 8 / 10);
      if (i == 0 && time == 0.0f) SaveScreenshot("char01_idle.png");
      if (i == 1 && time == 0.5f) SaveScreenshot("char01_wave.png");
    }
  }
}

// The game's portrait: the skeleton drawn at scale 1 into a 200 x 200
// canvas with its "Face" bone at (size + 32, size + 12).
TEST_F(Char01Test, ThePortraitCanvasHoldsTheWholeFace) {
  sprite->skeleton->setSkin(data.skeletonData->findSkin(skel::String("0_1")));
  sprite->state->apply(*sprite->skeleton);
  sprite->skeleton->updateWorldTransform();
  skel::Bone* face = sprite->skeleton->findBone(skel::String("Face"));
  ASSERT_NE(face, nullptr);
  const int faceX = int(face->getWorldX() - 32), faceY = int(face->getWorldY() + 12), size = 84;

  Graphic2D canvas;
  canvas.SetRenderTarget(200, 200);
  ASSERT_TRUE(canvas.targetReady);
  BeginFrame();
  canvas.BeginRender();
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  sprite->skeleton->setX(float(size - faceX));
  sprite->skeleton->setY(float(faceY + size));
  sprite->skeleton->setScaleX(1);
  sprite->skeleton->setScaleY(1);
  sprite->DrawSkeleton(false, false);
  TarnFramework::EndRender();
  canvas.Draw(0, 0);
  SaveScreenshot("char01_portrait.png");

  // Skin at the face bone; the face's skin reaches no edge but the bottom,
  // where the neck goes on.
  Pixel centre = ReadPixel(size + 32, size + 12);
  EXPECT_GT(centre.r, 200);
  EXPECT_GT(centre.g, 150);
  EXPECT_GT(centre.r, centre.b + 30);
  auto isSkin = [](const Pixel& p) { return p.r > 225 && p.g > 190 && p.g < 235 && p.b > 165 && p.b < 210; };
  std::vector<Pixel> pixels = ReadRect(0, 0, 200, 200);
  int skin = 0;
  for (int j = 0; j < 200; ++j)
    for (int i = 0; i < 200; ++i) {
      if (!isSkin(pixels[size_t(j) * 200 + i])) continue;
      ++skin;
      EXPECT_TRUE(i > 2 && i < 197 && j > 2) << "face cut at (" << i << ", " << j << ")";
    }
  EXPECT_GT(skin, 5000);
}

}  // namespace
