// Every allocation request of a load, and of setting mixes and applying a
// cross-fade, is made to fail in turn, each time in a child process of its
// own so that a crash is that request's failure alone. This binary installs
// its own extension, which only works before the runtime has used one: it
// runs apart from the other runtime tests.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/Atlas.h"
#include "skel/Attachment.h"
#include "skel/Bone.h"
#include "skel/BoneData.h"
#include "skel/DefaultSkelExtension.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"
#include "skel/SlotData.h"
#include "tarn/Path.h"

namespace {

// Outcomes a child reports by its exit status; anything else is a crash or
// a sanitizer's report.
enum Outcome { Whole = 10, Refused, HalfLoaded, WrongError, Leaked, EndedByHandler, OutcomeEnd };
const char* const outcomeNames[] = {"whole",       "refused",     "half loaded",
                                    "wrong error", "blocks left", "ended by handler"};

// Fails the request numbered failAt (from 1; 0 fails none) and counts the blocks live.
class FailingExtension : public skel::DefaultSkelExtension {
 public:
  unsigned long requests = 0;
  unsigned long failAt = 0;
  long live = 0;

  void* allocate(size_t size, const char* file, int line) override {
    return counted(size, DefaultSkelExtension::allocate(size, file, line));
  }
  void* allocateZeroed(size_t size, const char* file, int line) override {
    return counted(size, DefaultSkelExtension::allocateZeroed(size, file, line));
  }
  void* reallocate(void* block, size_t size, const char* file, int line) override {
    if (size == 0) {
      if (block) --live;
      return DefaultSkelExtension::reallocate(block, 0, file, line);
    }
    if (failsNow()) return nullptr;
    void* grown = DefaultSkelExtension::reallocate(block, size, file, line);
    if (grown && !block) ++live;
    return grown;
  }
  void release(void* block, const char* file, int line) override {
    --live;
    DefaultSkelExtension::release(block, file, line);
  }
  void outOfMemory(size_t, const char*, int) override { _exit(EndedByHandler); }

 private:
  bool failsNow() { return ++requests == failAt; }
  void* counted(size_t size, void* block) {
    if (size == 0) return block;
    if (failsNow()) {
      DefaultSkelExtension::release(block, __FILE__, __LINE__);
      return nullptr;
    }
    if (block) ++live;
    return block;
  }
};

FailingExtension* installed() {
  static FailingExtension* const heap = [] {
    auto* own = new FailingExtension;
    return skel::SkelExtension::setInstance(own) ? own : nullptr;
  }();
  return heap;
}

std::string text(const char* path) {
  std::vector<unsigned char> bytes;
  EXPECT_TRUE(tarn::ReadFile(path, bytes)) << path;
  return std::string(bytes.begin(), bytes.end());
}

std::string name(const skel::String& s) { return s.buffer() ? s.buffer() : "<none>"; }

// What a load must give whole: every name, list and count a missing part would change.
std::string describe(const skel::Atlas& atlas, const skel::SkeletonData& data) {
  std::string d = std::to_string(atlas.getPages().size()) + " pages;";
  for (auto* region : atlas.getRegions()) d += name(region->name) + ",";
  for (auto* bone : data.getBones()) d += ";" + name(bone->getName());
  for (auto* slot : data.getSlots()) d += ";" + name(slot->getName()) + "@" + name(slot->getAttachmentName());
  for (auto* skin : data.getSkins()) {
    d += ";skin " + name(skin->getName());
    for (size_t i = 0; i < data.getSlots().size(); ++i) {
      skel::Vector<skel::Attachment*> attachments;
      skin->findAttachmentsForSlot(i, attachments);
      for (auto* attachment : attachments) d += "," + name(attachment->getName());
    }
  }
  d += ";" + std::to_string(data.getIkConstraints().size()) + std::to_string(data.getTransformConstraints().size()) +
       std::to_string(data.getEvents().size());
  for (auto* animation : data.getAnimations())
    d += ";" + name(animation->getName()) + ":" + std::to_string(animation->getTimelines().size()) + ":" +
         std::to_string(animation->getDuration());
  return d;
}

// Runs body once for each k in [1, requests] in a child, with request k
// failing, a few children at once; counts the outcomes, crashes last.
template <typename Body>
std::vector<int> everyFailure(FailingExtension& heap, unsigned long requests, Body body) {
  std::vector<int> counts(OutcomeEnd - Whole + 1, 0);
  const unsigned jobs = std::max(2u, std::min(4u, std::thread::hardware_concurrency()));
  std::map<pid_t, unsigned long> running;  // child: its k
  auto reap = [&] {
    int status = 0;
    const pid_t child = waitpid(-1, &status, 0);
    if (child < 0 || !running.count(child)) return false;
    const unsigned long k = running[child];
    running.erase(child);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (code >= Whole && code < OutcomeEnd) {
      ++counts[static_cast<size_t>(code - Whole)];
    } else {
      ++counts.back();
      ADD_FAILURE() << "request " << k << " failing: "
                    << (WIFSIGNALED(status) ? "killed by signal " + std::to_string(WTERMSIG(status))
                                            : "exit status " + std::to_string(code));
    }
    if (code == HalfLoaded || code == WrongError || code == Leaked)
      ADD_FAILURE() << "request " << k << " failing: " << outcomeNames[code - Whole];
    return true;
  };
  for (unsigned long k = 1; k <= requests; ++k) {
    if (running.size() >= jobs && !reap()) break;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      heap.requests = 0;
      heap.failAt = k;
      _exit(body());
    }
    if (child < 0) {
      ADD_FAILURE() << "no child for request " << k;
      break;
    }
    running[child] = k;
  }
  while (!running.empty() && reap()) {
  }
  EXPECT_TRUE(running.empty());
  std::printf("[ requests ] %lu:", requests);
  for (int o = Whole; o < OutcomeEnd; ++o)
    std::printf(" %d %s,", counts[static_cast<size_t>(o - Whole)], outcomeNames[o - Whole]);
  std::printf(" %d crashed\n", counts.back());
  return counts;
}

}  // namespace

// A load comes back whole or is refused as out of memory, whichever request
// fails; it never crashes, never returns a skeleton with parts missing, and
// leaves no block behind.
TEST(OutOfMemory, ALoadIsWholeOrRefusedWhicheverRequestFails) {
  FailingExtension* heap = installed();
  ASSERT_NE(heap, nullptr) << "the runtime had an extension already";
  const std::string atlasText = text("skel_data/Char01.atlas"), json = text("skel_data/Char01.json");
  std::string expected;
  unsigned long loadRequests = 0;
  // Returns the outcome; expected is filled by the first, untroubled load.
  auto load = [&]() -> int {
    const long live = heap->live;
    int outcome = Whole;
    {
      skel::Atlas atlas(atlasText.data(), atlasText.size(), skel::String(""), nullptr);
      skel::SkeletonJson reader(&atlas);
      skel::SkeletonData* data = reader.readSkeletonData(json.c_str());
      loadRequests = heap->requests;
      if (data) {
        const std::string got = describe(atlas, *data);
        if (expected.empty()) expected = got;
        outcome = got == expected ? Whole : HalfLoaded;
        delete data;
      } else {
        const std::string error = name(reader.getError());
        outcome = error.rfind("Out of memory reading: ", 0) == 0 ? Refused : WrongError;
        if (outcome == WrongError) std::fprintf(stderr, "error: %s\n", error.c_str());
      }
    }
    return outcome == Whole || outcome == Refused ? (heap->live == live ? outcome : Leaked) : outcome;
  };
  ASSERT_EQ(load(), Whole);
  heap->requests = 0;
  ASSERT_EQ(load(), Whole);
  const unsigned long requests = loadRequests;
  ASSERT_GT(requests, 100u);

  const std::vector<int> counts = everyFailure(*heap, requests, load);
  EXPECT_GT(counts[Refused - Whole], 0);
  EXPECT_EQ(counts[Whole - Whole] + counts[Refused - Whole], static_cast<int>(requests));
}

// Setting mixes and applying a cross-fade cannot report a failure: a failed
// request ends the program through the extension's handler, never a crash
// or a pose with something missing.
TEST(OutOfMemory, MixesAndACrossFadeEndThroughTheHandlerWhicheverRequestFails) {
  FailingExtension* heap = installed();
  ASSERT_NE(heap, nullptr) << "the runtime had an extension already";
  const std::string atlasText = text("skel_data/Char01.atlas"), json = text("skel_data/Char01.json");
  skel::Atlas atlas(atlasText.data(), atlasText.size(), skel::String(""), nullptr);
  skel::SkeletonJson reader(&atlas);
  skel::SkeletonData* data = reader.readSkeletonData(json.c_str());
  ASSERT_NE(data, nullptr) << name(reader.getError());
  ASSERT_GE(data->getAnimations().size(), 2u);
  skel::Animation* first = data->getAnimations()[0];
  skel::Animation* second = data->getAnimations()[1];
  skel::Skeleton skeleton(data);

  std::vector<float> expected;
  auto mixAndApply = [&]() -> int {
    {
      skel::AnimationStateData mixes(data);
      mixes.setDefaultMix(0.1f);
      mixes.setMix(first, second, 0.4f);
      mixes.setMix(second, first, 0.3f);
      mixes.setMix(first->getName(), first->getName(), 0.2f);
      skel::AnimationState state(&mixes);
      skeleton.setBonesToSetupPose();
      skeleton.setSlotsToSetupPose();
      state.setAnimation(0, first, true);
      state.update(0.25f);
      state.apply(skeleton);
      state.setAnimation(0, second, false);
      state.update(0.1f);
      state.apply(skeleton);
    }
    skeleton.updateWorldTransform();
    std::vector<float> pose;
    for (skel::Bone* bone : skeleton.getBones()) {
      pose.push_back(bone->getWorldX());
      pose.push_back(bone->getWorldY());
    }
    if (expected.empty()) expected = pose;
    return pose == expected ? Whole : HalfLoaded;
  };
  ASSERT_EQ(mixAndApply(), Whole);
  const long live = heap->live;
  heap->requests = 0;
  ASSERT_EQ(mixAndApply(), Whole);
  EXPECT_EQ(heap->live, live);
  const unsigned long requests = heap->requests;
  ASSERT_GT(requests, 10u);

  const std::vector<int> counts = everyFailure(*heap, requests, mixAndApply);
  EXPECT_EQ(counts[EndedByHandler - Whole], static_cast<int>(requests));
  delete data;
}
