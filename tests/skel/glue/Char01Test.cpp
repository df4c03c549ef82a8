// The game's skeletal character from its committed files: every animation
// draws inside the bounds the file gives, and the portrait canvas holds the face.
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "SkelGlueSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Bone.h"
#include "skel/MeshAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/TrackEntry.h"

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

// What the renderer got for one slot over a run of frames: enough sums that
// a moved, missing, re-ordered or late vertex shows.
struct SlotDigest {
  long vertices;
  double x, y;   // summed positions
  double timed;  // positions summed with the frame number as weight
  double uv;     // summed texture coordinates
  long colour;   // summed colour bytes
};

// Per animation, skin and slot (in data order): 600 frames of the game's
// per-frame call at the character frame benchmark's place and scale,
// recorded with the runtime before it was made faster.
struct RecordedDigest {
  const char* animation;
  const char* skin;
  int slot;
  SlotDigest digest;
};
const RecordedDigest kRecorded[] = {
    {"idle", "default", 0, {3600, 2304000, 2502000, 1444203000, 6230.692041, 3672000}},
    {"idle", "default", 1, {3600, 2301768.797, 788439.1154, 928667114.7, 3533.203102, 3672000}},
    {"idle", "default", 2, {86400, 46874879.92, 22907566.51, 2.097224849e+10, 110229.9105, 88128000}},
    {"idle", "default", 3, {3600, 2221920.3, 1717199.835, 1183705601, 939.9274481, 3672000}},
    {"idle", "default", 4, {3600, 2387519.934, 1717199.615, 1233468225, 1133.286823, 3672000}},
    {"idle", "default", 5, {3600, 2216160.828, 2170799.341, 1318281531, 1743.498869, 3672000}},
    {"idle", "default", 6, {3600, 2391839.209, 2170799.341, 1371072884, 1901.701994, 3672000}},
    {"idle", "default", 7, {3600, 2214720.703, 2310478.857, 1359822468, 2395.145059, 3672000}},
    {"idle", "default", 8, {3600, 2393279.297, 2310478.857, 1413479325, 2718.582559, 3672000}},
    {"idle", "default", 9, {3600, 2304000, 1638000, 1184571000, 2214.843727, 3672000}},
    {"idle", "default", 10, {3600, 2301917.227, 1206000, 1054147549, 1453.208698, 3672000}},
    {"idle", "default", 11, {3600, 2132278.253, 1184829.263, 996788051.8, 2791.406227, 3672000}},
    {"idle", "default", 12, {3600, 2068579.19, 1523456.392, 1079387180, 3200.223215, 3672000}},
    {"idle", "default", 13, {3600, 2015390.471, 1731951.441, 1126081308, 5386.690879, 3672000}},
    {"idle", "default", 14, {3600, 2482121.103, 1183710.267, 1101616629, 3022.935261, 3672000}},
    {"idle", "default", 15, {3600, 2596694.357, 1502265.359, 1231782296, 3883.258952, 3672000}},
    {"idle", "default", 16, {3600, 2687637.759, 1792457.468, 1346191680, 2880.803633, 3672000}},
    {"idle", "default", 17, {3600, 2684044.164, 1671769.586, 1308940685, 5625.502217, 3672000}},
    {"idle", "default", 18, {3600, 2688654.513, 1826943.933, 1356834434, 3140.457559, 3672000}},
    {"idle", "default", 19, {3600, 2301917.229, 918000, 967603549.8, 5587.081504, 3672000}},
    {"idle", "default", 20, {3600, 2301917.24, 1030320.007, 1001355715, 3778.543496, 3672000}},
    {"idle", "default", 21, {3600, 2301731.69, 759648.8957, 920014807, 3494.53125, 3672000}},
    {"idle", "default", 22, {3600, 2301750.248, 774044.003, 924340961.4, 5821.955342, 3672000}},
    {"idle", "default", 23, {3600, 2301846.732, 848898.5798, 946836965.6, 3555.301416, 3672000}},
    {"idle", "default", 24, {3600, 2301644.487, 691991.8717, 899681880.1, 5092.885029, 3672000}},
    {"idle", "default", 25, {3600, 2446892.932, 1015549.497, 1040393848, 2618.136169, 3672000}},
    {"idle", "default", 26, {3600, 2301523.891, 598423.6448, 871561875.8, 4202.427471, 3672000}},
    {"idle", "default", 27, {0, 0, 0, 0, 0, 0}},
    {"wave", "default", 0, {3600, 2304000, 2502000, 1444203000, 6230.692041, 3672000}},
    {"wave", "default", 1, {3600, 2313147.01, 788820.9846, 932088758.6, 3533.203102, 3672000}},
    {"wave", "default", 2, {86400, 47323532.64, 22648208.7, 2.102774695e+10, 110229.9105, 88128000}},
    {"wave", "default", 3, {3600, 2221920.3, 1717199.835, 1183705601, 939.9274481, 3672000}},
    {"wave", "default", 4, {3600, 2387519.934, 1717199.615, 1233468225, 1133.286823, 3672000}},
    {"wave", "default", 5, {3600, 2216160.828, 2170799.341, 1318281531, 1743.498869, 3672000}},
    {"wave", "default", 6, {3600, 2391839.209, 2170799.341, 1371072884, 1901.701994, 3672000}},
    {"wave", "default", 7, {3600, 2214720.703, 2310478.857, 1359822468, 2395.145059, 3672000}},
    {"wave", "default", 8, {3600, 2393279.297, 2310478.857, 1413479325, 2718.582559, 3672000}},
    {"wave", "default", 9, {3600, 2304000, 1638000, 1184571000, 2214.843727, 3672000}},
    {"wave", "default", 10, {3600, 2308836.69, 1206097.128, 1056210476, 1453.208698, 3672000}},
    {"wave", "default", 11, {3600, 2060050.012, 1081104.29, 945393230.1, 2791.406227, 3672000}},
    {"wave", "default", 12, {3600, 1947172.587, 1084007.942, 915293401.5, 3200.223215, 3672000}},
    {"wave", "default", 13, {3600, 1936306.676, 987705.0448, 884991038.2, 5386.690879, 3672000}},
    {"wave", "default", 14, {3600, 2485783.544, 1189391.566, 1104360773, 3022.935261, 3672000}},
    {"wave", "default", 15, {3600, 2594800.811, 1506886.973, 1232570805, 3883.258952, 3672000}},
    {"wave", "default", 16, {3600, 2692986.114, 1795016.012, 1348565284, 2880.803633, 3672000}},
    {"wave", "default", 17, {3600, 2684633.017, 1674519.575, 1309918310, 5625.502217, 3672000}},
    {"wave", "default", 18, {3600, 2695319.185, 1829449.253, 1359593715, 3140.457559, 3672000}},
    {"wave", "default", 19, {3600, 2317630.656, 918273.7186, 972312790.5, 5587.081504, 3672000}},
    {"wave", "default", 20, {3600, 2314200.989, 1030524.824, 1005032875, 3778.543496, 3672000}},
    {"wave", "default", 21, {3600, 2311916.187, 760055.5865, 923081473.2, 3494.53125, 3672000}},
    {"wave", "default", 22, {3600, 2312531.575, 774438.2806, 927585107.5, 5826.830342, 3672000}},
    {"wave", "default", 23, {3600, 2315731.769, 849228.2973, 951004059.6, 3628.426416, 3672000}},
    {"wave", "default", 24, {3600, 2309023.711, 692456.9167, 901914345.3, 5092.885029, 3672000}},
    {"wave", "default", 25, {3600, 2466697.642, 1009913.753, 1044651923, 2618.136169, 3672000}},
    {"wave", "default", 26, {3600, 2305023.513, 598969.3799, 872640663.7, 4202.427471, 3672000}},
    {"wave", "default", 27, {0, 0, 0, 0, 0, 0}},
    {"idle", "0_1", 0, {3600, 2304000, 2502000, 1444203000, 6230.692041, 3672000}},
    {"idle", "0_1", 1, {3600, 2301768.797, 788439.1154, 928667114.7, 3533.203102, 3672000}},
    {"idle", "0_1", 2, {86400, 46874879.92, 22907566.51, 2.097224849e+10, 84218.3032, 88128000}},
    {"idle", "0_1", 3, {3600, 2221920.3, 1717199.835, 1183705601, 939.9274481, 3672000}},
    {"idle", "0_1", 4, {3600, 2387519.934, 1717199.615, 1233468225, 1133.286823, 3672000}},
    {"idle", "0_1", 5, {3600, 2216160.828, 2170799.341, 1318281531, 1743.498869, 3672000}},
    {"idle", "0_1", 6, {3600, 2391839.209, 2170799.341, 1371072884, 1901.701994, 3672000}},
    {"idle", "0_1", 7, {3600, 2214720.703, 2310478.857, 1359822468, 2395.145059, 3672000}},
    {"idle", "0_1", 8, {3600, 2393279.297, 2310478.857, 1413479325, 2718.582559, 3672000}},
    {"idle", "0_1", 9, {3600, 2304000, 1638000, 1184571000, 2214.843727, 3672000}},
    {"idle", "0_1", 10, {3600, 2301917.227, 1206000, 1054147549, 1453.208698, 3672000}},
    {"idle", "0_1", 11, {3600, 2132278.253, 1184829.263, 996788051.8, 2791.406227, 3672000}},
    {"idle", "0_1", 12, {3600, 2068579.19, 1523456.392, 1079387180, 3200.223215, 3672000}},
    {"idle", "0_1", 13, {3600, 2015390.471, 1731951.441, 1126081308, 5386.690879, 3672000}},
    {"idle", "0_1", 14, {3600, 2482121.103, 1183710.267, 1101616629, 3022.935261, 3672000}},
    {"idle", "0_1", 15, {3600, 2596694.357, 1502265.359, 1231782296, 3883.258952, 3672000}},
    {"idle", "0_1", 16, {3600, 2687637.759, 1792457.468, 1346191680, 2880.803633, 3672000}},
    {"idle", "0_1", 17, {3600, 2684044.164, 1671769.586, 1308940685, 5625.502217, 3672000}},
    {"idle", "0_1", 18, {3600, 2688654.513, 1826943.933, 1356834434, 3140.457559, 3672000}},
    {"idle", "0_1", 19, {3600, 2301917.229, 918000, 967603549.8, 5587.081504, 3672000}},
    {"idle", "0_1", 20, {3600, 2301917.24, 1030320.007, 1001355715, 4084.402871, 3672000}},
    {"idle", "0_1", 21, {3600, 2301731.69, 759648.8957, 920014807, 3494.53125, 3672000}},
    {"idle", "0_1", 22, {3600, 2301750.248, 774044.003, 924340961.4, 5821.955342, 3672000}},
    {"idle", "0_1", 23, {3600, 2301846.732, 848898.5798, 946836965.6, 3555.301416, 3672000}},
    {"idle", "0_1", 24, {3600, 2301644.487, 691991.8717, 899681880.1, 5092.885029, 3672000}},
    {"idle", "0_1", 25, {3600, 2446892.932, 1015549.497, 1040393848, 2618.136169, 3672000}},
    {"idle", "0_1", 26, {3600, 2301536.883, 608500.2231, 874590185.2, 4707.17082, 3672000}},
    {"idle", "0_1", 27, {0, 0, 0, 0, 0, 0}},
    {"wave", "0_1", 0, {3600, 2304000, 2502000, 1444203000, 6230.692041, 3672000}},
    {"wave", "0_1", 1, {3600, 2313147.01, 788820.9846, 932088758.6, 3533.203102, 3672000}},
    {"wave", "0_1", 2, {86400, 47323532.64, 22648208.7, 2.102774695e+10, 84218.3032, 88128000}},
    {"wave", "0_1", 3, {3600, 2221920.3, 1717199.835, 1183705601, 939.9274481, 3672000}},
    {"wave", "0_1", 4, {3600, 2387519.934, 1717199.615, 1233468225, 1133.286823, 3672000}},
    {"wave", "0_1", 5, {3600, 2216160.828, 2170799.341, 1318281531, 1743.498869, 3672000}},
    {"wave", "0_1", 6, {3600, 2391839.209, 2170799.341, 1371072884, 1901.701994, 3672000}},
    {"wave", "0_1", 7, {3600, 2214720.703, 2310478.857, 1359822468, 2395.145059, 3672000}},
    {"wave", "0_1", 8, {3600, 2393279.297, 2310478.857, 1413479325, 2718.582559, 3672000}},
    {"wave", "0_1", 9, {3600, 2304000, 1638000, 1184571000, 2214.843727, 3672000}},
    {"wave", "0_1", 10, {3600, 2308836.69, 1206097.128, 1056210476, 1453.208698, 3672000}},
    {"wave", "0_1", 11, {3600, 2060050.012, 1081104.29, 945393230.1, 2791.406227, 3672000}},
    {"wave", "0_1", 12, {3600, 1947172.587, 1084007.942, 915293401.5, 3200.223215, 3672000}},
    {"wave", "0_1", 13, {3600, 1936306.676, 987705.0448, 884991038.2, 5386.690879, 3672000}},
    {"wave", "0_1", 14, {3600, 2485783.544, 1189391.566, 1104360773, 3022.935261, 3672000}},
    {"wave", "0_1", 15, {3600, 2594800.811, 1506886.973, 1232570805, 3883.258952, 3672000}},
    {"wave", "0_1", 16, {3600, 2692986.114, 1795016.012, 1348565284, 2880.803633, 3672000}},
    {"wave", "0_1", 17, {3600, 2684633.017, 1674519.575, 1309918310, 5625.502217, 3672000}},
    {"wave", "0_1", 18, {3600, 2695319.185, 1829449.253, 1359593715, 3140.457559, 3672000}},
    {"wave", "0_1", 19, {3600, 2317630.656, 918273.7186, 972312790.5, 5587.081504, 3672000}},
    {"wave", "0_1", 20, {3600, 2314200.989, 1030524.824, 1005032875, 4084.402871, 3672000}},
    {"wave", "0_1", 21, {3600, 2311916.187, 760055.5865, 923081473.2, 3494.53125, 3672000}},
    {"wave", "0_1", 22, {3600, 2312531.575, 774438.2806, 927585107.5, 5826.830342, 3672000}},
    {"wave", "0_1", 23, {3600, 2315731.769, 849228.2973, 951004059.6, 3628.426416, 3672000}},
    {"wave", "0_1", 24, {3600, 2309023.711, 692456.9167, 901914345.3, 5092.885029, 3672000}},
    {"wave", "0_1", 25, {3600, 2466697.642, 1009913.753, 1044651923, 2618.136169, 3672000}},
    {"wave", "0_1", 26, {3600, 2305454.311, 609037.2785, 875793218.9, 4707.17082, 3672000}},
    {"wave", "0_1", 27, {0, 0, 0, 0, 0, 0}},
};

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

// Every vertex the renderer gets for the posed skeleton, slots in draw order.
std::vector<Graphic2D::Vertex> AllVertices(SkelAnimation& character) {
  std::vector<Graphic2D::Vertex> all, slot;
  skel::Vector<skel::Slot*>& order = character.skeleton->getDrawOrder();
  for (size_t i = 0; i < order.size(); ++i) {
    TarnSkel::BuildSlotVertices(*order[i], slot);
    all.insert(all.end(), slot.begin(), slot.end());
  }
  return all;
}

// The game's per-frame call as it reads: the current animation selected
// again, looping from its start, then advanced to the frame.
void PoseFrameBySelecting(SkelAnimation& character, int32_t frame) {
  character.skeleton->setX(640.0f);
  character.skeleton->setY(695.0f);
  character.skeleton->setScaleX(0.4f);
  character.skeleton->setScaleY(0.4f);
  character.SetAnimation(character.currentAnimation);
  const auto frames = int32_t(character.state->getCurrent(0)->getAnimation()->getDuration() * 60);
  character.state->update(float((frame % frames + frames) % frames) * character.frameTime);
  character.Pose(false, false);
}

// Posing a frame may rewind the playing entry instead of selecting the
// animation again, but only where both pose the same: with mixes, changed
// entry settings and switches the two must still agree on every vertex.
TEST_F(Char01Test, PosingAFrameGivesTheSamePoseAsSelectingTheAnimationAgain) {
  using Prepare = void (*)(SkelAnimation&);
  struct Case {
    const char* name;
    Prepare setup;
    int32_t switchAt;  // frame at which the second animation is chosen, or -1
  };
  const Case cases[] = {
      {"the game's settings", [](SkelAnimation&) {}, -1},
      {"a default mix", [](SkelAnimation& c) { c.stateData->setDefaultMix(0.25f); }, -1},
      {"a mix of the animation with itself",
       [](SkelAnimation& c) { c.stateData->setMix(skel::String("idle"), skel::String("idle"), 0.2f); }, -1},
      {"a changed time scale", [](SkelAnimation& c) { c.state->getCurrent(0)->setTimeScale(2); }, -1},
      {"loop off", [](SkelAnimation& c) { c.state->getCurrent(0)->setLoop(false); }, -1},
      {"a switch near frame 0", [](SkelAnimation&) {}, 2},
      {"a switch with a mix near frame 0",
       [](SkelAnimation& c) { c.stateData->setMix(skel::String("idle"), skel::String("wave"), 0.1f); }, 2},
      {"a switch under a default mix", [](SkelAnimation& c) { c.stateData->setDefaultMix(0.25f); }, 3},
  };
  auto compare = [this](const Case& c) {
    SkelAnimation rewinding(data.skeletonData), selecting(data.skeletonData);
    c.setup(rewinding);
    c.setup(selecting);
    // Past the 180 frames of the longer animation, so the wrap is crossed.
    for (int32_t frame = 0; frame < 200; ++frame) {
      if (frame == c.switchAt) {
        rewinding.SetAnimation(1);
        selecting.SetAnimation(1);
      }
      rewinding.PoseFrame(frame, 640.0f, 695.0f, 0.4f);
      PoseFrameBySelecting(selecting, frame);
      const std::vector<Graphic2D::Vertex> got = AllVertices(rewinding), want = AllVertices(selecting);
      ASSERT_EQ(got.size(), want.size()) << "frame " << frame;
      float worst = 0;
      for (size_t i = 0; i < got.size(); ++i)
        worst = std::max({worst, std::fabs(got[i].x - want[i].x), std::fabs(got[i].y - want[i].y)});
      ASSERT_LE(worst, 1e-4f) << "frame " << frame;
    }
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    compare(c);
  }
}

// The vertices every slot hands to the renderer stay what they were when
// they were recorded, through both animations and both skins, as the runtime
// is made faster. TARN_RECORD_DIGEST=1 prints the table instead.
TEST_F(Char01Test, EverySlotsVerticesStayAsRecorded) {
  const bool record = std::getenv("TARN_RECORD_DIGEST") != nullptr;
  const skel::SkeletonData& d = *data.skeletonData;
  size_t compared = 0;
  for (const char* skin : {"default", "0_1"}) {
    for (int animation = 0; animation < int(d.getAnimations().size()); ++animation) {
      SkelAnimation character(data.skeletonData);
      character.SetSkin(skin);
      character.SetAnimation(animation);
      std::vector<SlotDigest> slots(d.getSlots().size(), SlotDigest{0, 0, 0, 0, 0, 0});
      std::vector<Graphic2D::Vertex> vertices;
      for (int frame = 0; frame < 600; ++frame) {
        character.PoseFrame(frame, 640.0f, 695.0f, 0.4f);
        skel::Vector<skel::Slot*>& order = character.skeleton->getDrawOrder();
        for (size_t i = 0; i < order.size(); ++i) {
          TarnSkel::BuildSlotVertices(*order[i], vertices);
          SlotDigest& s = slots[size_t(order[i]->getData().getIndex())];
          for (const Graphic2D::Vertex& v : vertices) {
            ++s.vertices;
            s.x += v.x;
            s.y += v.y;
            s.timed += (frame + 1) * (double(v.x) + v.y);
            s.uv += double(v.u) + v.v;
            s.colour += v.r + v.g + v.b + v.a;
          }
        }
      }
      const char* name = character.animationNames[size_t(animation)];
      for (size_t slot = 0; slot < slots.size(); ++slot) {
        const SlotDigest& s = slots[slot];
        if (record) {
          std::printf("    {\"%s\", \"%s\", %zu, {%ld, %.10g, %.10g, %.10g, %.10g, %ld}},\n", name, skin, slot,
                      s.vertices, s.x, s.y, s.timed, s.uv, s.colour);
          continue;
        }
        const RecordedDigest* r =
            std::find_if(std::begin(kRecorded), std::end(kRecorded), [&](const RecordedDigest& e) {
              return std::string(e.animation) == name && std::string(e.skin) == skin && e.slot == int(slot);
            });
        ASSERT_NE(r, std::end(kRecorded)) << name << " " << skin << " slot " << slot;
        SCOPED_TRACE(std::string(name) + " in skin " + skin + ", slot " + std::to_string(slot));
        auto near = [](double got, double want) { return std::fabs(got - want) <= 1e-5 * std::fabs(want) + 1e-9; };
        EXPECT_EQ(s.vertices, r->digest.vertices);
        EXPECT_PRED2(near, s.x, r->digest.x);
        EXPECT_PRED2(near, s.y, r->digest.y);
        EXPECT_PRED2(near, s.timed, r->digest.timed);
        EXPECT_PRED2(near, s.uv, r->digest.uv);
        EXPECT_EQ(s.colour, r->digest.colour);
        ++compared;
      }
    }
  }
  if (!record) {
    EXPECT_EQ(compared, std::size(kRecorded));
  }
}

}  // namespace
