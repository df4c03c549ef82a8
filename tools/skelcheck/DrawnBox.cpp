#include "DrawnBox.h"

#include <algorithm>
#include <cmath>

#include "skel/Animation.h"
#include "skel/MeshAttachment.h"
#include "skel/MixBlend.h"
#include "skel/MixDirection.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"

namespace skelcheck {

bool AddPose(skel::Skeleton& skeleton, DrawnBox& box) {
  bool any = false;
  skel::Vector<float> vertices;
  for (skel::Slot* slot : skeleton.getDrawOrder()) {
    const skel::Attachment* attachment = slot ? slot->getAttachment() : nullptr;
    if (!attachment) continue;
    if (attachment->getRTTI().isExactly(skel::RegionAttachment::rtti)) {
      vertices.setSize(8, 0);
      static_cast<const skel::RegionAttachment*>(attachment)->computeWorldVertices(slot->getBone(), vertices, 0);
    } else if (attachment->getRTTI().isExactly(skel::MeshAttachment::rtti)) {
      auto* mesh = const_cast<skel::MeshAttachment*>(static_cast<const skel::MeshAttachment*>(attachment));
      vertices.setSize(mesh->getWorldVerticesLength(), 0);
      mesh->computeWorldVertices(*slot, vertices);
    } else {
      continue;
    }
    for (size_t i = 0; i + 1 < vertices.size(); i += 2) {
      if (!std::isfinite(vertices[i]) || !std::isfinite(vertices[i + 1])) continue;
      box.minX = std::min(box.minX, vertices[i]);
      box.maxX = std::max(box.maxX, vertices[i]);
      box.minY = std::min(box.minY, vertices[i + 1]);
      box.maxY = std::max(box.maxY, vertices[i + 1]);
      any = true;
    }
  }
  return any;
}

DrawnBox MeasureAnimations(skel::SkeletonData& data) {
  DrawnBox box;
  const float step = 1 / (data.getFps() >= 1 && data.getFps() <= 240 ? data.getFps() : 30.0f);
  // A large character with many skins and long animations is sampled more
  // sparsely rather than for minutes: a bound on poses times parts.
  double planned = 0;
  for (const skel::Animation* animation : data.getAnimations())
    planned += std::min(2000.0, static_cast<double>(animation->getDuration() / step) + 1);
  planned *= static_cast<double>(data.getSkins().size());
  const double budget = std::max(200.0, 3e7 / static_cast<double>(data.getBones().size() + data.getSlots().size() + 1));
  const float sparser = planned > budget ? static_cast<float>(planned / budget) : 1.0f;
  skel::Skeleton skeleton(&data);
  for (skel::Skin* skin : data.getSkins()) {
    skeleton.setSkin(skin);
    skeleton.setSlotsToSetupPose();
    skeleton.setBonesToSetupPose();
    skeleton.updateWorldTransform();
    AddPose(skeleton, box);
    for (skel::Animation* animation : data.getAnimations()) {
      const float duration = animation->getDuration();
      const float every = std::max(step, duration / 2000) * sparser;
      for (float time = 0;; time += every) {
        const float at = std::min(time, duration);
        skeleton.setBonesToSetupPose();
        skeleton.setSlotsToSetupPose();
        animation->apply(skeleton, at, at, false, nullptr, 1, skel::MixBlend::Setup, skel::MixDirection::In);
        skeleton.updateWorldTransform();
        AddPose(skeleton, box);
        if (at >= duration) break;
      }
    }
  }
  return box;
}

}  // namespace skelcheck
