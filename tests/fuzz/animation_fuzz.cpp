// Bytes read as a program for the animation runtime: they build timelines of
// every kind through the public setters, with targets out of range, keys out
// of order, odd vertex and draw-order lengths and non-finite values, then
// drive an animation state (set, update, apply, entry settings, listeners that
// start animations) over a small fixed skeleton. Nothing may leave an array.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/AttachmentTimeline.h"
#include "skel/BoneData.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ColorTimeline.h"
#include "skel/DeformTimeline.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/IkConstraintData.h"
#include "skel/IkConstraintTimeline.h"
#include "skel/PathConstraintData.h"
#include "skel/PathConstraintMixTimeline.h"
#include "skel/PathConstraintPositionTimeline.h"
#include "skel/PathConstraintSpacingTimeline.h"
#include "skel/PointAttachment.h"
#include "skel/RotateTimeline.h"
#include "skel/ScaleTimeline.h"
#include "skel/ShearTimeline.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/TrackEntry.h"
#include "skel/TransformConstraintData.h"
#include "skel/TransformConstraintTimeline.h"
#include "skel/TranslateTimeline.h"
#include "skel/TwoColorTimeline.h"

namespace {

// Reads the input front to back; past the end every read gives zero.
class Program {
 public:
  Program(const uint8_t* bytes, size_t size) : _bytes(bytes), _size(size), _at(0) {}

  bool done() const { return _at >= _size; }
  uint8_t byte() { return _at < _size ? _bytes[_at++] : 0; }
  size_t below(size_t limit) { return limit ? byte() % limit : 0; }
  // Mostly small numbers in steps of 1/16, sometimes any bit pattern.
  float number() {
    const uint8_t kind = byte();
    if (kind < 224) return static_cast<float>(static_cast<int8_t>(byte())) / 16.0f;
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 8 | byte();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // Indexes a little past either end of lists of a few elements.
  int index() { return static_cast<int>(below(10)) - 2; }

 private:
  const uint8_t* _bytes;
  size_t _size;
  size_t _at;
};

void check(bool condition) {
  if (!condition) std::abort();
}

// Three bones (the last only with a skin), three slots, one constraint of each kind,
// and a default skin of points, an unweighted and a weighted box, and a box deforming as another.
struct Rig {
  Rig() : eventData("beat") {
    auto* root = new skel::BoneData(0, "root");
    auto* arm = new skel::BoneData(1, "arm", root);
    auto* extra = new skel::BoneData(2, "extra", arm);
    extra->setSkinRequired(true);
    for (skel::BoneData* bone : {root, arm, extra}) data.getBones().add(bone);
    data.getSlots().add(new skel::SlotData(0, "body", *root));
    data.getSlots().add(new skel::SlotData(1, "hand", *arm));
    data.getSlots().add(new skel::SlotData(2, "tip", *extra));
    data.getSlots()[0]->setAttachmentName("a");
    data.getSlots()[1]->setHasDarkColor(true);

    auto* ik = new skel::IkConstraintData("ik");
    ik->getBones().add(arm);
    ik->setTarget(root);
    data.getIkConstraints().add(ik);
    auto* transform = new skel::TransformConstraintData("tc");
    transform->setOrder(1);
    transform->getBones().add(arm);
    transform->setTarget(root);
    data.getTransformConstraints().add(transform);
    auto* path = new skel::PathConstraintData("pc");
    path->setOrder(2);
    path->getBones().add(arm);
    path->setTarget(data.getSlots()[1]);
    data.getPathConstraints().add(path);

    auto* skin = new skel::Skin("default");
    data.getSkins().add(skin);
    data.setDefaultSkin(skin);
    skin->setAttachment(0, "a", new skel::PointAttachment("a"));
    skin->setAttachment(0, "b", new skel::PointAttachment("b"));
    plain = new skel::BoundingBoxAttachment("plain");
    for (float v : {0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 10.0f}) plain->getVertices().add(v);
    plain->setWorldVerticesLength(6);
    skin->setAttachment(1, "plain", plain);
    weighted = new skel::BoundingBoxAttachment("weighted");
    for (unsigned long long b : {1ull, 1ull, 2ull, 0ull, 2ull}) weighted->getBones().add(b);
    for (float v : {1.0f, 2.0f, 1.0f, 3.0f, 4.0f, 0.5f, 5.0f, 6.0f, 0.5f}) weighted->getVertices().add(v);
    weighted->setWorldVerticesLength(4);
    skin->setAttachment(1, "weighted", weighted);
    linked = new skel::BoundingBoxAttachment("linked");
    linked->getVertices() = plain->getVertices();
    linked->setWorldVerticesLength(6);
    linked->setDeformAttachment(plain);
    skin->setAttachment(2, "linked", linked);
  }

  skel::Attachment* anyAttachment(Program& p) {
    switch (p.below(6)) {
      case 0: return plain;
      case 1: return weighted;
      case 2: return linked;
      case 3: return data.getDefaultSkin()->getAttachment(0, "a");
      case 4: return data.getDefaultSkin()->getAttachment(0, "b");
      default: return nullptr;
    }
  }
  skel::VertexAttachment* anyVertexAttachment(Program& p) {
    switch (p.below(4)) {
      case 0: return plain;
      case 1: return weighted;
      case 2: return linked;
      default: return nullptr;
    }
  }

  skel::SkeletonData data;
  skel::EventData eventData;
  skel::BoundingBoxAttachment* plain;
  skel::BoundingBoxAttachment* weighted;
  skel::BoundingBoxAttachment* linked;
};

void setCurves(Program& p, skel::CurveTimeline& timeline, size_t frameCount) {
  // One more than there are intervals, as the loader does for the last key.
  for (size_t i = 0; i < frameCount; ++i) {
    switch (p.below(4)) {
      case 0: timeline.setStepped(i); break;
      case 1: {
        const float cx1 = p.number(), cy1 = p.number(), cx2 = p.number(), cy2 = p.number();
        timeline.setCurve(i, cx1, cy1, cx2, cy2);
        break;
      }
      default: break;
    }
  }
}

template <typename T>
T* curveTimeline(Program& p, size_t frameCount, size_t values) {
  T* timeline = new T(frameCount);
  skel::Vector<float>& frames = timeline->getFrames();
  // Keys mostly rise in time but not always; values are anything.
  float time = p.number();
  for (size_t f = 0; f < frameCount; ++f) {
    const size_t at = f * T::Entries;
    if (at + values >= frames.size()) break;
    frames[at] = time;
    for (size_t v = 1; v <= values; ++v) frames[at + v] = p.number();
    time += p.number();
  }
  setCurves(p, *timeline, frameCount);
  return timeline;
}

skel::Timeline* makeTimeline(Program& p, Rig& rig) {
  const size_t frameCount = p.below(6);
  const int target = p.index();
  switch (p.below(15)) {
    case 0: {
      auto* t = curveTimeline<skel::RotateTimeline>(p, frameCount, 1);
      t->setBoneIndex(target);
      return t;
    }
    case 1: {
      auto* t = curveTimeline<skel::TranslateTimeline>(p, frameCount, 2);
      t->setBoneIndex(target);
      return t;
    }
    case 2: {
      skel::TranslateTimeline* t = new skel::ScaleTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f) t->setFrame(f, p.number(), p.number(), p.number());
      setCurves(p, *t, frameCount);
      t->setBoneIndex(target);
      return t;
    }
    case 3: {
      skel::TranslateTimeline* t = new skel::ShearTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f) t->setFrame(f, p.number(), p.number(), p.number());
      t->setBoneIndex(target);
      return t;
    }
    case 4: {
      auto* t = new skel::AttachmentTimeline(frameCount);
      const char* names[] = {"a", "b", "plain", "weighted", "linked", "", "missing"};
      for (size_t f = 0; f < frameCount; ++f) t->setFrame(f, p.number(), names[p.below(7)]);
      t->setSlotIndex(target);
      return t;
    }
    case 5: {
      auto* t = curveTimeline<skel::ColorTimeline>(p, frameCount, 4);
      t->setSlotIndex(target);
      return t;
    }
    case 6: {
      auto* t = new skel::DeformTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f) {
        skel::Vector<float> vertices;
        for (size_t n = p.below(11); n > 0; --n) vertices.add(p.number());
        t->setFrame(f, p.number(), vertices);
      }
      setCurves(p, *t, frameCount);
      t->setSlotIndex(target);
      t->setAttachment(rig.anyVertexAttachment(p));
      return t;
    }
    case 7: {
      auto* t = new skel::EventTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f)
        if (p.below(5)) t->setFrame(f, new skel::Event(p.number(), rig.eventData));
      return t;
    }
    case 8: {
      auto* t = new skel::DrawOrderTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f) {
        skel::Vector<int> order;
        for (size_t n = p.below(6); n > 0; --n) order.add(p.index());
        t->setFrame(f, p.number(), order);
      }
      return t;
    }
    case 9: {
      auto* t = new skel::IkConstraintTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f)
        t->setFrame(f, p.number(), p.number(), p.number(), p.below(2) ? 1 : -1, p.below(2), p.below(2));
      setCurves(p, *t, frameCount);
      t->setIkConstraintIndex(target);
      return t;
    }
    case 10: {
      auto* t = curveTimeline<skel::TransformConstraintTimeline>(p, frameCount, 4);
      t->setTransformConstraintIndex(target);
      return t;
    }
    case 11: {
      auto* t = curveTimeline<skel::PathConstraintPositionTimeline>(p, frameCount, 1);
      t->setPathConstraintIndex(target);
      return t;
    }
    case 12: {
      skel::PathConstraintPositionTimeline* t = new skel::PathConstraintSpacingTimeline(frameCount);
      for (size_t f = 0; f < frameCount; ++f) t->setFrame(f, p.number(), p.number());
      t->setPathConstraintIndex(target);
      return t;
    }
    case 13: {
      auto* t = curveTimeline<skel::PathConstraintMixTimeline>(p, frameCount, 2);
      t->setPathConstraintIndex(target);
      return t;
    }
    default: {
      auto* t = curveTimeline<skel::TwoColorTimeline>(p, frameCount, 7);
      t->setSlotIndex(target);
      return t;
    }
  }
}

// Starts another animation from some notifications, a bounded number of times.
class Restarter : public skel::AnimationStateListenerObject {
 public:
  explicit Restarter(skel::SkeletonData& data) : _data(data), _budget(20) {}
  void callback(skel::AnimationState* state, skel::EventType type, skel::TrackEntry* entry,
                skel::Event* event) override {
    check(entry != nullptr);
    check((type == skel::EventType::event) == (event != nullptr));
    if (type != skel::EventType::complete && type != skel::EventType::end) return;
    if (_budget == 0 || _data.getAnimations().isEmpty()) return;
    --_budget;
    const size_t pick = static_cast<size_t>(_budget) % _data.getAnimations().size();
    state->setAnimation(static_cast<size_t>(_budget) % 3, _data.getAnimations()[pick], _budget % 2 == 0);
  }

 private:
  skel::SkeletonData& _data;
  int _budget;
};

void tweakEntry(Program& p, skel::TrackEntry& entry) {
  const float value = p.number();
  switch (p.below(12)) {
    case 0: entry.setAlpha(value); break;
    case 1: entry.setMixBlend(static_cast<skel::MixBlend>(p.below(4))); break;
    case 2: entry.setEventThreshold(value); break;
    case 3: entry.setAttachmentThreshold(value); break;
    case 4: entry.setDrawOrderThreshold(value); break;
    case 5: entry.setHoldPrevious(p.below(2)); break;
    case 6: entry.setTimeScale(value); break;
    case 7: entry.setDelay(value); break;
    case 8: entry.setTrackEnd(value); break;
    case 9: entry.setAnimationStart(value); break;
    case 10: entry.setAnimationEnd(value); break;
    default: entry.setMixDuration(value); break;
  }
}

void checkSkeleton(skel::Skeleton& skeleton) {
  const skel::Vector<skel::Slot*>& slots = skeleton.getSlots();
  const skel::Vector<skel::Slot*>& drawOrder = skeleton.getDrawOrder();
  check(drawOrder.size() == slots.size());
  for (skel::Slot* slot : drawOrder) check(slots.contains(slot));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  Program p(bytes, size);
  Rig rig;
  for (size_t animations = 1 + p.below(4); animations > 0; --animations) {
    skel::Vector<skel::Timeline*> timelines;
    for (size_t n = p.below(9); n > 0; --n) timelines.add(makeTimeline(p, rig));
    const char* names[] = {"idle", "walk", "run", "jump"};
    rig.data.getAnimations().add(new skel::Animation(names[animations - 1], timelines, p.number()));
  }
  skel::Vector<skel::Animation*>& animations = rig.data.getAnimations();

  skel::Skeleton skeleton(&rig.data);
  skel::AnimationStateData stateData(&rig.data);
  stateData.setDefaultMix(p.number());
  skel::AnimationState state(&stateData);
  Restarter restarter(rig.data);
  state.setListener(&restarter);
  skel::Vector<skel::Event*> events;

  for (int op = 0; op < 400 && !p.done(); ++op) {
    switch (p.below(10)) {
      case 0:
      case 1: state.setAnimation(p.below(4), animations[p.below(animations.size())], p.below(2)); break;
      case 2: state.update(p.number()); break;
      case 3:
      case 4:
        state.apply(skeleton);
        checkSkeleton(skeleton);
        break;
      case 5:
        if (skel::TrackEntry* entry = state.getCurrent(p.below(4))) {
          tweakEntry(p, *entry);
          if (entry->getMixingFrom()) tweakEntry(p, *entry->getMixingFrom());
        }
        break;
      case 6:
        stateData.setMix(animations[p.below(animations.size())], animations[p.below(animations.size())], p.number());
        break;
      case 7: {
        skel::Animation* animation = animations[p.below(animations.size())];
        const float lastTime = p.number(), time = p.number(), alpha = p.number();
        animation->apply(skeleton, lastTime, time, p.below(2), &events, alpha, static_cast<skel::MixBlend>(p.below(4)),
                         static_cast<skel::MixDirection>(p.below(2)));
        events.clear();
        checkSkeleton(skeleton);
        break;
      }
      case 8: {
        skel::Slot* slot = skeleton.getSlots()[p.below(skeleton.getSlots().size())];
        slot->setAttachment(rig.anyAttachment(p));
        break;
      }
      default: skeleton.updateWorldTransform(); break;
    }
  }
  return 0;
}
