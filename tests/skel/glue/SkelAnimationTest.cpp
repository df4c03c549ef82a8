// The skeletal sprite: placement by the Drawer operations, regions and meshes
// as textured triangles, blend modes per slot, and animation selection.
#include <GL/glew.h>
// After GLEW, which must come before any other GL header.
#include <GLFW/glfw3.h>

#include <climits>
#include <memory>
#include <string>

#include "SkelGlueSupport.h"
#include "TestImages.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/AtlasPage.h"
#include "skel/Bone.h"
#include "skel/MeshAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Slot.h"
#include "skel/TrackEntry.h"

using namespace tarn_test;
using TarnSkel::SkelAnimation;

namespace {

// One 20 x 10 quadrant region on the root, inside bounds x -40.5, y -10,
// 80.9 x 120 (fractions are cut off).
const char* const kQuadSkeleton = R"({
  "skeleton": {"x": -40.5, "y": -10, "width": 80.9, "height": 120},
  "bones": [{"name": "root"}],
  "slots": [{"name": "body", "bone": "root", "attachment": "quad"}],
  "skins": [{"name": "default", "attachments": {"body": {"quad": {"width": 20, "height": 10}}}}],
  "animations": {
    "rest": {},
    "slide": {"bones": {"root": {"translate": [{"time": 0, "x": 30, "y": 0}]}}}
  }
})";

class SkelAnimationTest : public SkelGlueTest {
 protected:
  SkelAnimation* Make(const std::string& json) {
    if (!LoadSkeleton(json)) return nullptr;
    sprite = std::make_unique<SkelAnimation>(data.skeletonData);
    BeginFrame();
    return sprite.get();
  }
  // The quadrant picture drawn upright and centred on (x, y) at scale s.
  void ExpectQuadAt(int x, int y, int s, bool mirrored = false) {
    const int dx = 5 * s, dy = 2 * s;
    ExpectRgb(x - dx, y - dy, mirrored ? kGreen : kRed);
    ExpectRgb(x + dx, y - dy, mirrored ? kRed : kGreen);
    ExpectRgb(x - dx, y + dy, mirrored ? kWhite : kBlue);
    ExpectRgb(x + dx, y + dy, mirrored ? kBlue : kWhite);
    ExpectNothing(x - 10 * s - 2, y);
    ExpectNothing(x + 10 * s + 2, y);
    ExpectNothing(x, y - 5 * s - 2);
    ExpectNothing(x, y + 5 * s + 2);
  }
  void TearDown() override {
    sprite.reset();
    data.Release();
    SkelGlueTest::TearDown();
  }

  std::unique_ptr<SkelAnimation> sprite;
};

TEST_F(SkelAnimationTest, ConstructionCopiesNamesAndTruncatesTheBounds) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->animationNames.size(), 2u);
  EXPECT_STREQ(s->animationNames[0], "rest");
  EXPECT_STREQ(s->animationNames[1], "slide");
  EXPECT_EQ(s->currentAnimation, 0);
  EXPECT_FLOAT_EQ(s->frameTime, 1.0f / 60.0f);
  EXPECT_EQ(s->GetWidth(), 80);
  EXPECT_EQ(s->GetHeight(), 120);
  EXPECT_EQ(s->originX, 40);
  EXPECT_EQ(s->originY, 10);

  s->Release();
  EXPECT_EQ(s->skeleton, nullptr);
  EXPECT_EQ(s->state, nullptr);
  EXPECT_EQ(s->stateData, nullptr);
  EXPECT_TRUE(s->animationNames.empty());
  // Released sprites draw and select nothing.
  s->Draw(100, 50);
  s->SetAnimation(1);
  EXPECT_EQ(s->currentAnimation, 0);
  EXPECT_TRUE(WindowIsClear());
}

TEST_F(SkelAnimationTest, BoundsBeyondTheIntRangeAreHeldAtItsEnds) {
  SkelAnimation* s = Make(R"({"skeleton": {"x": 1e30, "y": -1e30, "width": 3e9, "height": -3e9}})");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetWidth(), INT_MAX);
  EXPECT_EQ(s->GetHeight(), INT_MIN);
  EXPECT_EQ(s->originX, INT_MIN);
  EXPECT_EQ(s->originY, INT_MAX);
  s->DrawTransformed(0, 0, 1e20, 0, 0, 0, true, false);
  EXPECT_TRUE(WindowIsClear());
}

TEST_F(SkelAnimationTest, DrawPutsTheBoundsOriginAtThePointWithYNegated) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  s->Draw(100, 50);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 140);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 60);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleX(), 1);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleY(), -1);
  ExpectQuadAt(140, 60, 1);
}

TEST_F(SkelAnimationTest, DrawTransformedScalesAndMirrors) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  // Mirrored, the bounds keep their place: x = 100 + 2 * 80 - 2 * 40.
  s->DrawTransformed(100, 50, 2, 1.0, 7, 7, true, false);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 180);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 70);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleX(), -2);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleY(), -2);
  ExpectQuadAt(180, 70, 2, true);

  // Flipped vertically the skeleton is drawn upside down below y + height - origin.
  BeginFrame();
  s->DrawTransformed(400, 50, 1, 0, 0, 0, false, true);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 440);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 160);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleY(), 1);
  ExpectRgb(435, 158, kBlue);
  ExpectRgb(445, 158, kWhite);
  ExpectRgb(435, 162, kRed);

  // Positions are cut to whole pixels: 40 * 1.5 + 0.
  BeginFrame();
  s->DrawScaledUniform(0, 0, 1.5);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 60);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 15);
}

TEST_F(SkelAnimationTest, DrawScaledTakesEachScaleWithoutRounding) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  s->DrawScaled(100, 50, 2, 3);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 180);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 80);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleX(), 2);
  EXPECT_FLOAT_EQ(s->skeleton->getScaleY(), -3);
  ExpectRgb(170, 74, kRed);
  ExpectRgb(190, 86, kWhite);
  ExpectNothing(180, 95);

  BeginFrame();
  s->DrawScaled(0, 0, 0.25, 0.25);
  EXPECT_FLOAT_EQ(s->skeleton->getX(), 10);
  EXPECT_FLOAT_EQ(s->skeleton->getY(), 2.5f);
}

TEST_F(SkelAnimationTest, SetAnimationSelectsByIndexAndIgnoresOthers) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  s->SetAnimation(-1);
  s->SetAnimation(2);
  EXPECT_EQ(s->currentAnimation, 0);
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);
  ExpectQuadAt(100, 100, 1);

  s->SetAnimation(1);
  EXPECT_EQ(s->currentAnimation, 1);
  BeginFrame();
  s->skeleton->setScaleY(1);
  s->DrawSkeleton(false, false);
  ExpectQuadAt(130, 100, 1);
}

// Queued animations start at their moment inside an Update step, early by
// the mix; ClearTrack ends what plays and SetAnimation drops the queue.
TEST_F(SkelAnimationTest, AddAnimationQueuesAfterWhatPlaysAndClearTrackEndsIt) {
  SkelAnimation* s = Make(R"({
    "bones": [{"name": "root"}],
    "animations": {
      "walk": {"bones": {"root": {"translate": [{"time": 0, "x": 10}, {"time": 1, "x": 10}]}}},
      "jump": {"bones": {"root": {"translate": [{"time": 0, "x": 50}, {"time": 0.5, "x": 50}]}}}
    }
  })");
  ASSERT_NE(s, nullptr);
  const auto playing = [s]() -> std::string {
    const skel::TrackEntry* entry = s->state->getCurrent(0);
    return entry ? entry->getAnimation()->getName().buffer() : "nothing";
  };
  const auto rootX = [s] {
    s->Pose(false, false);
    return s->skeleton->getRootBone()->getX();
  };
  EXPECT_FALSE(s->AddAnimation("fly", false, 0));
  ASSERT_TRUE(s->AddAnimation("jump", false, 0));     // at the end of walk
  ASSERT_TRUE(s->AddAnimation("walk", true, 0.25f));  // 0.25 s into jump
  s->Update(0.9f);
  EXPECT_EQ(playing(), "walk");
  EXPECT_EQ(rootX(), 10);
  s->Update(0.2f);
  EXPECT_EQ(playing(), "jump");
  EXPECT_EQ(s->currentAnimation, 1);
  EXPECT_NEAR(s->state->getCurrent(0)->getTrackTime(), 0.1f, 1e-5f);
  EXPECT_EQ(rootX(), 50);
  s->Update(0.2f);  // past 0.25 s into jump, in the same step
  EXPECT_EQ(playing(), "walk");
  EXPECT_NEAR(s->state->getCurrent(0)->getTrackTime(), 0.05f, 1e-5f);

  // With a mix the next one starts early, so the fade ends with the loop it follows.
  s->stateData->setDefaultMix(0.25f);
  ASSERT_TRUE(s->AddAnimation("jump", false, 0));
  s->Update(0.65f);
  EXPECT_EQ(playing(), "walk");
  s->Update(0.1f);
  EXPECT_EQ(playing(), "jump");
  EXPECT_NEAR(s->state->getCurrent(0)->getTrackTime(), 0.05f, 1e-5f);

  s->ClearTrack();
  EXPECT_EQ(rootX(), 0) << "the setup pose";
  s->Update(0.1f);
  EXPECT_EQ(playing(), "nothing");

  // On an empty track it starts at once; SetAnimation drops what is queued.
  ASSERT_TRUE(s->AddAnimation("walk", true, 0));
  EXPECT_EQ(playing(), "walk");
  ASSERT_TRUE(s->AddAnimation("jump", false, 0.1f));
  s->SetAnimation(0);
  s->Update(0.5f);
  EXPECT_EQ(playing(), "walk");
}

// Data loaded before the window's context exists (as a program may load
// before it opens the window): the page is read at once and becomes a
// texture at the first draw.
TEST_F(SkelAnimationTest, DataLoadedWithoutAContextDrawsOnceThereIsOne) {
  GLFWwindow* window = glfwGetCurrentContext();
  glfwMakeContextCurrent(nullptr);
  const bool loaded = LoadSkeleton(kQuadSkeleton);
  glfwMakeContextCurrent(window);
  ASSERT_TRUE(loaded);
  auto* page = static_cast<TarnFramework::Graphic2D*>(data.atlas->getPages()[0]->getRendererObject());
  EXPECT_EQ(page->GetWidth(), 64);
  EXPECT_FALSE(page->HasTexture());
  sprite = std::make_unique<SkelAnimation>(data.skeletonData);
  BeginFrame();
  sprite->skeleton->setX(100);
  sprite->skeleton->setY(100);
  sprite->DrawSkeleton(false, false);
  ExpectQuadAt(100, 100, 1);
}

// The game's per-frame sequence: placed, the current animation from its start
// to the frame (wrapped into its 60 frames, negative counts too), then posed.
TEST_F(SkelAnimationTest, PoseFramePlacesAndWrapsTheFrameIntoTheAnimation) {
  SkelAnimation* s = Make(R"({
    "bones": [{"name": "root"}, {"name": "tip", "parent": "root", "y": 10}],
    "animations": {"walk": {"bones": {"root": {"translate": [
      {"time": 0, "x": 0, "y": 0}, {"time": 1, "x": 60, "y": 0}]}}}}
  })");
  ASSERT_NE(s, nullptr);
  skel::Bone* tip = s->skeleton->findBone(skel::String("tip"));
  ASSERT_NE(tip, nullptr);
  for (int32_t frame : {30, 90, -30}) {
    SCOPED_TRACE(frame);
    s->PoseFrame(frame, 100, 200, 2);
    EXPECT_NEAR(tip->getWorldX(), 100 + 2 * 30, 1e-3);
    EXPECT_NEAR(tip->getWorldY(), 200 - 2 * 10, 1e-3);
  }

  // Without animations the setup pose is placed and drawn.
  s = Make(R"({"bones": [{"name": "root"}, {"name": "tip", "parent": "root", "y": 10}]})");
  ASSERT_NE(s, nullptr);
  float x = 0, y = 0;
  EXPECT_TRUE(s->FindBonePosition("tip", x, y));
  EXPECT_NEAR(y, 10, 1e-3);
  EXPECT_FALSE(s->FindBonePosition("nose", x, y));
  s->PoseFrame(7, 100, 200, 1);
  tip = s->skeleton->findBone(skel::String("tip"));
  EXPECT_NEAR(tip->getWorldX(), 100, 1e-3);
  EXPECT_NEAR(tip->getWorldY(), 190, 1e-3);
}

// DrawSkeleton turns the stored y scale over on each call; DrawAt places the
// skeleton every time, so a second call draws the same. Update advances the
// state by seconds.
TEST_F(SkelAnimationTest, DrawAtGivesTheSamePictureEveryCallAndUpdateCountsSeconds) {
  SkelAnimation* s = Make(kQuadSkeleton);
  ASSERT_NE(s, nullptr);
  for (int call = 0; call < 2; ++call) {
    SCOPED_TRACE(call);
    BeginFrame();
    s->DrawAt(100, 100, 1);
    ExpectQuadAt(100, 100, 1);
  }
  // The trap: DrawSkeleton right after draws it upside down, red at the bottom.
  BeginFrame();
  s->DrawSkeleton(false, false);
  ExpectRgb(95, 102, kRed);
  ExpectRgb(95, 98, kBlue);

  // "slide" moves the root 30 to the right from its start.
  s->SetAnimation(1);
  s->Update(0.25f);
  BeginFrame();
  s->DrawAt(100, 100, 2);
  ExpectQuadAt(160, 100, 2);
}

// Each slot shows the white block tinted by its attachment colour over a grey
// background, with the blend of its slot; the last slot is normal again.
const char* const kBlendSkeleton = R"({
  "bones": [{"name": "root"},
    {"name": "n", "parent": "root", "x": 0}, {"name": "a", "parent": "root", "x": 40},
    {"name": "m", "parent": "root", "x": 80}, {"name": "s", "parent": "root", "x": 120},
    {"name": "after", "parent": "root", "x": 160}],
  "slots": [
    {"name": "normal", "bone": "n", "attachment": "white"},
    {"name": "additive", "bone": "a", "attachment": "white", "blend": "additive"},
    {"name": "multiply", "bone": "m", "attachment": "white", "blend": "multiply"},
    {"name": "screen", "bone": "s", "attachment": "white", "blend": "screen"},
    {"name": "after", "bone": "after", "attachment": "white"}],
  "skins": [{"name": "default", "attachments": {
    "normal": {"white": {"width": 20, "height": 20, "color": "ff8040ff"}},
    "additive": {"white": {"width": 20, "height": 20, "color": "404040ff"}},
    "multiply": {"white": {"width": 20, "height": 20, "color": "80ffffff"}},
    "screen": {"white": {"width": 20, "height": 20, "color": "80808080"}},
    "after": {"white": {"width": 20, "height": 20, "color": "ffffff80"}}}}]
})";

TEST_F(SkelAnimationTest, EachSlotBlendsByItsModeAndTheNormalBlendComesBack) {
  SkelAnimation* s = Make(kBlendSkeleton);
  ASSERT_NE(s, nullptr);
  glClearColor(128 / 255.0f, 128 / 255.0f, 128 / 255.0f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glBlendFunc(GL_ONE, GL_ZERO);
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);

  // Colour bytes are the channels times 255, cut: 1, 0.5, 0.25 give 255, 127, 63.
  ExpectRgb(100, 100, Pixel{255, 128, 64, 255}, 1);
  // Additive: 128 + 64.
  ExpectRgb(140, 100, Pixel{192, 192, 192, 255});
  // Multiply: the red half of 128.
  ExpectRgb(180, 100, Pixel{64, 128, 128, 255});
  // Screen: the colour weighted by its alpha, added.
  ExpectRgb(220, 100, Pixel{192, 192, 192, 255});
  // Normal half-transparent white after the others.
  ExpectRgb(260, 100, Pixel{192, 192, 192, 255});
  ExpectRgb(300, 100, Pixel{128, 128, 128, 255});

  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &src);
  glGetIntegerv(GL_BLEND_DST_RGB, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

// A plain mesh over the quadrant region on the root, and a weighted one on a
// bone 60 units to the right whose left vertices are shared half and half
// with the root.
const char* const kMeshSkeleton = R"({
  "bones": [{"name": "root"}, {"name": "right", "parent": "root", "x": 60}],
  "slots": [
    {"name": "plain", "bone": "root", "attachment": "quad"},
    {"name": "weighted", "bone": "root", "attachment": "quad"}],
  "skins": [{"name": "default", "attachments": {
    "plain": {"quad": {"type": "mesh", "uvs": [0, 1, 1, 1, 1, 0, 0, 0],
      "vertices": [-10, -5, 10, -5, 10, 5, -10, 5], "triangles": [0, 1, 2, 2, 3, 0], "hull": 4}},
    "weighted": {"quad": {"type": "mesh", "uvs": [0, 1, 1, 1, 1, 0, 0, 0],
      "vertices": [2, 0, 30, -5, 0.5, 1, 10, -5, 0.5,  1, 1, 10, -5, 1,
                   1, 1, 10, 5, 1,  2, 0, 30, 5, 0.5, 1, 10, 5, 0.5],
      "triangles": [0, 1, 2, 2, 3, 0], "hull": 4}}}}]
})";

TEST_F(SkelAnimationTest, MeshesDrawTheirTrianglesWhereTheirVerticesAre) {
  SkelAnimation* s = Make(kMeshSkeleton);
  ASSERT_NE(s, nullptr);
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);
  ExpectQuadAt(100, 100, 1);
  ExpectQuadAt(160, 100, 1);
}

TEST_F(SkelAnimationTest, ColourBytesAreTheChannelsTimes255CutDown) {
  SkelAnimation* s = Make(kBlendSkeleton);
  ASSERT_NE(s, nullptr);
  auto* white = static_cast<skel::RegionAttachment*>(s->skeleton->findSlot(skel::String("normal"))->getAttachment());
  white->getColor().r = 1.0f;
  white->getColor().g = 0.5f;
  white->getColor().b = 0.25f;
  // A colour text the loader could not read leaves channels at -1.
  auto* unreadable =
      static_cast<skel::RegionAttachment*>(s->skeleton->findSlot(skel::String("after"))->getAttachment());
  unreadable->getColor().r = unreadable->getColor().a = -1.0f;
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);
  ExpectRgb(100, 100, Pixel{255, 127, 63, 255}, 0);
  ExpectNothing(260, 100);
}

TEST_F(SkelAnimationTest, AMeshNamingMissingVerticesDrawsOnlyItsWholeTriangles) {
  SkelAnimation* s = Make(kMeshSkeleton);
  ASSERT_NE(s, nullptr);
  auto* mesh = static_cast<skel::MeshAttachment*>(s->skeleton->findSlot(skel::String("plain"))->getAttachment());
  // The second triangle (the upper left half) loses its last corner.
  mesh->getTriangles()[5] = 99;
  s->skeleton->findSlot(skel::String("weighted"))->setAttachment(nullptr);
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);
  ExpectRgb(108, 103, kWhite);
  ExpectNothing(92, 97);
}

const char* const kNothingToDraw = R"({
  "bones": [{"name": "root"}],
  "slots": [
    {"name": "empty", "bone": "root"},
    {"name": "point", "bone": "root", "attachment": "p", "blend": "multiply"},
    {"name": "box", "bone": "root", "attachment": "b", "blend": "additive"}],
  "skins": [{"name": "default", "attachments": {
    "point": {"p": {"type": "point", "x": 3, "y": 4}},
    "box": {"b": {"type": "boundingbox", "vertexCount": 3, "vertices": [0, 0, 50, 0, 0, 50]}}}}]
})";

TEST_F(SkelAnimationTest, SlotsWithoutPicturesDrawNothing) {
  SkelAnimation* s = Make(kNothingToDraw);
  ASSERT_NE(s, nullptr);
  s->skeleton->setX(100);
  s->skeleton->setY(100);
  s->DrawSkeleton(false, false);
  EXPECT_TRUE(WindowIsClear());
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC_RGB, &src);
  glGetIntegerv(GL_BLEND_DST_RGB, &dst);
  EXPECT_EQ(src, GL_SRC_ALPHA);
  EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(SkelAnimationTest, APageWithoutTextureIsSkipped) {
  // The loader hangs a sprite without a texture on a page it cannot read
  // (a load through SkelData refuses such an atlas).
  const std::string atlas = dir.Write("test.atlas", TestPageAtlas("nowhere.png"));
  TarnFrameworkSkelTextureLoader loader;
  skel::Atlas unreadable(skel::String(atlas.c_str()), &loader);
  ASSERT_EQ(loader.failedPages.size(), 1u);
  skel::SkeletonJson reader(&unreadable);
  std::unique_ptr<skel::SkeletonData> unreadableData(reader.readSkeletonData(kQuadSkeleton));
  ASSERT_NE(unreadableData, nullptr);
  sprite = std::make_unique<SkelAnimation>(unreadableData.get());
  BeginFrame();
  sprite->Draw(100, 50);
  EXPECT_TRUE(WindowIsClear());
  sprite.reset();

  // An atlas made without a texture loader has no sprites at all.
  skel::Atlas bare(skel::String(atlas.c_str()), nullptr);
  skel::SkeletonJson json(&bare);
  std::unique_ptr<skel::SkeletonData> bareData(json.readSkeletonData(kQuadSkeleton));
  ASSERT_NE(bareData, nullptr);
  SkelAnimation bareSprite(bareData.get());
  bareSprite.Draw(100, 50);
  EXPECT_TRUE(WindowIsClear());
}

}  // namespace
