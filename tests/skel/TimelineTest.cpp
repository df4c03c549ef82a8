#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "AnimTestSupport.h"
#include "skel/AttachmentTimeline.h"
#include "skel/ColorTimeline.h"
#include "skel/CurveTimeline.h"
#include "skel/DeformTimeline.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/IkConstraint.h"
#include "skel/IkConstraintTimeline.h"
#include "skel/PathConstraint.h"
#include "skel/PathConstraintMixTimeline.h"
#include "skel/PathConstraintPositionTimeline.h"
#include "skel/PathConstraintSpacingTimeline.h"
#include "skel/RotateTimeline.h"
#include "skel/ScaleTimeline.h"
#include "skel/ShearTimeline.h"
#include "skel/TransformConstraint.h"
#include "skel/TransformConstraintTimeline.h"
#include "skel/TranslateTimeline.h"
#include "skel/TwoColorTimeline.h"

using namespace skel;
using animtest::floats;
using animtest::Rig;
using animtest::vec;

namespace {

constexpr MixBlend kSetup = MixBlend::Setup, kFirst = MixBlend::First, kReplace = MixBlend::Replace,
                   kAdd = MixBlend::Add;
constexpr MixDirection kIn = MixDirection::In, kOut = MixDirection::Out;

void applyAt(Timeline& t, Skeleton& s, float time, float alpha, MixBlend blend, MixDirection dir = kIn) {
  t.apply(s, -1, time, nullptr, alpha, blend, dir);
}

// The point of the cubic Bézier from (0, 0) to (1, 1) at parameter t.
double bezier(double c1, double c2, double t) {
  const double u = 1 - t;
  return 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t;
}

}  // namespace

// ---------------------------------------------------------------------------
// Key search and curves

TEST(TimelineSearch, FindsTheFirstKeyAfterTheTarget) {
  EXPECT_EQ(Timeline::search(vec<float>({0, 5, 1, 7}), 0.5f, 2), 2u);

  std::mt19937 random(7);
  std::uniform_real_distribution<float> gap(0.01f, 1.0f);
  for (size_t keys = 2; keys < 40; ++keys) {
    const size_t step = 1 + keys % 3;
    Vector<float> frames;
    float time = -3;
    for (size_t k = 0; k < keys; ++k) {
      frames.add(time);
      for (size_t e = 1; e < step; ++e) frames.add(99);
      time += gap(random);
    }
    for (size_t k = 0; k + 1 < keys; ++k) {
      const float t0 = frames[k * step], t1 = frames[(k + 1) * step];
      for (float target : {t0, (t0 + t1) / 2, std::nextafter(t1, t0)})
        EXPECT_EQ(Timeline::search(frames, target, step), (k + 1) * step) << keys << " keys, target " << target;
    }
  }
}

TEST(CurveTimeline, BezierSamplesLieOnTheCubic) {
  RotateTimeline timeline(2);
  const float cx1 = 0.25f, cy1 = 0.1f, cx2 = 0.25f, cy2 = 1.0f;
  timeline.setCurve(0, cx1, cy1, cx2, cy2);
  const Vector<float>& curves = timeline.getCurves();
  ASSERT_EQ(curves.size(), CurveTimeline::CurveSize);
  EXPECT_EQ(timeline.getCurveType(0), CurveTimeline::Bezier);
  for (size_t i = 1; i <= 9; ++i) {
    EXPECT_NEAR(curves[2 * i - 1], bezier(cx1, cx2, i / 10.0), 1e-5) << i;
    EXPECT_NEAR(curves[2 * i], bezier(cy1, cy2, i / 10.0), 1e-5) << i;
  }
}

TEST(CurveTimeline, PercentWalksTheSamplesAndEndsAtOne) {
  TranslateTimeline timeline(3);
  timeline.setCurve(1, 0.25f, 0.1f, 0.25f, 1.0f);
  const Vector<float>& c = timeline.getCurves();
  const size_t s = CurveTimeline::CurveSize + 1;  // first sample of interval 1
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(1, 0), 0);
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(1, c[s] / 2), c[s + 1] / 2);
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(1, (c[s + 4] + c[s + 6]) / 2), (c[s + 5] + c[s + 7]) / 2);
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(1, 1), 1);
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(1, 2), 1);
  // The approximation follows the true curve closely everywhere.
  for (double t = 0.05; t < 1; t += 0.1)
    EXPECT_NEAR(timeline.getCurvePercent(1, static_cast<float>(bezier(0.25, 0.25, t))), bezier(0.1, 1, t), 0.02);
  // Interval 0 was left linear; intervals that do not exist read as linear.
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(0, 0.3f), 0.3f);
  EXPECT_FLOAT_EQ(timeline.getCurvePercent(7, 0.3f), 0.3f);
  timeline.setStepped(9);
  timeline.setCurve(9, 0, 0, 1, 1);
  EXPECT_EQ(timeline.getCurves().size(), 2 * CurveTimeline::CurveSize);
}

TEST(CurveTimeline, SteppedIntervalHoldsThePreviousKeyUntilTheNext) {
  Rig rig;
  TranslateTimeline timeline(3);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 0, 0, 0);
  timeline.setFrame(1, 1, 10, 10);
  timeline.setFrame(2, 2, 20, 20);
  timeline.setStepped(0);
  applyAt(timeline, *rig.skeleton, 0.99f, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.armBone().getX(), 5);
  applyAt(timeline, *rig.skeleton, 1, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.armBone().getX(), 15);
  applyAt(timeline, *rig.skeleton, 1.5f, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.armBone().getX(), 20);
}

// ---------------------------------------------------------------------------
// Bone timelines

TEST(RotateTimeline, KeysEitherSideOf180TurnThroughIt) {
  Rig rig;
  rig.arm->setRotation(0);
  RotateTimeline timeline(2);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 0, 170);
  timeline.setFrame(1, 1, -170);
  applyAt(timeline, *rig.skeleton, 0.25f, 1, kSetup);
  EXPECT_NEAR(rig.armBone().getRotation(), 175, 1e-4);
  applyAt(timeline, *rig.skeleton, 0.5f, 1, kSetup);
  EXPECT_NEAR(std::fabs(rig.armBone().getRotation()), 180, 1e-4);
  applyAt(timeline, *rig.skeleton, 0.75f, 1, kSetup);
  EXPECT_NEAR(rig.armBone().getRotation(), -175, 1e-4);
}

TEST(RotateTimeline, EachBlendBeforeBetweenAndAfterTheKeys) {
  Rig rig;  // setup rotation 10
  RotateTimeline timeline(2);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 1, 40);
  timeline.setFrame(1, 2, 80);
  Bone& bone = rig.armBone();
  struct Case {
    float time;
    MixBlend blend;
    float expected;
  } cases[] = {
      {0.5f, kSetup, 10}, {0.5f, kFirst, 30}, {0.5f, kReplace, 50}, {0.5f, kAdd, 50},
      {1.5f, kSetup, 40}, {1.5f, kFirst, 60}, {1.5f, kReplace, 60}, {1.5f, kAdd, 80},
      {3.0f, kSetup, 50}, {3.0f, kFirst, 70}, {3.0f, kReplace, 70}, {3.0f, kAdd, 90},
  };
  for (const Case& c : cases) {
    bone.setRotation(50);
    applyAt(timeline, *rig.skeleton, c.time, 0.5f, c.blend);
    EXPECT_NEAR(bone.getRotation(), c.expected, 1e-4) << "time " << c.time << " blend " << int(c.blend);
  }
  // The current pose turns the short way toward the keyed 90: from 350 up through 360.
  bone.setRotation(350);
  applyAt(timeline, *rig.skeleton, 3, 0.5f, kReplace);
  EXPECT_NEAR(bone.getRotation(), 400, 1e-3);
}

TEST(TranslateTimeline, KeysAreOffsetsFromSetupForEachBlend) {
  Rig rig;  // setup (5, -2)
  TranslateTimeline timeline(2);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 0, 10, 20);
  timeline.setFrame(1, 1, 30, 40);
  Bone& bone = rig.armBone();
  struct Case {
    float time;
    MixBlend blend;
    float x, y;
  } cases[] = {
      {-1, kSetup, 5, -2},    {-1, kFirst, 3, -0.5f},    {-1, kReplace, 1, 1},        {-1, kAdd, 1, 1},
      {0.5f, kSetup, 15, 13}, {0.5f, kFirst, 13, 14.5f}, {0.5f, kReplace, 13, 14.5f}, {0.5f, kAdd, 11, 16},
  };
  for (const Case& c : cases) {
    bone.setX(1);
    bone.setY(1);
    applyAt(timeline, *rig.skeleton, c.time, 0.5f, c.blend);
    EXPECT_FLOAT_EQ(bone.getX(), c.x) << "time " << c.time << " blend " << int(c.blend);
    EXPECT_FLOAT_EQ(bone.getY(), c.y) << "time " << c.time << " blend " << int(c.blend);
  }
}

TEST(ShearTimeline, WritesShearAsOffsets) {
  Rig rig;
  rig.arm->setShearX(4);
  ShearTimeline timeline(1);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 0, 6, -8);
  applyAt(timeline, *rig.skeleton, 5, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.armBone().getShearX(), 10);
  EXPECT_FLOAT_EQ(rig.armBone().getShearY(), -8);
  EXPECT_FLOAT_EQ(rig.armBone().getX(), 5);
  EXPECT_NE(timeline.getPropertyId(), TranslateTimeline(1).getPropertyId());
}

TEST(ScaleTimeline, SignComesFromTheKeyMixingInAndFromThePoseMixingOut) {
  Rig rig;  // setup scale x 2
  ScaleTimeline timeline(1);
  timeline.setBoneIndex(1);
  timeline.setFrame(0, 0, -1.5f, 1);  // x = -3
  Bone& bone = rig.armBone();
  struct Case {
    float alpha;
    MixBlend blend;
    MixDirection direction;
    float expected;
  } cases[] = {
      {1, kReplace, kIn, -3},     {1, kAdd, kIn, -1},           {1, kSetup, kOut, -3},
      {0.5f, kSetup, kOut, 2.5f}, {0.5f, kReplace, kOut, 3.5f}, {0.5f, kAdd, kOut, 4.5f},
      {0.5f, kSetup, kIn, -2.5f}, {0.5f, kReplace, kIn, -3.5f}, {0.5f, kAdd, kIn, -4.5f},
  };
  for (const Case& c : cases) {
    bone.setScaleX(4);
    applyAt(timeline, *rig.skeleton, 1, c.alpha, c.blend, c.direction);
    EXPECT_FLOAT_EQ(bone.getScaleX(), c.expected)
        << "alpha " << c.alpha << " blend " << int(c.blend) << " dir " << int(c.direction);
  }
  bone.setScaleY(3);
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kFirst);
  EXPECT_FLOAT_EQ(bone.getScaleY(), 2);
}

// ---------------------------------------------------------------------------
// Slot timelines

TEST(ColorTimeline, SetsClampedAtFullAlphaAndAddsTowardTheKeyOtherwise) {
  Rig rig;
  rig.body->getColor().set(0.5f, 0.5f, 0.5f, 1);
  ColorTimeline timeline(2);
  timeline.setFrame(0, 0, 1, 0, 0, 1);
  timeline.setFrame(1, 1, 0, 0, 1, 0);
  Color& color = rig.slot(0).getColor();
  auto expectColor = [&](float r, float g, float b, float a) {
    EXPECT_FLOAT_EQ(color.r, r);
    EXPECT_FLOAT_EQ(color.g, g);
    EXPECT_FLOAT_EQ(color.b, b);
    EXPECT_FLOAT_EQ(color.a, a);
  };
  applyAt(timeline, *rig.skeleton, 0.5f, 1, kReplace);
  expectColor(0.5f, 0, 0.5f, 0.5f);
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kSetup);
  expectColor(0.5f, 0.25f, 0.5f, 0.75f);
  color.set(0, 0, 0, 0);
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kAdd);
  expectColor(0.25f, 0, 0.25f, 0.25f);
  color.set(0, 0, 0, 0);
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kFirst);
  expectColor(0.25f, 0.25f, 0.25f, 0.5f);
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kReplace);
  expectColor(0.25f, 0.25f, 0.25f, 0.5f);
  timeline.setFrame(1, 1, 2, -1, 0.5f, 3);
  applyAt(timeline, *rig.skeleton, 9, 1, kReplace);
  expectColor(1, 0, 0.5f, 1);
}

TEST(TwoColorTimeline, DarkColourFollowsWithOpaqueAlphaOnlyAtFullWeight) {
  Rig rig;
  rig.body->setHasDarkColor(true);
  rig.body->getDarkColor().set(0.2f, 0.2f, 0.2f, 0);
  TwoColorTimeline timeline(1);
  timeline.setFrame(0, 0, 1, 1, 1, 1, 0.6f, 0.8f, 1);
  Color& dark = rig.slot(0).getDarkColor();
  dark.set(0, 0, 0, 0);
  applyAt(timeline, *rig.skeleton, 1, 0.5f, kReplace);
  EXPECT_FLOAT_EQ(dark.r, 0.3f);
  EXPECT_FLOAT_EQ(dark.b, 0.5f);
  EXPECT_FLOAT_EQ(dark.a, 0);
  applyAt(timeline, *rig.skeleton, 1, 0.5f, kSetup);
  EXPECT_FLOAT_EQ(dark.r, 0.4f);
  EXPECT_FLOAT_EQ(dark.g, 0.5f);
  applyAt(timeline, *rig.skeleton, 1, 1, kReplace);
  EXPECT_FLOAT_EQ(dark.g, 0.8f);
  EXPECT_FLOAT_EQ(dark.a, 1);
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kFirst);
  EXPECT_FLOAT_EQ(dark.g, 0.5f);
  EXPECT_FLOAT_EQ(dark.a, 1);
  applyAt(timeline, *rig.skeleton, -1, 1, kSetup);
  EXPECT_FLOAT_EQ(dark.g, 0.2f);
  EXPECT_FLOAT_EQ(rig.slot(0).getColor().r, 1);
}

TEST(AttachmentTimeline, ShowsTheKeyedAttachmentWhenMixingIn) {
  Rig rig;
  AttachmentTimeline timeline(3);
  timeline.setFrame(0, 1, "b");
  timeline.setFrame(1, 2, "");
  timeline.setFrame(2, 3, "a");
  Skeleton& s = *rig.skeleton;
  applyAt(timeline, s, 1.5f, 1, kReplace);
  EXPECT_EQ(rig.shown(0), "b");
  applyAt(timeline, s, 2.5f, 0, kAdd);
  EXPECT_EQ(rig.shown(0), "-");
  applyAt(timeline, s, 7, 1, kReplace);
  EXPECT_EQ(rig.shown(0), "a");
  applyAt(timeline, s, 1.5f, 1, kReplace);
  applyAt(timeline, s, 0, 1, kReplace);  // before the first key kReplace leaves it
  EXPECT_EQ(rig.shown(0), "b");
  applyAt(timeline, s, 0, 1, kFirst);
  EXPECT_EQ(rig.shown(0), "a");
  // Mixing out only a kSetup blend acts, and it restores the setup attachment.
  applyAt(timeline, s, 2.5f, 1, kReplace);
  applyAt(timeline, s, 1.5f, 1, kReplace, kOut);
  EXPECT_EQ(rig.shown(0), "-");
  applyAt(timeline, s, 1.5f, 1, kSetup, kOut);
  EXPECT_EQ(rig.shown(0), "a");
  // A name the skins lack shows nothing.
  timeline.setFrame(0, 1, "nothing");
  applyAt(timeline, s, 1.5f, 1, kReplace);
  EXPECT_EQ(rig.shown(0), "-");
}

TEST(DeformTimeline, UnweightedKeysAreAbsoluteAndMixWithTheSetupVertices) {
  Rig rig;
  DeformTimeline timeline(2);
  timeline.setSlotIndex(1);
  timeline.setAttachment(rig.mesh);
  timeline.setFrame(0, 0, vec<float>({1, 1, 11, 1, 1, 11}));
  timeline.setFrame(1, 1, vec<float>({2, 2, 12, 2, 2, 12}));
  Slot& hand = rig.slot(1);
  Vector<float>& deform = hand.getDeform();

  applyAt(timeline, *rig.skeleton, 0.5f, 1, kReplace);
  EXPECT_TRUE(deform.isEmpty()) << "nothing happens while the slot shows another attachment";

  hand.setAttachment(rig.mesh);
  // An empty deform counts as kSetup whatever the blend.
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kReplace);
  EXPECT_EQ(floats(deform), (std::vector<float>{0.75f, 0.75f, 10.75f, 0.75f, 0.75f, 10.75f}));
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kReplace);
  EXPECT_EQ(floats(deform), (std::vector<float>{1.125f, 1.125f, 11.125f, 1.125f, 1.125f, 11.125f}));
  applyAt(timeline, *rig.skeleton, 9, 1, kAdd);
  EXPECT_EQ(floats(deform), (std::vector<float>{3.125f, 3.125f, 13.125f, 3.125f, 3.125f, 13.125f}));
  applyAt(timeline, *rig.skeleton, 9, 0.5f, kAdd);
  EXPECT_FLOAT_EQ(deform[0], 4.125f);
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kFirst);
  EXPECT_FLOAT_EQ(deform[0], 2.0625f);
  EXPECT_FLOAT_EQ(deform[2], 12.0625f);
  applyAt(timeline, *rig.skeleton, -1, 1, kFirst);
  EXPECT_TRUE(deform.isEmpty());

  // A linked mesh deforming as the keyed one is deformed too.
  hand.setAttachment(rig.linked);
  applyAt(timeline, *rig.skeleton, 1, 1, kReplace);
  EXPECT_EQ(floats(deform), (std::vector<float>{2, 2, 12, 2, 2, 12}));
}

TEST(DeformTimeline, WeightedKeysAreOffsets) {
  Rig rig;
  DeformTimeline timeline(1);
  timeline.setSlotIndex(1);
  timeline.setAttachment(rig.weighted);
  timeline.setFrame(0, 0, vec<float>({2, 4, 6, 8}));
  Slot& hand = rig.slot(1);
  hand.setAttachment(rig.weighted);
  Vector<float>& deform = hand.getDeform();
  applyAt(timeline, *rig.skeleton, 1, 0.5f, kReplace);
  EXPECT_EQ(floats(deform), (std::vector<float>{1, 2, 3, 4}));
  applyAt(timeline, *rig.skeleton, 1, 1, kAdd);
  EXPECT_EQ(floats(deform), (std::vector<float>{3, 6, 9, 12}));
  applyAt(timeline, *rig.skeleton, 1, 0.5f, kAdd);
  EXPECT_EQ(floats(deform), (std::vector<float>{4, 8, 12, 16}));
  applyAt(timeline, *rig.skeleton, -1, 0.25f, kFirst);
  EXPECT_EQ(floats(deform), (std::vector<float>{3, 6, 9, 12}));
  applyAt(timeline, *rig.skeleton, -1, 1, kSetup);
  EXPECT_TRUE(deform.isEmpty());
}

TEST(DeformTimeline, InconsistentKeysAreSkipped) {
  Rig rig;
  Slot& hand = rig.slot(1);
  hand.setAttachment(rig.mesh);
  // Longer than the mesh's six values.
  DeformTimeline tooLong(1);
  tooLong.setSlotIndex(1);
  tooLong.setAttachment(rig.mesh);
  tooLong.setFrame(0, 0, vec<float>({1, 2, 3, 4, 5, 6, 7, 8}));
  for (MixBlend blend : {kSetup, kFirst, kReplace, kAdd}) {
    applyAt(tooLong, *rig.skeleton, 1, 0.5f, blend);
    applyAt(tooLong, *rig.skeleton, -1, 0.5f, blend);
  }
  EXPECT_TRUE(hand.getDeform().isEmpty());
  // A later key shorter than the first.
  DeformTimeline ragged(2);
  ragged.setSlotIndex(1);
  ragged.setAttachment(rig.mesh);
  ragged.setFrame(0, 0, vec<float>({1, 1, 1, 1, 1, 1}));
  ragged.setFrame(1, 1, vec<float>({1, 1}));
  applyAt(ragged, *rig.skeleton, 0.5f, 1, kReplace);
  applyAt(ragged, *rig.skeleton, 2, 1, kReplace);
  EXPECT_TRUE(hand.getDeform().isEmpty());
  ragged.setFrame(1, 1, vec<float>({3, 3, 3, 3, 3, 3}));
  applyAt(ragged, *rig.skeleton, 0.5f, 1, kReplace);
  EXPECT_EQ(floats(hand.getDeform()), (std::vector<float>{2, 2, 2, 2, 2, 2}));
}

// ---------------------------------------------------------------------------
// Draw order and events

TEST(DrawOrderTimeline, KeysReorderAndEmptyOrBadKeysDoNotCorrupt) {
  Rig rig;
  DrawOrderTimeline timeline(4);
  timeline.setFrame(0, 0, vec<int>({2, 0, 1}));
  timeline.setFrame(1, 1, vec<int>({}));
  timeline.setFrame(2, 2, vec<int>({0, 7, 1}));
  timeline.setFrame(3, 3, vec<int>({1, 0, 2, 1}));
  Skeleton& s = *rig.skeleton;
  auto order = [&] {
    std::string names;
    for (Slot* slot : s.getDrawOrder()) names += std::string(slot->getData().getName().buffer()) + " ";
    return names;
  };
  applyAt(timeline, s, 0.5f, 1, kReplace);
  EXPECT_EQ(order(), "extra body hand ");
  applyAt(timeline, s, 2.5f, 1, kReplace);
  EXPECT_EQ(order(), "extra body hand ") << "a key naming a missing slot is skipped";
  applyAt(timeline, s, 3.5f, 1, kReplace);
  EXPECT_EQ(order(), "extra body hand ") << "a key longer than the draw order is skipped";
  applyAt(timeline, s, 0.5f, 1, kReplace, kOut);
  EXPECT_EQ(order(), "extra body hand ");
  applyAt(timeline, s, 0.5f, 1, kSetup, kOut);
  EXPECT_EQ(order(), "body hand extra ");
  applyAt(timeline, s, 0.5f, 1, kReplace);
  applyAt(timeline, s, 1.5f, 1, kReplace);
  EXPECT_EQ(order(), "body hand extra ");
}

class EventTimelineTest : public ::testing::Test {
 protected:
  EventTimelineTest() : data("e"), timeline(4) {
    const float times[] = {0.2f, 0.5f, 0.5f, 0.9f};
    for (size_t i = 0; i < 4; ++i) {
      Event* event = new Event(times[i], data);
      event->setIntValue(static_cast<int>(i));
      timeline.setFrame(i, event);
    }
  }
  std::vector<int> fire(float lastTime, float time) {
    Vector<Event*> events;
    timeline.apply(*rig.skeleton, lastTime, time, &events, 1, kReplace, kIn);
    std::vector<int> fired;
    for (Event* e : events) fired.push_back(e->getIntValue());
    return fired;
  }
  Rig rig;
  EventData data;
  EventTimeline timeline;
};

TEST_F(EventTimelineTest, FiresKeysAfterLastTimeUpToAndIncludingTime) {
  EXPECT_EQ(fire(-1, 0.1f), (std::vector<int>{}));
  EXPECT_EQ(fire(0.1f, 0.5f), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(fire(0.5f, 0.8f), (std::vector<int>{})) << "keys at lastTime fired already";
  EXPECT_EQ(fire(0.3f, 0.9f), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(fire(0.9f, 5), (std::vector<int>{}));
  EXPECT_EQ(fire(-1, 0.2f), (std::vector<int>{0}));
  timeline.apply(*rig.skeleton, -1, 1, nullptr, 1, kReplace, kIn);
}

TEST_F(EventTimelineTest, AWrapFiresToTheEndThenFromTheStart) {
  EXPECT_EQ(fire(0.8f, 0.3f), (std::vector<int>{3, 0}));
  EXPECT_EQ(fire(0.5f, 0.5f - 1e-3f), (std::vector<int>{3, 0}));
  EXPECT_EQ(fire(0.95f, 0.6f), (std::vector<int>{0, 1, 2}));
}

// ---------------------------------------------------------------------------
// Constraint timelines

TEST(IkConstraintTimeline, MixesInterpolateWhileDiscreteValuesHoldFromTheKey) {
  Rig rig;  // data: mix 1, softness 0, bend 1, no compress, no stretch
  IkConstraintTimeline timeline(2);
  timeline.setFrame(0, 0, 0.2f, 4, -1, true, false);
  timeline.setFrame(1, 1, 0.6f, 8, 1, false, true);
  IkConstraint& ik = *rig.skeleton->getIkConstraints()[0];
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kSetup, kOut);
  EXPECT_FLOAT_EQ(ik.getMix(), 0.7f);
  EXPECT_FLOAT_EQ(ik.getSoftness(), 3);
  EXPECT_EQ(ik.getBendDirection(), 1);
  applyAt(timeline, *rig.skeleton, 0.5f, 0.5f, kSetup, kIn);
  EXPECT_EQ(ik.getBendDirection(), -1);
  EXPECT_TRUE(ik.getCompress());
  EXPECT_FALSE(ik.getStretch());
  applyAt(timeline, *rig.skeleton, 2, 0.5f, kReplace, kOut);
  EXPECT_FLOAT_EQ(ik.getMix(), 0.65f);
  EXPECT_EQ(ik.getBendDirection(), -1) << "mixing out leaves the discrete values";
  applyAt(timeline, *rig.skeleton, 2, 0.5f, kReplace, kIn);
  EXPECT_EQ(ik.getBendDirection(), 1);
  EXPECT_TRUE(ik.getStretch());
  applyAt(timeline, *rig.skeleton, -1, 0.5f, kFirst);
  EXPECT_FLOAT_EQ(ik.getMix(), 0.8125f);
  EXPECT_FALSE(ik.getStretch());
}

TEST(ConstraintTimelines, TransformAndPathValuesFollowTheSharedPattern) {
  Rig rig;
  TransformConstraint& tc = *rig.skeleton->getTransformConstraints()[0];
  PathConstraint& pc = *rig.skeleton->getPathConstraints()[0];
  TransformConstraintTimeline transform(1);
  transform.setFrame(0, 0, 0, 1, 0.5f, 0.25f);
  PathConstraintPositionTimeline position(1);
  position.setFrame(0, 0, 7);
  PathConstraintSpacingTimeline spacing(1);
  spacing.setFrame(0, 0, 5);
  PathConstraintMixTimeline mix(1);
  mix.setFrame(0, 0, 0, 0);
  for (Timeline* t : std::initializer_list<Timeline*>{&transform, &position, &spacing, &mix})
    applyAt(*t, *rig.skeleton, 1, 0.5f, kSetup);
  EXPECT_FLOAT_EQ(tc.getRotateMix(), 0.5f);
  EXPECT_FLOAT_EQ(tc.getTranslateMix(), 0.75f);
  EXPECT_FLOAT_EQ(pc.getPosition(), 5);
  EXPECT_FLOAT_EQ(pc.getSpacing(), 3);
  EXPECT_FLOAT_EQ(pc.getRotateMix(), 0.5f);
  for (Timeline* t : std::initializer_list<Timeline*>{&transform, &position, &spacing, &mix})
    applyAt(*t, *rig.skeleton, 1, 0.5f, kAdd);
  EXPECT_FLOAT_EQ(tc.getRotateMix(), 0.25f);
  EXPECT_FLOAT_EQ(pc.getPosition(), 6);
  EXPECT_FLOAT_EQ(pc.getSpacing(), 4);
  for (Timeline* t : std::initializer_list<Timeline*>{&transform, &position, &spacing, &mix})
    applyAt(*t, *rig.skeleton, -1, 1, kSetup);
  EXPECT_FLOAT_EQ(tc.getRotateMix(), 1);
  EXPECT_FLOAT_EQ(pc.getPosition(), 3);
  EXPECT_FLOAT_EQ(pc.getSpacing(), 1);
  EXPECT_EQ(position.getPropertyId(), 11 << 24);
  EXPECT_EQ(spacing.getPropertyId(), 12 << 24);
}

// ---------------------------------------------------------------------------
// Robustness and the animation

TEST(Timelines, TargetsOutOfRangeOrInactiveAreSkipped) {
  Rig rig;
  std::vector<Timeline*> timelines;
  for (int index : {-1, 3, 99, 1 << 30}) {
    auto* r = new RotateTimeline(2);
    r->setBoneIndex(index);
    auto* sc = new ScaleTimeline(2);
    sc->setBoneIndex(index);
    auto* c = new TwoColorTimeline(2);
    c->setSlotIndex(index);
    auto* a = new AttachmentTimeline(2);
    a->setSlotIndex(index);
    auto* d = new DeformTimeline(2);
    d->setSlotIndex(index);
    d->setAttachment(rig.mesh);
    auto* ik = new IkConstraintTimeline(2);
    ik->setIkConstraintIndex(index);
    auto* tc = new TransformConstraintTimeline(2);
    tc->setTransformConstraintIndex(index);
    auto* pm = new PathConstraintMixTimeline(2);
    pm->setPathConstraintIndex(index);
    timelines.insert(timelines.end(), {r, sc, c, a, d, ik, tc, pm});
  }
  timelines.push_back(new RotateTimeline(0));
  timelines.push_back(new EventTimeline(0));
  timelines.push_back(new DrawOrderTimeline(0));
  rig.armBone().setActive(false);
  auto* inactive = new RotateTimeline(1);
  inactive->setBoneIndex(1);
  inactive->setFrame(0, 0, 45);
  timelines.push_back(inactive);

  Vector<Event*> events;
  for (Timeline* t : timelines) {
    for (MixBlend blend : {kSetup, kFirst, kReplace, kAdd})
      for (MixDirection dir : {kIn, kOut})
        for (float time : {-1.0f, 0.0f, 0.5f, 3.0f}) t->apply(*rig.skeleton, 0, time, &events, 0.5f, blend, dir);
    delete t;
  }
  EXPECT_FLOAT_EQ(rig.armBone().getRotation(), 10);
  EXPECT_EQ(rig.shown(0), "a");
}

TEST(Timelines, ANaNTimeReadsAsTheLastKey) {
  Rig rig;
  const float nan = std::nanf("");
  RotateTimeline single(1);
  single.setBoneIndex(1);
  single.setFrame(0, 0, 30);
  applyAt(single, *rig.skeleton, nan, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.armBone().getRotation(), 40);
  TransformConstraintTimeline mixes(2);
  mixes.setFrame(0, 0, 0.5f, 0.5f, 0.5f, 0.5f);
  mixes.setFrame(1, 1, 0.25f, 0.25f, 0.25f, 0.25f);
  applyAt(mixes, *rig.skeleton, nan, 1, kSetup);
  EXPECT_FLOAT_EQ(rig.skeleton->getTransformConstraints()[0]->getRotateMix(), 0.25f);
}

TEST(Animation, OwnsItsTimelinesAndKnowsTheirPropertyIds) {
  Rig rig;
  auto* rotate = new RotateTimeline(1);
  rotate->setBoneIndex(1);
  rotate->setFrame(0, 0.5f, 30);
  auto* deform = new DeformTimeline(1);
  deform->setSlotIndex(1);
  deform->setAttachment(rig.weighted);
  Animation* animation = rig.animation("idle", 2, {rotate, nullptr, deform, new EventTimeline(0)});
  EXPECT_EQ(animation->getTimelines().size(), 3u);
  EXPECT_TRUE(animation->hasTimeline((0 << 24) + 1));
  EXPECT_FALSE(animation->hasTimeline((1 << 24) + 1));
  EXPECT_TRUE(animation->hasTimeline((6 << 24) + 1 + rig.weighted->getId()));
  EXPECT_TRUE(animation->hasTimeline(7 << 24));

  // A looping apply reads the time modulo the duration.
  animation->apply(*rig.skeleton, -1, 4.25f, true, nullptr, 1, kSetup, kIn);
  EXPECT_FLOAT_EQ(rig.armBone().getRotation(), 10);
  animation->apply(*rig.skeleton, -1, 4.75f, true, nullptr, 1, kSetup, kIn);
  EXPECT_FLOAT_EQ(rig.armBone().getRotation(), 40);
}
