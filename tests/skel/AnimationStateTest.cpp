#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AnimTestSupport.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/AttachmentTimeline.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/RotateTimeline.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/TrackEntry.h"

using namespace skel;
using animtest::Rig;

namespace {

using Log = std::vector<std::string>;

const char* typeName(EventType type) {
  switch (type) {
    case EventType::start: return "start";
    case EventType::interrupt: return "interrupt";
    case EventType::end: return "end";
    case EventType::complete: return "complete";
    case EventType::dispose: return "dispose";
    case EventType::event: return "event";
  }
  return "?";
}

// Writes "type animation[ event]" for every notification the state delivers.
class Recorder : public AnimationStateListenerObject {
 public:
  void callback(AnimationState*, EventType type, TrackEntry* entry, Event* event) override {
    std::string line = std::string(typeName(type)) + " " + entry->getAnimation()->getName().buffer();
    if (event) line += std::string(" ") + event->getData().getName().buffer();
    log.push_back(line);
  }
  Log take() {
    Log taken;
    taken.swap(log);
    return taken;
  }
  Log log;
};

RotateTimeline* rotate(int bone, std::initializer_list<std::pair<float, float>> keys) {
  auto* timeline = new RotateTimeline(keys.size());
  timeline->setBoneIndex(bone);
  size_t i = 0;
  for (const auto& key : keys) timeline->setFrame(i++, key.first, key.second);
  return timeline;
}

AttachmentTimeline* showAttachment(int slot, const char* name) {
  auto* timeline = new AttachmentTimeline(1);
  timeline->setSlotIndex(slot);
  timeline->setFrame(0, 0, name);
  return timeline;
}

// A rig with an animation state of default mix 0 and a recorder on it.
struct Player {
  Player() : stateData(&rig.data), state(&stateData) { state.setListener(&recorder); }
  float rotation() { return rig.armBone().getRotation(); }
  void step(float delta) {
    state.update(delta);
    state.apply(*rig.skeleton);
  }

  Rig rig;
  AnimationStateData stateData;
  AnimationState state;
  Recorder recorder;
};

}  // namespace

TEST(AnimationStateData, MixesArePerNamedPairWithADefault) {
  Rig rig;
  Animation* a = rig.animation("a", 1, {});
  Animation* b = rig.animation("b", 1, {});
  Animation sameNameAsA("a", 3);
  AnimationStateData data(&rig.data);
  EXPECT_FLOAT_EQ(data.getMix(a, b), 0);
  data.setDefaultMix(0.2f);
  data.setMix(a, b, 0.5f);
  EXPECT_TRUE(data.setMix("b", "a", 0.7f));
  EXPECT_FALSE(data.setMix("b", "missing", 1));
  data.setMix(&sameNameAsA, b, 0.6f);
  EXPECT_FLOAT_EQ(data.getMix(a, b), 0.6f) << "pairs match by animation name";
  EXPECT_FLOAT_EQ(data.getMix(b, a), 0.7f);
  EXPECT_FLOAT_EQ(data.getMix(a, a), 0.2f);
}

TEST(AnimationState, TrackEntryTimeLoopsOrHoldsAtTheEnd) {
  TrackEntry entry;
  entry.setAnimationStart(1);
  entry.setAnimationEnd(3);
  entry.setTrackTime(5.5f);
  EXPECT_FLOAT_EQ(entry.getAnimationTime(), 3);
  entry.setLoop(true);
  EXPECT_FLOAT_EQ(entry.getAnimationTime(), 2.5f);
  entry.setAnimationEnd(1);
  EXPECT_FLOAT_EQ(entry.getAnimationTime(), 1);
}

TEST(AnimationState, FirstApplyShowsTheAnimationAndStartsIt) {
  Player p;
  Animation* idle = p.rig.animation("idle", 1, {rotate(1, {{0, 20}, {1, 40}})});
  TrackEntry* entry = p.state.setAnimation(0, idle, true);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(p.recorder.take(), (Log{"start idle"}));
  EXPECT_TRUE(p.state.apply(*p.rig.skeleton));
  EXPECT_FLOAT_EQ(p.rotation(), 30);
  p.step(0.5f);
  EXPECT_FLOAT_EQ(p.rotation(), 40);
  p.step(0.75f);  // 1.25 wraps to 0.25
  EXPECT_FLOAT_EQ(p.rotation(), 35);
  EXPECT_EQ(p.recorder.take(), (Log{"complete idle"}));
}

TEST(AnimationState, SecondSetBeforeApplyDropsTheFirstAndMixesFromTheOneBefore) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {});
  Animation* b = p.rig.animation("b", 1, {});
  Animation* c = p.rig.animation("c", 1, {});
  TrackEntry* first = p.state.setAnimation(0, a, true);
  p.step(0.1f);
  p.state.setAnimation(0, b, true);
  TrackEntry* third = p.state.setAnimation(0, c, true);
  EXPECT_EQ(p.recorder.take(),
            (Log{"start a", "interrupt a", "start b", "interrupt b", "end b", "dispose b", "start c"}));
  EXPECT_EQ(third->getMixingFrom(), first);
  EXPECT_EQ(first->getMixingTo(), third);
  EXPECT_EQ(p.state.getCurrent(0), third);
}

TEST(AnimationState, WithNoMixTheNewAnimationShowsAtOnceAndTheOldEndsOnTheSecondUpdate) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  Animation* b = p.rig.animation("b", 1, {rotate(1, {{0, 60}})});
  TrackEntry* old = p.state.setAnimation(0, a, true);
  p.step(0.1f);
  EXPECT_FLOAT_EQ(p.rotation(), 30);
  TrackEntry* entry = p.state.setAnimation(0, b, true);
  EXPECT_EQ(entry->getMixDuration(), 0);
  p.state.apply(*p.rig.skeleton);
  EXPECT_FLOAT_EQ(p.rotation(), 70);
  p.recorder.take();
  p.step(0.1f);
  EXPECT_EQ(entry->getMixingFrom(), old);
  EXPECT_GT(entry->getMixTime(), 0);
  p.step(0.1f);
  EXPECT_EQ(entry->getMixingFrom(), nullptr);
  EXPECT_EQ(p.recorder.take(), (Log{"end a", "dispose a"}));
  EXPECT_FLOAT_EQ(p.rotation(), 70);
}

TEST(AnimationState, APositiveMixCrossFadesAndThenEndsTheOldEntry) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  Animation* b = p.rig.animation("b", 1, {rotate(1, {{0, 60}})});
  p.stateData.setMix(a, b, 0.5f);
  p.state.setAnimation(0, a, true);
  p.step(0.1f);
  TrackEntry* entry = p.state.setAnimation(0, b, true);
  EXPECT_FLOAT_EQ(entry->getMixDuration(), 0.5f);
  p.state.apply(*p.rig.skeleton);
  EXPECT_FLOAT_EQ(p.rotation(), 30);
  p.step(0.25f);
  EXPECT_FLOAT_EQ(p.rotation(), 50);
  p.recorder.take();
  p.step(0.25f);
  EXPECT_FLOAT_EQ(p.rotation(), 70);
  EXPECT_EQ(p.recorder.take(), (Log{})) << "the mix completes at the update after it reaches its duration";
  p.step(0.25f);
  EXPECT_EQ(p.recorder.take(), (Log{"end a", "dispose a"}));

  // A step past the mix's end shows the new pose, not one beyond it.
  Player q;
  a = q.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  b = q.rig.animation("b", 1, {rotate(1, {{0, 60}})});
  q.stateData.setMix(a, b, 0.5f);
  q.state.setAnimation(0, a, true);
  q.step(0.1f);
  q.state.setAnimation(0, b, true);
  q.step(0.3f);
  EXPECT_FLOAT_EQ(q.rotation(), 54);
  q.step(0.3f);
  EXPECT_FLOAT_EQ(q.rotation(), 70);
}

TEST(AnimationState, MixingWithoutDurationTurnsFirstIntoSetupForWhatOnlyTheOldKeyed) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  Animation* b = p.rig.animation("b", 1, {});
  p.state.setAnimation(0, a, true);
  p.step(0.1f);
  p.rig.armBone().setRotation(99);
  p.state.setAnimation(0, b, true);
  p.state.apply(*p.rig.skeleton);
  EXPECT_FLOAT_EQ(p.rotation(), 10) << "the bone returns to setup rather than staying where it was";
}

TEST(AnimationState, InterruptedMixHoldsTheOldestUntilTheNewestFadesIn) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  Animation* b = p.rig.animation("b", 1, {rotate(1, {{0, 60}})});
  Animation* c = p.rig.animation("c", 1, {});
  p.stateData.setDefaultMix(1);
  TrackEntry* first = p.state.setAnimation(0, a, true);
  p.step(0.1f);
  TrackEntry* second = p.state.setAnimation(0, b, true);
  p.state.apply(*p.rig.skeleton);
  p.step(0.5f);
  TrackEntry* third = p.state.setAnimation(0, c, true);
  EXPECT_FLOAT_EQ(third->getInterruptAlpha(), 0.5f) << "the interrupted mix had reached half";
  p.state.apply(*p.rig.skeleton);
  // a keys the bone and so does b, which c does not: a holds, fading as c mixes in.
  ASSERT_EQ(first->getTimelineMode().size(), 1u);
  EXPECT_EQ(first->getTimelineMode()[0], static_cast<int>(TimelineMode::HoldMix));
  EXPECT_EQ(first->getTimelineHoldMix()[0], third);
  EXPECT_EQ(second->getTimelineMode()[0], static_cast<int>(TimelineMode::Subsequent));

  // With holdPrevious the older entries hold everything they key.
  third->setHoldPrevious(true);
  p.state.setAnimation(1, c, true);  // any start recomputes the modes
  p.state.apply(*p.rig.skeleton);
  EXPECT_EQ(second->getTimelineMode()[0], static_cast<int>(TimelineMode::HoldSubsequent));
}

TEST(AnimationState, LoopingZeroLengthAnimationCompletesOnEveryApply) {
  Player p;
  Animation* still = p.rig.animation("still", 0, {rotate(1, {{0, 5}})});
  p.state.setAnimation(0, still, true);
  p.state.apply(*p.rig.skeleton);
  p.step(1 / 60.0f);
  p.step(1 / 60.0f);
  EXPECT_EQ(p.recorder.take(), (Log{"start still", "complete still", "complete still", "complete still"}));
  EXPECT_FLOAT_EQ(p.rotation(), 15);
}

TEST(AnimationState, EventsBeforeTheWrapComeBeforeCompleteAndTheRestAfter) {
  Player p;
  EventData early("early"), late("late");
  auto* events = new EventTimeline(2);
  events->setFrame(0, new Event(0.125f, early));
  events->setFrame(1, new Event(0.875f, late));
  Animation* walk = p.rig.animation("walk", 1, {events});
  p.state.setAnimation(0, walk, true);
  p.state.apply(*p.rig.skeleton);
  p.step(0.5f);
  EXPECT_EQ(p.recorder.take(), (Log{"start walk", "event walk early"}));
  p.step(0.75f);  // 0.5 -> 1.25
  EXPECT_EQ(p.recorder.take(), (Log{"event walk late", "complete walk", "event walk early"}));
  p.step(0.25f);
  EXPECT_EQ(p.recorder.take(), (Log{}));
}

TEST(AnimationState, NonLoopingAnimationCompletesOnceAndHoldsItsLastPose) {
  Player p;
  Animation* wave = p.rig.animation("wave", 1, {rotate(1, {{0, 0}, {1, 50}})});
  p.state.setAnimation(0, wave, false);
  p.state.apply(*p.rig.skeleton);
  p.step(0.75f);
  p.step(0.75f);
  p.step(0.75f);
  EXPECT_EQ(p.recorder.take(), (Log{"start wave", "complete wave"}));
  EXPECT_FLOAT_EQ(p.rotation(), 60);
}

TEST(AnimationState, RotationMixKeepsItsDirectionWhenThePosesCross) {
  Player p;
  p.rig.arm->setRotation(0);
  Animation* still = p.rig.animation("still", 1, {rotate(1, {{0, 0}})});
  Animation* spin = p.rig.animation("spin", 2, {rotate(1, {{0, 90}, {1, 180}, {2, 270}})});
  p.stateData.setMix(still, spin, 10);
  p.state.setAnimation(0, still, true);
  p.step(0.1f);
  TrackEntry* entry = p.state.setAnimation(0, spin, false);
  p.state.apply(*p.rig.skeleton);
  p.step(0.5f);  // spin at 135, mix 0.05
  EXPECT_NEAR(p.rotation(), 135 * 0.05f, 1e-3);
  p.step(1.0f);  // spin at 225, past the opposite pose; mix 0.15
  EXPECT_NEAR(p.rotation(), 225 * 0.15f, 1e-3) << "the short way round would turn back to -135";
  EXPECT_NEAR(entry->getTimelinesRotation()[0], 225, 1e-3);
}

TEST(AnimationState, UnkeyedSlotsReturnToTheirSetupAttachment) {
  Player p;
  Animation* holdB = p.rig.animation("holdB", 1, {showAttachment(0, "b")});
  Animation* plain = p.rig.animation("plain", 1, {rotate(1, {{0, 0}})});
  p.state.setAnimation(0, holdB, true);
  p.state.apply(*p.rig.skeleton);
  EXPECT_EQ(p.rig.shown(0), "b");
  p.rig.slot(2).setAttachment(p.rig.attachment(0, "a"));  // set by the game, keyed by nobody
  p.state.setAnimation(0, plain, true);
  p.step(0.1f);
  EXPECT_EQ(p.rig.shown(0), "a");
  EXPECT_EQ(p.rig.shown(2), "a");
}

TEST(AnimationState, AttachmentThresholdKeepsTheOldKeysWhileMixingOut) {
  Player p;
  Animation* holdB = p.rig.animation("holdB", 1, {showAttachment(0, "b")});
  Animation* plain = p.rig.animation("plain", 1, {});
  p.stateData.setMix(holdB, plain, 1);
  p.state.setAnimation(0, holdB, true)->setAttachmentThreshold(0.5f);
  p.step(0.1f);
  p.state.setAnimation(0, plain, true);
  p.step(0.25f);
  EXPECT_EQ(p.rig.shown(0), "b");
  p.step(0.5f);
  EXPECT_EQ(p.rig.shown(0), "a");
}

TEST(AnimationState, ListenersHearEntryFirstAndMayStartAnimationsInTheSameDrain) {
  Player p;
  Animation* once = p.rig.animation("once", 0.5f, {});
  Animation* after = p.rig.animation("after", 1, {});
  struct Chain : AnimationStateListenerObject {
    void callback(AnimationState* state, EventType type, TrackEntry* entry, Event*) override {
      order->push_back(std::string("entry ") + typeName(type));
      if (type == EventType::complete) state->setAnimation(entry->getTrackIndex(), next, false);
    }
    Animation* next;
    Log* order;
  } chain;
  chain.next = after;
  chain.order = &p.recorder.log;
  p.state.setAnimation(0, once, false)->setListener(&chain);
  p.state.apply(*p.rig.skeleton);
  p.step(0.6f);
  EXPECT_EQ(p.recorder.take(),
            (Log{"start once", "entry complete", "complete once", "entry interrupt", "interrupt once", "start after"}));
  EXPECT_EQ(p.state.getCurrent(0)->getAnimation(), after);
}

TEST(AnimationState, EndedTracksEmptyAndEntriesAreRecycledClean) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  Animation* b = p.rig.animation("b", 1, {rotate(1, {{0, 5}})});
  p.state.setAnimation(0, a, true);
  TrackEntry* top = p.state.setAnimation(1, b, true);
  top->setMixBlend(MixBlend::Add);
  static int disposed = 0;
  top->setRendererObject(&disposed, [](void* object) { ++*static_cast<int*>(object); });
  p.state.apply(*p.rig.skeleton);
  EXPECT_FLOAT_EQ(p.rotation(), 35) << "track 1 adds to track 0";

  top->setTrackEnd(0.1f);
  p.step(0.2f);  // the last application with trackTime past the end returns to setup
  p.step(0.2f);
  EXPECT_EQ(p.state.getCurrent(1), nullptr);
  EXPECT_EQ(disposed, 1);
  EXPECT_TRUE(p.state.apply(*p.rig.skeleton));
  EXPECT_FLOAT_EQ(p.rotation(), 30);

  TrackEntry* reused = p.state.setAnimation(2, b, true);
  EXPECT_EQ(reused, top);
  EXPECT_EQ(reused->getMixBlend(), MixBlend::Replace);
  EXPECT_EQ(reused->getRendererObject(), nullptr);
}

TEST(AnimationState, DelayedEntryDoesNotApplyUntilItsDelayHasPassed) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {rotate(1, {{0, 20}})});
  p.state.setAnimation(0, a, true)->setDelay(0.5f);
  EXPECT_FALSE(p.state.apply(*p.rig.skeleton));
  p.step(0.25f);
  EXPECT_FLOAT_EQ(p.rotation(), 10);
  p.step(0.5f);
  EXPECT_FLOAT_EQ(p.rotation(), 30);
  EXPECT_FLOAT_EQ(p.state.getCurrent(0)->getTrackTime(), 0.25f);
}

TEST(AnimationState, BadRequestsAreRefused) {
  Player p;
  Animation* a = p.rig.animation("a", 1, {});
  EXPECT_EQ(p.state.setAnimation(0, static_cast<Animation*>(nullptr), true), nullptr);
  EXPECT_EQ(p.state.setAnimation(AnimationState::MaxTracks, a, true), nullptr);
  EXPECT_EQ(p.state.setAnimation(0, String("missing"), true), nullptr);
  EXPECT_NE(p.state.setAnimation(3, String("a"), true), nullptr);
  EXPECT_EQ(p.state.getTracks().size(), 4u);
  EXPECT_EQ(p.state.getCurrent(100), nullptr);
}

TEST(AnimationState, ModesStayRightWhenAnimationsKeyManyProperties) {
  // a rotates twenty bones; b rotates twenty others, then a's. The second
  // working-out of the modes keys more properties than the state's table
  // held until then, so it grows before b reaches a's bones.
  std::string bones = "{\"name\":\"b0\"}", a, b;
  for (int i = 1; i < 40; ++i) bones += ",{\"name\":\"b" + std::to_string(i) + "\",\"parent\":\"b0\"}";
  for (int k = 0; k < 40; ++k) {
    const int i = (k + 20) % 40;
    const std::string key = "\"b" + std::to_string(i) + "\":{\"rotate\":[{\"angle\":" + std::to_string(i) + "}]}";
    if (i < 20) a += (a.empty() ? "" : ",") + key;
    b += (k ? "," : "") + key;
  }
  const std::string json =
      "{\"bones\":[" + bones + "],\"animations\":{\"a\":{\"bones\":{" + a + "}},\"b\":{\"bones\":{" + b + "}}}}";
  Atlas atlas("", 0, String(""), nullptr);
  SkeletonJson reader(&atlas);
  std::unique_ptr<SkeletonData> data(reader.readSkeletonData(json.c_str()));
  ASSERT_NE(data, nullptr) << reader.getError().buffer();
  Skeleton skeleton(data.get());
  AnimationStateData stateData(data.get());
  stateData.setDefaultMix(1);
  AnimationState state(&stateData);
  TrackEntry* first = state.setAnimation(0, data->findAnimation(String("a")), true);
  state.update(0.1f);
  state.apply(skeleton);
  TrackEntry* second = state.setAnimation(0, data->findAnimation(String("b")), true);
  state.apply(skeleton);
  ASSERT_EQ(first->getTimelineMode().size(), 20u);
  ASSERT_EQ(second->getTimelineMode().size(), 40u);
  for (size_t i = 0; i < 20; ++i) {
    EXPECT_EQ(first->getTimelineMode()[i], static_cast<int>(TimelineMode::HoldFirst)) << i;
    EXPECT_EQ(second->getTimelineMode()[i], static_cast<int>(TimelineMode::First)) << i;
    EXPECT_EQ(second->getTimelineMode()[20 + i], static_cast<int>(TimelineMode::Subsequent)) << i;
  }
}
