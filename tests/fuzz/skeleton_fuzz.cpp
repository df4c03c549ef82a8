// Any bytes given to the skeleton loader against one small fixed atlas. A read
// either fails with an error text or gives data that hangs together well
// enough to be posed, animated and turned into world vertices without
// leaving any array.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/SkeletonJson.h"
#include "skel/Skin.h"
#include "skel/Slot.h"

namespace {

// Regions named in the seeds: a plain one, one stored turned, one with stripped whitespace.
const char atlasText[] =
    "fuzz.png\nsize: 128, 128\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n"
    "body\n  rotate: true\n  xy: 32, 0\n  size: 64, 32\n  orig: 64, 32\n  offset: 0, 0\n  index: -1\n"
    "skin\n  rotate: false\n  xy: 0, 64\n  size: 60, 60\n  orig: 64, 64\n  offset: 2, 2\n  index: -1\n";

void check(bool condition) {
  if (!condition) std::abort();
}

// What the loader promises about every vertex attachment it lets through.
void checkVertices(const skel::VertexAttachment& attachment, size_t boneCount) {
  const size_t length = attachment.getWorldVerticesLength();
  const auto& bones = attachment.getBones();
  const auto& vertices = attachment.getVertices();
  if (bones.isEmpty()) {
    check(vertices.size() == length);
    return;
  }
  size_t b = 0, v = 0, count = 0;
  while (b < bones.size()) {
    size_t n = static_cast<size_t>(bones[b++]);
    check(n <= bones.size() - b);
    for (size_t end = b + n; b < end; ++b, v += 3) check(bones[b] < boneCount);
    ++count;
  }
  check(v == vertices.size() && count * 2 == length);
}

void checkAttachment(skel::Attachment* attachment, size_t boneCount) {
  if (attachment->getRTTI().instanceOf(skel::VertexAttachment::rtti))
    checkVertices(*static_cast<skel::VertexAttachment*>(attachment), boneCount);
  if (attachment->getRTTI().instanceOf(skel::MeshAttachment::rtti)) {
    auto* mesh = static_cast<skel::MeshAttachment*>(attachment);
    check(mesh->getUVs().size() == mesh->getWorldVerticesLength());
    check(mesh->getTriangles().size() % 3 == 0);
    for (unsigned short index : mesh->getTriangles()) check(index * 2u + 1 < mesh->getUVs().size());
  }
  if (attachment->getRTTI().instanceOf(skel::PathAttachment::rtti)) {
    auto* path = static_cast<skel::PathAttachment*>(attachment);
    check(path->getLengths().size() == path->getWorldVerticesLength() / 6);
  }
}

void checkDrawOrders(const skel::Animation& animation, size_t slotCount) {
  for (skel::Timeline* timeline : animation.getTimelines()) {
    if (!timeline->getRTTI().isExactly(skel::DrawOrderTimeline::rtti)) continue;
    for (const auto& order : static_cast<skel::DrawOrderTimeline*>(timeline)->getDrawOrders()) {
      if (order.isEmpty()) continue;
      check(order.size() == slotCount);
      std::vector<bool> seen(slotCount);
      for (int index : order) {
        check(index >= 0 && static_cast<size_t>(index) < slotCount && !seen[index]);
        seen[index] = true;
      }
    }
  }
}

// World vertices into a fresh buffer of exactly the size the renderer would
// use, so that the sanitizer sees any write past it.
void drawSlots(skel::Skeleton& skeleton) {
  for (skel::Slot* slot : skeleton.getDrawOrder()) {
    skel::Attachment* attachment = slot->getAttachment();
    if (!attachment) continue;
    if (attachment->getRTTI().instanceOf(skel::RegionAttachment::rtti)) {
      std::unique_ptr<float[]> world(new float[8]);
      static_cast<skel::RegionAttachment*>(attachment)->computeWorldVertices(slot->getBone(), world.get(), 0);
    } else if (attachment->getRTTI().instanceOf(skel::VertexAttachment::rtti)) {
      auto* vertices = static_cast<skel::VertexAttachment*>(attachment);
      const size_t length = vertices->getWorldVerticesLength();
      std::unique_ptr<float[]> world(new float[length + 1]);  // + 1: never a zero-size block
      vertices->computeWorldVertices(*slot, 0, length, world.get(), 0);
    }
  }
}

void pose(skel::SkeletonData& data) {
  skel::Skeleton skeleton(&data);
  skel::Vector<skel::Event*> events;
  for (skel::Skin* skin : data.getSkins()) {
    skeleton.setSkin(skin);
    skeleton.setBonesToSetupPose();
    skeleton.setSlotsToSetupPose();
    skeleton.updateWorldTransform();
    drawSlots(skeleton);
    for (skel::Animation* animation : data.getAnimations()) {
      const float d = animation->getDuration();
      animation->apply(skeleton, -1, d / 2, false, &events, 1, skel::MixBlend::Setup, skel::MixDirection::In);
      animation->apply(skeleton, d / 2, d + 1, true, &events, 0.5f, skel::MixBlend::First, skel::MixDirection::Out);
      animation->apply(skeleton, 0, d, false, &events, 0.5f, skel::MixBlend::Add, skel::MixDirection::In);
      skeleton.updateWorldTransform();
      drawSlots(skeleton);
      events.clear();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static skel::Atlas atlas(atlasText, sizeof(atlasText) - 1, skel::String(""), nullptr);
  std::string text(reinterpret_cast<const char*>(bytes), size);
  skel::SkeletonJson reader(&atlas);
  skel::SkeletonData* data = reader.readSkeletonData(text.c_str());
  if (!data) {
    check(!reader.getError().isEmpty());
    return 0;
  }
  check(reader.getError().isEmpty());
  const size_t boneCount = data->getBones().size();
  for (skel::Skin* skin : data->getSkins())
    for (const auto& bucket : skin->getAttachments().getBuckets())
      for (const auto& entry : bucket) checkAttachment(entry._attachment, boneCount);
  for (skel::Animation* animation : data->getAnimations()) checkDrawOrders(*animation, data->getSlots().size());
  pose(*data);
  delete data;
  return 0;
}
