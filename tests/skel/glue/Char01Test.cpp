// The game's skeletal character from its committed files: every animation
// draws inside the bounds the file gives, and the portrait canvas holds the face.
#include <GL/glew.h>
#include <lodepng.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SkelGlueSupport.h"
#include "framework/graphics/Graphic2D.h"
#include "framework/skel/SkelAnimation.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/AnimationStateListenerObject.h"
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

// Every vertex the renderer got, frame by frame, as recorded in a file:
// positions to 1/256 px, texture coordinates to 1/65536, colours exact.
// Each position is stored as its change from where the two frames before
// would put it, every other value as its change from the frame before, so
// that the file is small.
struct RecordedVertex {
  int32_t slot, x, y, u, v;
  uint32_t rgba;
};
using RecordedFrame = std::vector<RecordedVertex>;

int32_t Quantize(float value, float steps) { return static_cast<int32_t>(std::lround(double(value) * steps)); }

class VertexStream {
 public:
  // Frames in order; the codes refer to the frame before.
  void Write(const RecordedFrame& frame) {
    Put(frame.size());
    for (size_t i = 0; i < frame.size(); ++i) {
      const RecordedVertex& v = frame[i];
      const RecordedVertex w = Predicted(i);
      for (int64_t d : {int64_t{v.slot} - w.slot, int64_t{v.x} - w.x, int64_t{v.y} - w.y, int64_t{v.u} - w.u,
                        int64_t{v.v} - w.v, int64_t{v.rgba ^ w.rgba}})
        Put(d < 0 ? (uint64_t(-d) << 1) - 1 : uint64_t(d) << 1);
    }
    Advance(frame);
  }
  bool Read(RecordedFrame& frame) {
    uint64_t n = 0;
    if (!Get(n) || n > 100000) return false;
    frame.resize(n);
    for (size_t i = 0; i < n; ++i) {
      const RecordedVertex w = Predicted(i);
      int64_t d[6];
      for (int64_t& value : d) {
        uint64_t z = 0;
        if (!Get(z)) return false;
        value = z & 1 ? -int64_t((z + 1) >> 1) : int64_t(z >> 1);
      }
      frame[i] = {int32_t(w.slot + d[0]), int32_t(w.x + d[1]), int32_t(w.y + d[2]),
                  int32_t(w.u + d[3]),    int32_t(w.v + d[4]), uint32_t(w.rgba ^ uint64_t(d[5]))};
    }
    Advance(frame);
    return true;
  }
  std::vector<unsigned char> bytes;
  size_t at = 0;

 private:
  RecordedVertex Predicted(size_t i) const {
    RecordedVertex w = i < last.size() ? last[i] : RecordedVertex{};
    if (i < before.size() && before.size() == last.size()) {
      w.x += w.x - before[i].x;
      w.y += w.y - before[i].y;
    }
    return w;
  }
  void Advance(const RecordedFrame& frame) {
    before.swap(last);
    last = frame;
  }
  void Put(uint64_t value) {
    for (; value >= 0x80; value >>= 7) bytes.push_back(static_cast<unsigned char>(value | 0x80));
    bytes.push_back(static_cast<unsigned char>(value));
  }
  bool Get(uint64_t& value) {
    value = 0;
    for (int shift = 0; at < bytes.size() && shift < 64; shift += 7) {
      const unsigned char b = bytes[at++];
      value |= uint64_t(b & 0x7F) << shift;
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  RecordedFrame before, last;
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

// Every notification a listener hears, in order: as a listener object, or
// through the function listener of its character's state.
struct Heard : skel::AnimationStateListenerObject {
  void callback(skel::AnimationState*, skel::EventType type, skel::TrackEntry* entry, skel::Event*) override {
    const skel::Animation* animation = entry ? entry->getAnimation() : nullptr;
    calls.push_back(std::to_string(static_cast<int>(type)) + " " + (animation ? animation->getName().buffer() : "-"));
  }
  std::vector<std::string> calls;
};
std::map<skel::AnimationState*, Heard*> g_heardBy;
void HearByFunction(skel::AnimationState* state, skel::EventType type, skel::TrackEntry* entry, skel::Event* event) {
  g_heardBy.at(state)->callback(state, type, entry, event);
}

// Posing a frame may rewind the playing entry instead of selecting the
// animation again, but only where both pose the same and a listener hears
// the same: with mixes, changed entry settings, listeners and switches the
// two must still agree on every vertex and every notification.
TEST_F(Char01Test, PosingAFrameGivesTheSamePoseAsSelectingTheAnimationAgain) {
  using Prepare = void (*)(SkelAnimation&, Heard&);
  struct Case {
    const char* name;
    Prepare setup;
    int32_t switchAt;  // frame at which the second animation is chosen, or -1
    // Chosen by setting currentAnimation, as a viewer restarting playback
    // does, rather than through SetAnimation.
    bool direct = false;
  };
  const Case cases[] = {
      {"the game's settings", [](SkelAnimation&, Heard&) {}, -1},
      {"a default mix", [](SkelAnimation& c, Heard&) { c.stateData->setDefaultMix(0.25f); }, -1},
      {"a mix of the animation with itself",
       [](SkelAnimation& c, Heard&) { c.stateData->setMix(skel::String("idle"), skel::String("idle"), 0.2f); }, -1},
      {"a changed time scale", [](SkelAnimation& c, Heard&) { c.state->getCurrent(0)->setTimeScale(2); }, -1},
      {"loop off", [](SkelAnimation& c, Heard&) { c.state->getCurrent(0)->setLoop(false); }, -1},
      {"a switch near frame 0", [](SkelAnimation&, Heard&) {}, 2},
      {"a switch with a mix near frame 0",
       [](SkelAnimation& c, Heard&) { c.stateData->setMix(skel::String("idle"), skel::String("wave"), 0.1f); }, 2},
      {"a switch under a default mix", [](SkelAnimation& c, Heard&) { c.stateData->setDefaultMix(0.25f); }, 3},
      {"a listener object on the state", [](SkelAnimation& c, Heard& h) { c.state->setListener(&h); }, 150},
      {"a listener function on the state",
       [](SkelAnimation& c, Heard& h) {
         g_heardBy[c.state] = &h;
         c.state->setListener(HearByFunction);
       },
       -1},
      {"a listener function on the entry",
       [](SkelAnimation& c, Heard& h) {
         g_heardBy[c.state] = &h;
         c.state->getCurrent(0)->setListener(HearByFunction);
       },
       -1},
      {"a listener object on the entry", [](SkelAnimation& c, Heard& h) { c.state->getCurrent(0)->setListener(&h); },
       -1},
      {"the animation changed directly", [](SkelAnimation&, Heard&) {}, 5, true},
      {"the animation changed directly under a mix",
       [](SkelAnimation& c, Heard&) { c.stateData->setDefaultMix(0.25f); }, 5, true},
  };
  auto compare = [this](const Case& c) {
    SkelAnimation rewinding(data.skeletonData), selecting(data.skeletonData);
    Heard rewindingHeard, selectingHeard;
    c.setup(rewinding, rewindingHeard);
    c.setup(selecting, selectingHeard);
    // Past the 180 frames of the longer animation, so the wrap is crossed.
    for (int32_t frame = 0; frame < 200; ++frame) {
      if (frame == c.switchAt && c.direct) {
        rewinding.currentAnimation = 1;
        selecting.currentAnimation = 1;
      } else if (frame == c.switchAt) {
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
      ASSERT_EQ(rewindingHeard.calls, selectingHeard.calls) << "frame " << frame;
    }
    g_heardBy.clear();
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    compare(c);
  }
}

// Every vertex every slot hands to the renderer stays where it was recorded,
// frame by frame, through both animations and both skins, as the runtime is
// made faster. Frames past an animation's end wrap into it. With
// TARN_RECORD_VERTICES=1 the file is written anew instead.
TEST_F(Char01Test, EveryVertexOfEveryFrameStaysAsRecorded) {
  const bool record = std::getenv("TARN_RECORD_VERTICES") != nullptr;
  VertexStream stream;
  if (!record) {
    std::ifstream in(TARN_CHAR01_VERTICES, std::ios::binary);
    const std::vector<unsigned char> packed{std::istreambuf_iterator<char>(in), {}};
    unsigned char* raw = nullptr;
    size_t size = 0;
    ASSERT_EQ(lodepng_zlib_decompress(&raw, &size, packed.data(), packed.size(), &lodepng_default_decompress_settings),
              0u)
        << TARN_CHAR01_VERTICES;
    stream.bytes.assign(raw, raw + size);
    std::free(raw);
  }
  const skel::SkeletonData& d = *data.skeletonData;
  size_t compared = 0;
  for (const char* skin : {"default", "0_1"}) {
    for (int animation = 0; animation < int(d.getAnimations().size()); ++animation) {
      SkelAnimation character(data.skeletonData);
      character.SetSkin(skin);
      character.SetAnimation(animation);
      const int frames = int(d.getAnimations()[size_t(animation)]->getDuration() * 60);
      std::vector<RecordedFrame> recorded(static_cast<size_t>(frames));
      std::vector<Graphic2D::Vertex> vertices;
      for (int frame = 0; frame < 600; ++frame) {
        character.PoseFrame(frame, 640.0f, 695.0f, 0.4f);
        RecordedFrame got;
        skel::Vector<skel::Slot*>& order = character.skeleton->getDrawOrder();
        for (size_t i = 0; i < order.size(); ++i) {
          TarnSkel::BuildSlotVertices(*order[i], vertices);
          for (const Graphic2D::Vertex& v : vertices)
            got.push_back({order[i]->getData().getIndex(), Quantize(v.x, 256), Quantize(v.y, 256), Quantize(v.u, 65536),
                           Quantize(v.v, 65536), uint32_t(v.r | v.g << 8 | v.b << 16 | v.a << 24)});
        }
        RecordedFrame& want = recorded[size_t(frame % frames)];
        if (frame < frames) {
          if (record) {
            stream.Write(got);
            continue;
          }
          ASSERT_TRUE(stream.Read(want)) << "the recording ends early";
        }
        if (record) continue;
        const std::string where = std::string(character.animationNames[size_t(animation)]) + " in skin " + skin +
                                  ", frame " + std::to_string(frame);
        ASSERT_EQ(got.size(), want.size()) << where;
        for (size_t i = 0; i < got.size(); ++i) {
          const RecordedVertex &g = got[i], &w = want[i];
          // Two steps of 1/256 px: float noise, not a moved vertex.
          ASSERT_TRUE(g.slot == w.slot && std::abs(g.x - w.x) <= 2 && std::abs(g.y - w.y) <= 2 &&
                      std::abs(g.u - w.u) <= 1 && std::abs(g.v - w.v) <= 1 && g.rgba == w.rgba)
              << where << ", vertex " << i << ": slot " << g.slot << " at (" << g.x / 256.0 << ", " << g.y / 256.0
              << "), recorded slot " << w.slot << " at (" << w.x / 256.0 << ", " << w.y / 256.0 << ")";
        }
        compared += got.size();
      }
    }
  }
  if (record) {
    unsigned char* packed = nullptr;
    size_t size = 0;
    LodePNGCompressSettings settings;
    lodepng_compress_settings_init(&settings);
    ASSERT_EQ(lodepng_zlib_compress(&packed, &size, stream.bytes.data(), stream.bytes.size(), &settings), 0u);
    std::ofstream(TARN_CHAR01_VERTICES, std::ios::binary).write(reinterpret_cast<const char*>(packed), long(size));
    std::free(packed);
    std::printf("wrote %zu bytes to %s\n", size, TARN_CHAR01_VERTICES);
    return;
  }
  EXPECT_EQ(stream.at, stream.bytes.size()) << "frames recorded that were not posed";
  EXPECT_GT(compared, 600u * 2 * 2 * 250);
}

}  // namespace
