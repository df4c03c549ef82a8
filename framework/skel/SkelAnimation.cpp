#include "framework/skel/SkelAnimation.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "framework/graphics/DrawState.h"
#include "framework/graphics/Graphic2D.h"
#include "skel/Animation.h"
#include "skel/AnimationState.h"
#include "skel/AnimationStateData.h"
#include "skel/AtlasPage.h"
#include "skel/AtlasRegion.h"
#include "skel/Bone.h"
#include "skel/MeshAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/TrackEntry.h"

using TarnFramework::Graphic2D;

namespace TarnSkel {

namespace {

using Vertex = Graphic2D::Vertex;

// Toward zero, as a cast does, but a value beyond the int range (bounds
// from a hostile file, a huge scale) is held at the nearest end and NaN gives
// 0 instead of being undefined.
int Truncate(double v) {
  if (!(v == v)) return 0;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(v);
}

// Channels outside 0..1 (a colour text the loader could not read) are
// clamped: converting them unclamped would be undefined.
uint8_t ColorByte(float channel) {
  if (!(channel > 0.0f)) return 0;
  if (channel >= 1.0f) return 255;
  return static_cast<uint8_t>(channel * 255.0f);
}

struct ColorBytes {
  uint8_t r, g, b, a;
};

ColorBytes ToBytes(const skel::Color& c) {
  // Most attachments are plain white: four compares instead of four clamps.
  if (c.r == 1.0f && c.g == 1.0f && c.b == 1.0f && c.a == 1.0f) return {255, 255, 255, 255};
  return {ColorByte(c.r), ColorByte(c.g), ColorByte(c.b), ColorByte(c.a)};
}

// The data's first animation of that name (byte for byte, as the runtime
// compares names), found without making a runtime string every frame.
skel::Animation* FindAnimation(skel::SkeletonData& data, const char* name) {
  const size_t length = std::strlen(name);
  const skel::Vector<skel::Animation*>& animations = data.getAnimations();
  for (size_t i = 0; i < animations.size(); ++i) {
    const skel::String& candidate = animations[i]->getName();
    if (candidate.buffer() && candidate.length() == length && std::memcmp(candidate.buffer(), name, length) == 0)
      return animations[i];
  }
  return nullptr;
}

// Rewinding the playing entry poses as selecting its animation again would
// only when selecting would make an entry just like it: no fade from the
// animation to itself, no fade of its own still running (selecting cuts it),
// nothing queued, and every setting as a new entry has it.
bool RewindIsSelectingAgain(const skel::TrackEntry& entry, skel::Animation& animation,
                            const skel::AnimationStateData& data) {
  if (entry.getAnimation() != &animation || entry.getNext() || data.getMix(&animation, &animation) != 0) return false;
  if (entry.getMixingFrom() && entry.getMixDuration() != 0) return false;
  return entry.getLoop() && !entry.getHoldPrevious() && entry.getEventThreshold() == 0 &&
         entry.getAttachmentThreshold() == 0 && entry.getDrawOrderThreshold() == 0 && entry.getAnimationStart() == 0 &&
         entry.getAnimationEnd() == animation.getDuration() && entry.getDelay() == 0 &&
         entry.getTrackEnd() == FLT_MAX && entry.getTimeScale() == 1 && entry.getAlpha() == 1 &&
         entry.getMixBlend() == skel::MixBlend::Replace;
}

// Attachment → atlas region → page → the page's sprite; null anywhere on the
// way means there is nothing to draw with.
Graphic2D* PageSprite(void* regionObject) {
  auto* region = static_cast<skel::AtlasRegion*>(regionObject);
  if (!region || !region->page) return nullptr;
  return static_cast<Graphic2D*>(region->page->getRendererObject());
}

void RegionVertices(skel::Slot& slot, skel::RegionAttachment& region, std::vector<Vertex>& vertices) {
  const skel::Vector<float>& uvs = region.getUVs();
  if (uvs.size() < 8) {
    vertices.clear();
    return;
  }
  const auto [r, g, b, a] = ToBytes(region.getColor());
  float world[8] = {};
  region.computeWorldVertices(slot.getBone(), world, 0, 2);
  static const int kCorners[6] = {0, 1, 2, 2, 3, 0};
  // Written in place: a list that held a region already has the size.
  if (vertices.size() != 6) vertices.resize(6);
  Vertex* out = vertices.data();
  for (int i = 0; i < 6; ++i) {
    const int k = kCorners[i];
    out[i] = {world[2 * k], world[2 * k + 1], uvs[2 * k], uvs[2 * k + 1], r, g, b, a};
  }
}

void MeshVertices(skel::Slot& slot, skel::MeshAttachment& mesh, std::vector<Vertex>& vertices) {
  const auto [r, g, b, a] = ToBytes(mesh.getColor());
  const size_t length = mesh.getWorldVerticesLength();
  // Scratch kept between calls, as meshes are posed every frame, and never
  // cleared: every pair read below is written first (an odd last value is
  // never read), and the result is copied out in one block. One per thread,
  // so that sprites may be posed on several.
  thread_local std::vector<float> world;
  thread_local std::vector<Vertex> built;
  if (world.size() < length) world.resize(length);
  if (length > 0) mesh.computeWorldVertices(slot, 0, length, world.data(), 0, 2);
  const skel::Vector<float>& uvs = mesh.getUVs();
  const skel::Vector<unsigned short>& triangles = mesh.getTriangles();
  const size_t limit = length < uvs.size() ? length : uvs.size();
  const float* xy = world.data();
  const float* uv = uvs.buffer();
  if (built.size() < triangles.size()) built.resize(triangles.size());
  Vertex* out = built.data();
  for (size_t i = 0; i < triangles.size(); ++i) {
    const size_t t = 2 * size_t{triangles[i]};
    // An index past the vertices or the texture coordinates is bad data: drop it.
    if (t + 1 >= limit) continue;
    *out++ = {xy[t], xy[t + 1], uv[t], uv[t + 1], r, g, b, a};
  }
  // Dropped indexes could leave a partial triangle.
  const size_t kept = static_cast<size_t>(out - built.data());
  vertices.assign(built.data(), built.data() + kept / 3 * 3);
}

}  // namespace

TarnFramework::BlendMode ToBlendMode(skel::BlendMode mode) {
  switch (mode) {
    case skel::BlendMode::Additive: return TarnFramework::BlendMode::Additive;
    case skel::BlendMode::Multiply: return TarnFramework::BlendMode::Multiply;
    case skel::BlendMode::Screen: return TarnFramework::BlendMode::Screen;
    default: return TarnFramework::BlendMode::Normal;
  }
}

Graphic2D* BuildSlotVertices(skel::Slot& slot, std::vector<Graphic2D::Vertex>& vertices) {
  skel::Attachment* attachment = slot.getAttachment();
  if (!attachment) {
    vertices.clear();
    return nullptr;
  }
  const skel::RTTI& type = attachment->getRTTI();
  if (type.isExactly(skel::RegionAttachment::rtti)) {
    auto* region = static_cast<skel::RegionAttachment*>(attachment);
    RegionVertices(slot, *region, vertices);
    return PageSprite(region->getRendererObject());
  }
  if (type.isExactly(skel::MeshAttachment::rtti)) {
    auto* mesh = static_cast<skel::MeshAttachment*>(attachment);
    MeshVertices(slot, *mesh, vertices);
    return PageSprite(mesh->getRendererObject());
  }
  vertices.clear();
  return nullptr;
}

SkelAnimation::SkelAnimation(skel::SkeletonData* skeletonData) {
  if (!skeletonData) return;
  stateData = new skel::AnimationStateData(skeletonData);
  stateData->setDefaultMix(0);
  skeleton = new skel::Skeleton(skeletonData);
  state = new skel::AnimationState(stateData);
  quietState = state->getListener();
  const skel::Vector<skel::Animation*>& animations = skeletonData->getAnimations();
  for (size_t i = 0; i < animations.size(); ++i) {
    const skel::String& name = animations[i]->getName();
    const size_t length = name.length();
    char* copy = new char[length + 1];
    if (length > 0) std::memcpy(copy, name.buffer(), length);
    copy[length] = '\0';
    animationNames.push_back(copy);
  }
  SetAnimation(currentAnimation);
  width = Truncate(skeletonData->getWidth());
  height = Truncate(skeletonData->getHeight());
  originX = Truncate(-static_cast<double>(skeletonData->getX()));
  originY = Truncate(-static_cast<double>(skeletonData->getY()));
}

SkelAnimation::~SkelAnimation() { Release(); }

void SkelAnimation::Release() {
  queued.clear();
  // The state goes before the mix data it was made over.
  delete state;
  state = nullptr;
  delete skeleton;
  skeleton = nullptr;
  delete stateData;
  stateData = nullptr;
  for (char* name : animationNames) delete[] name;
  animationNames.clear();
  selected = nullptr;
  selectedIndex = -1;
}

void SkelAnimation::SetAnimation(int index) {
  if (index < 0 || static_cast<size_t>(index) >= animationNames.size() || !state || !skeleton) return;
  skel::Animation* animation = FindAnimation(*skeleton->getData(), animationNames[index]);
  if (!animation) return;
  queued.clear();
  Start(animation, true, index);
}

void SkelAnimation::Start(skel::Animation* animation, bool loop, int index) {
  skel::TrackEntry* entry = state->setAnimation(0, animation, loop);
  // A new entry's listener is the runtime's do-nothing one: anything else
  // was set by someone listening.
  if (entry && !quietEntryKnown) {
    quietEntry = entry->getListener();
    quietEntryKnown = true;
  }
  // By name when not given: the first of the name, as the data is searched.
  for (size_t i = 0; index < 0 && i < animationNames.size(); ++i) {
    if (std::strcmp(animationNames[i], animation->getName().buffer()) == 0) index = static_cast<int>(i);
  }
  currentAnimation = index;
  selected = animation;
  selectedIndex = currentAnimation;
}

bool SkelAnimation::AddAnimation(const char* name, bool loop, float delay) {
  if (!name || !state || !skeleton) return false;
  skel::Animation* animation = FindAnimation(*skeleton->getData(), name);
  if (!animation) return false;
  skel::TrackEntry* playing = state->getCurrent(0);
  if (!playing) {
    Start(animation, loop, -1);
    return true;
  }
  queued.push_back({animation, loop, delay, 0});
  if (queued.size() == 1) queued.front().startAt = StartTime(*playing, queued.front());
  return true;
}

float SkelAnimation::StartTime(const skel::TrackEntry& before, const Queued& next) const {
  if (next.delay > 0) return next.delay;
  // At the end of the animation before it (the end of the loop it is in),
  // early by the cross-fade so that the fade ends as that animation does.
  const float length = before.getAnimationEnd() - before.getAnimationStart();
  float end = length;
  if (before.getLoop() && length > 0 && before.getTrackTime() > length)
    end = length * std::ceil(before.getTrackTime() / length);
  return end + next.delay - stateData->getMix(before.getAnimation(), next.animation);
}

void SkelAnimation::ClearTrack() {
  queued.clear();
  if (!state) return;
  // The runtime empties a track whose entry has reached its end with nothing
  // to mix from: the entry ends now, and any cross-fade under it at the next
  // Update; posed past its end with nothing under it, it gives the setup pose.
  if (skel::TrackEntry* playing = state->getCurrent(0)) {
    playing->setTrackEnd(0);
    playing->setMixDuration(0);
  }
}

void SkelAnimation::SetSkin(const char* name) {
  if (!skeleton) return;
  skeleton->setSkin(skeleton->getData()->findSkin(skel::String(name)));
}

bool SkelAnimation::FindBonePosition(const char* name, float& x, float& y) {
  if (!skeleton || !state) return false;
  state->apply(*skeleton);
  skeleton->updateWorldTransform();
  skel::Bone* bone = skeleton->findBone(skel::String(name));
  if (!bone) return false;
  x = bone->getWorldX();
  y = bone->getWorldY();
  return true;
}

void SkelAnimation::PoseFrame(int32_t frame, float x, float y, float scale) {
  if (!skeleton || !state) return;
  skeleton->setX(x);
  skeleton->setY(y);
  skeleton->setScaleX(scale);
  skeleton->setScaleY(scale);
  if (!animationNames.empty()) {
    // Found again only when the index was changed from outside: a search by
    // name every frame costs in proportion to the number of animations.
    if (selectedIndex != currentAnimation || !selected) {
      selected = FindAnimation(*skeleton->getData(), animationNames[currentAnimation]);
      selectedIndex = currentAnimation;
    }
    skel::Animation* current = selected;
    // A new entry would be mixed over the old one at zero length, posing the
    // same at twice the cost, so the playing one is rewound where it can be.
    skel::TrackEntry* playing = state->getCurrent(0);
    // A listener would see what rewinding skips (the start, interrupt, end
    // and dispose of selecting again), so listened states select again.
    if (current && playing && !Listened(*playing) && RewindIsSelectingAgain(*playing, *current, *stateData))
      playing->setTrackTime(0);
    else
      SetAnimation(currentAnimation);
    const int64_t frames = current ? static_cast<int64_t>(current->getDuration() * 60) : 0;
    // A negative counter would give a negative remainder: keep it in range.
    const int64_t at = frames > 0 ? ((int64_t{frame} % frames) + frames) % frames : 0;
    state->update(static_cast<float>(at * frameTime));
  }
  Pose(false, false);
}

bool SkelAnimation::Listened(const skel::TrackEntry& entry) const {
  if (state->getListenerObject() || state->getListener() != quietState) return true;
  return entry.getListenerObject() || !quietEntryKnown || entry.getListener() != quietEntry;
}

void SkelAnimation::Pose(bool flipH, bool flipV) {
  if (!skeleton || !state) return;
  float sx = skeleton->getScaleX();
  float sy = skeleton->getScaleY() * (skel::Bone::isYDown() ? -1.0f : 1.0f);
  if (flipH) sx = -sx;
  if (!flipV) sy = -sy;
  skeleton->setScaleX(sx);
  skeleton->setScaleY(sy);
  state->apply(*skeleton);
  skeleton->updateWorldTransform();
}

void SkelAnimation::DrawPosed() {
  if (!skeleton) return;
  // One list for every slot and frame of this sprite: the sprite it is drawn
  // with reads it and keeps nothing.
  std::vector<Vertex>& vertices = drawVertices;
  skel::Vector<skel::Slot*>& drawOrder = skeleton->getDrawOrder();
  for (size_t i = 0; i < drawOrder.size(); ++i) {
    skel::Slot* slot = drawOrder[i];
    if (!slot) continue;
    skel::Attachment* attachment = slot->getAttachment();
    if (!attachment) continue;
    TarnFramework::SetBlendMode(ToBlendMode(slot->getData().getBlendMode()));
    if (Graphic2D* sprite = BuildSlotVertices(*slot, vertices)) sprite->DrawTriangles(vertices);
    TarnFramework::SetBlendMode(TarnFramework::BlendMode::Normal);
  }
}

void SkelAnimation::DrawSkeleton(bool flipH, bool flipV) {
  if (!skeleton || !state) return;
  Pose(flipH, flipV);
  DrawPosed();
}

void SkelAnimation::Update(float seconds) {
  if (!state) return;
  // A queued animation starts at its moment inside this step: the state
  // runs up to it, the animation is set, and the rest of the step follows.
  while (!queued.empty()) {
    skel::TrackEntry* playing = state->getCurrent(0);
    float wait = 0;
    if (playing) {
      const float rate = playing->getTimeScale() * state->getTimeScale();
      if (rate <= 0) break;
      wait = std::max(0.0f, (queued.front().startAt - playing->getTrackTime()) / rate);
    }
    if (wait > seconds) break;
    state->update(wait);
    seconds -= wait;
    const Queued next = queued.front();
    queued.erase(queued.begin());
    Start(next.animation, next.loop, -1);
    if (!queued.empty()) queued.front().startAt = StartTime(*state->getCurrent(0), queued.front());
  }
  state->update(seconds);
}

void SkelAnimation::DrawAt(float x, float y, float scale, bool flipH, bool flipV) {
  if (!skeleton) return;
  skeleton->setX(x);
  skeleton->setY(y);
  skeleton->setScaleX(scale);
  skeleton->setScaleY(scale);
  DrawSkeleton(flipH, flipV);
}

void SkelAnimation::DrawPart(int32_t, int32_t, double, double, int32_t, int32_t, bool, bool,
                             const TarnFramework::Rect&) {}

void SkelAnimation::DrawTransformed(int32_t x, int32_t y, double scale, double, int32_t, int32_t, bool flipH,
                                    bool flipV) {
  if (!skeleton) return;
  const double ox = flipH ? GetWidth() * scale - originX * scale : originX * scale;
  const double oy = flipV ? GetHeight() * scale - originY * scale : originY * scale;
  skeleton->setX(static_cast<float>(Truncate(x + ox)));
  skeleton->setY(static_cast<float>(Truncate(y + oy)));
  skeleton->setScaleX(static_cast<float>(scale));
  skeleton->setScaleY(static_cast<float>(scale));
  DrawSkeleton(flipH, flipV);
}

void SkelAnimation::DrawScaled(int32_t x, int32_t y, double scaleX, double scaleY) {
  if (!skeleton) return;
  skeleton->setX(static_cast<float>(originX * scaleX + x));
  skeleton->setY(static_cast<float>(originY * scaleY + y));
  skeleton->setScaleX(static_cast<float>(scaleX));
  skeleton->setScaleY(static_cast<float>(scaleY));
  DrawSkeleton(false, false);
}

void SkelAnimation::DrawScaledUniform(int32_t x, int32_t y, double scale) {
  DrawTransformed(x, y, scale, 0, 0, 0, false, false);
}

void SkelAnimation::Draw(int32_t x, int32_t y) { DrawTransformed(x, y, 1.0, 0, 0, 0, false, false); }

}  // namespace TarnSkel
