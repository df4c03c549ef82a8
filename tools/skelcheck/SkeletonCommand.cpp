// skelcheck skeleton [--strict] [--format text|json] ATLAS JSON: loads a
// character the way the game does (the atlas without textures, attachments
// made over it, scale 1), lists what it holds, and warns about what the game
// silently accepts.
#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "AtlasCheck.h"
#include "Character.h"
#include "Commands.h"
#include "JsonTree.h"
#include "Output.h"
#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/BoneData.h"
#include "skel/DeformTimeline.h"
#include "skel/EventData.h"
#include "skel/IkConstraintData.h"
#include "skel/Json.h"
#include "skel/MeshAttachment.h"
#include "skel/MixBlend.h"
#include "skel/MixDirection.h"
#include "skel/PathConstraintData.h"
#include "skel/RegionAttachment.h"
#include "skel/Skeleton.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"
#include "skel/Timeline.h"
#include "skel/TransformConstraintData.h"
#include "skel/VertexAttachment.h"
#include "tarn/Report.h"

namespace skelcheck {

namespace {

const char* Text(const skel::String& text) { return text.buffer() ? text.buffer() : ""; }

const char* BlendName(skel::BlendMode mode) {
  switch (mode) {
    case skel::BlendMode::Additive: return "additive";
    case skel::BlendMode::Multiply: return "multiply";
    case skel::BlendMode::Screen: return "screen";
    default: return "normal";
  }
}

// What one animation keys, by index, in the skeleton's order.
struct Keys {
  std::set<int> bones, slots, slotColours;
};

Keys KeysOf(const skel::Animation& animation) {
  Keys keys;
  for (const skel::Timeline* timeline : animation.getTimelines()) {
    const int id = timeline->getPropertyId();
    const auto type = static_cast<skel::TimelineType>(id >> 24);
    const int index = id & 0xFFFFFF;
    switch (type) {
      case skel::TimelineType::Rotate:
      case skel::TimelineType::Translate:
      case skel::TimelineType::Scale:
      case skel::TimelineType::Shear: keys.bones.insert(index); break;
      case skel::TimelineType::Color:
      case skel::TimelineType::TwoColor:
        keys.slotColours.insert(index);
        keys.slots.insert(index);
        break;
      case skel::TimelineType::Attachment: keys.slots.insert(index); break;
      case skel::TimelineType::Deform:
        keys.slots.insert(static_cast<const skel::DeformTimeline*>(timeline)->getSlotIndex());
        break;
      default: break;
    }
  }
  return keys;
}

size_t AttachmentCount(const skel::Skin& skin) {
  size_t count = 0;
  for (const auto& bucket : skin.getAttachments().getBuckets()) count += bucket.size();
  return count;
}

template <typename Data>
std::vector<std::string> NamesOf(const skel::Vector<Data*>& items) {
  std::vector<std::string> names;
  for (const Data* item : items) names.push_back(Text(item->getName()));
  return names;
}

std::vector<std::string> KeyedNames(const std::set<int>& indexes, const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (int i : indexes)
    if (i >= 0 && static_cast<size_t>(i) < names.size()) out.push_back(names[static_cast<size_t>(i)]);
  return out;
}

std::string Join(const std::vector<std::string>& names) {
  if (names.empty()) return "-";
  std::string out;
  for (size_t i = 0; i < names.size(); ++i) out += (i ? "," : "") + names[i];
  return out;
}

std::string JsonList(const std::vector<std::string>& names) {
  std::string out = "[";
  for (size_t i = 0; i < names.size(); ++i) out += (i ? ", " : "") + Quoted(names[i].c_str());
  return out + "]";
}

// Bones depth first, children in file order; a loop, as a chain of bones may be long.
std::vector<std::pair<const skel::BoneData*, size_t>> BoneTree(const skel::SkeletonData& data) {
  const skel::Vector<skel::BoneData*>& bones = data.getBones();
  std::map<const skel::BoneData*, std::vector<const skel::BoneData*>> children;
  for (const skel::BoneData* bone : bones) children[bone->getParent()].push_back(bone);
  std::vector<std::pair<const skel::BoneData*, size_t>> out, stack;
  auto pushChildren = [&](const skel::BoneData* parent, size_t depth) {
    const std::vector<const skel::BoneData*>& list = children[parent];
    for (size_t i = list.size(); i-- > 0;) stack.push_back({list[i], depth});
  };
  pushChildren(nullptr, 0);
  while (!stack.empty()) {
    auto [bone, depth] = stack.back();
    stack.pop_back();
    out.push_back({bone, depth});
    pushChildren(bone, depth + 1);
  }
  return out;
}

void PrintText(const skel::SkeletonData& data) {
  const size_t constraints =
      data.getIkConstraints().size() + data.getTransformConstraints().size() + data.getPathConstraints().size();
  std::printf("skeleton bones=%zu slots=%zu skins=%zu constraints=%zu events=%zu animations=%zu\n",
              data.getBones().size(), data.getSlots().size(), data.getSkins().size(), constraints,
              data.getEvents().size(), data.getAnimations().size());
  std::printf("bones:\n");
  // Past a depth no one reads the indent; a long chain would otherwise print
  // an amount of spaces that grows with the square of its length.
  const size_t deepest = 32;
  for (const auto& [bone, depth] : BoneTree(data)) {
    if (depth <= deepest)
      std::printf("  %*s%s\n", static_cast<int>(depth * 2), "", Text(bone->getName()));
    else
      std::printf("  %*s(%zu) %s\n", static_cast<int>(deepest * 2), "", depth, Text(bone->getName()));
  }
  std::printf("slots:\n");
  for (const skel::SlotData* slot : data.getSlots())
    std::printf("  %s  bone %s  blend %s  attachment %s\n", Text(slot->getName()), Text(slot->getBoneData().getName()),
                BlendName(slot->getBlendMode()),
                slot->getAttachmentName().length() ? Text(slot->getAttachmentName()) : "-");
  std::printf("skins:\n");
  for (const skel::Skin* skin : data.getSkins())
    std::printf("  %s  attachments %zu\n", Text(skin->getName()), AttachmentCount(*skin));
  std::printf("constraints:\n");
  for (const auto* c : data.getIkConstraints()) std::printf("  ik %s\n", Text(c->getName()));
  for (const auto* c : data.getTransformConstraints()) std::printf("  transform %s\n", Text(c->getName()));
  for (const auto* c : data.getPathConstraints()) std::printf("  path %s\n", Text(c->getName()));
  std::printf("events:\n");
  for (const skel::EventData* event : data.getEvents()) std::printf("  %s\n", Text(event->getName()));
  std::printf("animations:\n");
  const std::vector<std::string> bones = NamesOf(data.getBones()), slots = NamesOf(data.getSlots());
  for (const skel::Animation* animation : data.getAnimations()) {
    const Keys keys = KeysOf(*animation);
    std::printf("  %s  duration %s  bones %s  slots %s\n", Text(animation->getName()),
                Number(animation->getDuration()).c_str(), Join(KeyedNames(keys.bones, bones)).c_str(),
                Join(KeyedNames(keys.slots, slots)).c_str());
  }
}

// Problems first, so that a reader finds them where the listing is missing.
void PrintJson(const skel::SkeletonData* loaded, const Report& report) {
  std::string out = "{\n  \"problems\": " + report.json("  ");
  if (!loaded) {
    out += "\n}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return;
  }
  const skel::SkeletonData& data = *loaded;
  out += ",\n  \"bones\": [";
  const char* comma = "";
  for (const skel::BoneData* bone : data.getBones()) {
    out += comma + std::string("\n    {\"name\": ") + Quoted(Text(bone->getName())) +
           ", \"parent\": " + (bone->getParent() ? Quoted(Text(bone->getParent()->getName())) : "null") + "}";
    comma = ",";
  }
  out += "\n  ],\n  \"slots\": [";
  comma = "";
  for (const skel::SlotData* slot : data.getSlots()) {
    out += comma + std::string("\n    {\"name\": ") + Quoted(Text(slot->getName())) +
           ", \"bone\": " + Quoted(Text(slot->getBoneData().getName())) + ", \"blend\": \"" +
           BlendName(slot->getBlendMode()) + "\", \"attachment\": " +
           (slot->getAttachmentName().length() ? Quoted(Text(slot->getAttachmentName())) : "null") + "}";
    comma = ",";
  }
  out += "\n  ],\n  \"skins\": [";
  comma = "";
  for (const skel::Skin* skin : data.getSkins()) {
    out += comma + std::string("\n    {\"name\": ") + Quoted(Text(skin->getName())) +
           ", \"attachments\": " + std::to_string(AttachmentCount(*skin)) + "}";
    comma = ",";
  }
  out += "\n  ],\n  \"constraints\": {\"ik\": " + JsonList(NamesOf(data.getIkConstraints())) +
         ", \"transform\": " + JsonList(NamesOf(data.getTransformConstraints())) +
         ", \"path\": " + JsonList(NamesOf(data.getPathConstraints())) + "},\n";
  out += "  \"events\": " + JsonList(NamesOf(data.getEvents())) + ",\n  \"animations\": [";
  comma = "";
  const std::vector<std::string> bones = NamesOf(data.getBones()), slots = NamesOf(data.getSlots());
  for (const skel::Animation* animation : data.getAnimations()) {
    const Keys keys = KeysOf(*animation);
    out += comma + std::string("\n    {\"name\": ") + Quoted(Text(animation->getName())) +
           ", \"duration\": " + Number(animation->getDuration()) +
           ", \"bones\": " + JsonList(KeyedNames(keys.bones, bones)) +
           ", \"slots\": " + JsonList(KeyedNames(keys.slots, slots)) + "}";
    comma = ",";
  }
  out += "\n  ]\n}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
}

std::string AttachmentName(const skel::Skin& skin, const skel::SlotData& slot, const skel::String& key) {
  return "skin " + Quoted(Text(skin.getName())) + ", slot " + Quoted(Text(slot.getName())) + ", attachment " +
         Quoted(Text(key));
}

std::string Size(float width, float height) { return Number(width) + "x" + Number(height); }

// Images may be packed at any resolution (a soft glow needs fewer pixels than
// a face), so only a region whose shape differs from its attachment's is
// wrong: the game stretches it unevenly. A pixel of rounding is allowed.
bool Stretched(float width, float height, const skel::AtlasRegion& region) {
  const float w = static_cast<float>(region.untrimmedWidth), h = static_cast<float>(region.untrimmedHeight);
  if (w <= 0 || h <= 0) return width != 0 || height != 0;
  if (width <= 0 || height <= 0) return true;
  const float ratio = (width / w) / (height / h);
  return std::abs(ratio - 1) > 0.5f / w + 0.5f / h + 0.01f;
}

// Regions used by no attachment, and attachments that distort their region.
void CheckAttachments(const Character& c, const std::vector<size_t>& regionLines, Report& report) {
  std::set<const skel::AtlasRegion*> used;
  const skel::Vector<skel::SlotData*>& slots = c.data->getSlots();
  for (const skel::Skin* skin : c.data->getSkins()) {
    for (const auto& bucket : skin->getAttachments().getBuckets()) {
      for (const auto& entry : bucket) {
        const skel::Attachment* attachment = entry._attachment;
        if (!attachment || entry._slotIndex >= slots.size()) continue;
        const skel::AtlasRegion* region = nullptr;
        float width = 0, height = 0;
        if (attachment->getRTTI().isExactly(skel::RegionAttachment::rtti)) {
          auto* a = static_cast<const skel::RegionAttachment*>(attachment);
          region = static_cast<const skel::AtlasRegion*>(a->getRendererObject());
          width = a->getWidth();
          height = a->getHeight();
        } else if (attachment->getRTTI().isExactly(skel::MeshAttachment::rtti)) {
          auto* a = static_cast<const skel::MeshAttachment*>(attachment);
          region = static_cast<const skel::AtlasRegion*>(a->getRendererObject());
          width = a->getWidth();
          height = a->getHeight();
        }
        if (!region) continue;
        used.insert(region);
        if (Stretched(width, height, *region))
          report.warning(
              "stretched-region", Place{c.jsonPath},
              AttachmentName(*skin, *slots[entry._slotIndex], entry._name) + " is " + Size(width, height) +
                  " but its region " + Quoted(Text(region->name)) + " is " +
                  Size(static_cast<float>(region->untrimmedWidth), static_cast<float>(region->untrimmedHeight)) +
                  ": the image is stretched out of shape");
      }
    }
  }
  const skel::Vector<skel::AtlasRegion*>& regions = c.atlas->getRegions();
  for (size_t r = 0; r < regions.size(); ++r)
    if (!used.count(regions[r]))
      report.warning("unused-region", r < regionLines.size() ? At(c.atlasPath, regionLines[r]) : Place{c.atlasPath},
                     "region " + Quoted(Text(regions[r]->name)) + " is used by no attachment");
}

void CheckColourKeys(const Character& c, Report& report) {
  const std::vector<std::string> slots = NamesOf(c.data->getSlots());
  for (const skel::Animation* animation : c.data->getAnimations())
    for (const std::string& slot : KeyedNames(KeysOf(*animation).slotColours, slots))
      report.warning("slot-colour-keyed", Place{c.jsonPath},
                     "animation " + Quoted(Text(animation->getName())) + " keys the colour of slot " +
                         Quoted(slot.c_str()) +
                         ", which the game does not show: it draws with the attachment's "
                         "colour only");
}

// The names the game itself looks up in its character.
void CheckGameNames(const Character& c, Report& report) {
  if (!c.data->findBone(skel::String("Face")))
    report.warning("game-no-face", Place{c.jsonPath},
                   "no bone named \"Face\": the game frames the portrait around it and shows none without it");
  if (!c.data->findSkin(skel::String("0_1")))
    report.warning("game-no-skin", Place{c.jsonPath},
                   "no skin named \"0_1\": the game shows this skin and falls back to the default skin");
}

// Grows the box by every region and mesh the skeleton shows in its pose.
void AddPose(skel::Skeleton& skeleton, float& minX, float& minY, float& maxX, float& maxY) {
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
      minX = std::min(minX, vertices[i]);
      maxX = std::max(maxX, vertices[i]);
      minY = std::min(minY, vertices[i + 1]);
      maxY = std::max(maxY, vertices[i + 1]);
    }
  }
}

// The header's box is what a viewer fits; measured here over every skin and
// every animation at the header's frame rate, it must hold what is drawn.
void CheckHeaderBox(const Character& c, Report& report) {
  skel::SkeletonData& data = *c.data;
  if (!(data.getWidth() > 0 && data.getHeight() > 0)) return;
  float minX = FLT_MAX, minY = FLT_MAX, maxX = -FLT_MAX, maxY = -FLT_MAX;
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
    AddPose(skeleton, minX, minY, maxX, maxY);
    for (skel::Animation* animation : data.getAnimations()) {
      const float duration = animation->getDuration();
      const float every = std::max(step, duration / 2000) * sparser;
      for (float time = 0;; time += every) {
        const float at = std::min(time, duration);
        skeleton.setBonesToSetupPose();
        skeleton.setSlotsToSetupPose();
        animation->apply(skeleton, at, at, false, nullptr, 1, skel::MixBlend::Setup, skel::MixDirection::In);
        skeleton.updateWorldTransform();
        AddPose(skeleton, minX, minY, maxX, maxY);
        if (at >= duration) break;
      }
    }
  }
  if (minX > maxX) return;
  const float x = data.getX(), y = data.getY(), right = x + data.getWidth(), top = y + data.getHeight();
  // A pixel of rounding is allowed on every side.
  if (minX >= x - 1 && minY >= y - 1 && maxX <= right + 1 && maxY <= top + 1) return;
  const float left = std::floor(std::min(minX, x)), bottom = std::floor(std::min(minY, y));
  const float wide = std::ceil(std::max(maxX, right)) - left, high = std::ceil(std::max(maxY, top)) - bottom;
  JsonNode root;
  const JsonNode* header = ParseJsonTree(c.jsonText, root) ? root.find("skeleton") : nullptr;
  report.warning("header-box", header ? AtOffset(c.jsonPath, c.jsonText, header->at) : Place{c.jsonPath},
                 "the header's box (x " + Number(x) + ", y " + Number(y) + ", width " + Number(data.getWidth()) +
                     ", height " + Number(data.getHeight()) + ") does not hold what is drawn, which reaches x " +
                     Number(minX) + " to " + Number(maxX) + ", y " + Number(minY) + " to " + Number(maxY) +
                     ": a viewer fitting it cuts the character off; make it x " + Number(left) + ", y " +
                     Number(bottom) + ", width " + Number(wide) + ", height " + Number(high));
}

}  // namespace

void CheckLoadedCharacter(const Character& character, Report& report) {
  CheckGameNames(character, report);
  CheckHeaderBox(character, report);
  CheckAttachments(character, character.atlasLines.regions, report);
  CheckColourKeys(character, report);
}

int SkeletonCommand(int argc, char** argv) {
  bool strict = false, json = false;
  const char* paths[2] = {nullptr, nullptr};
  int count = 0;
  Report report;
  for (int i = 0; i < argc; ++i) {
    if (const int taken = TakeAllowOption(argc, argv, i, report)) {
      if (taken < 0) return UsageError("skeleton");
    } else if (std::strcmp(argv[i], "--strict") == 0) {
      strict = true;
    } else if (std::strcmp(argv[i], "--format") == 0 && i + 1 < argc &&
               (!std::strcmp(argv[i + 1], "json") || !std::strcmp(argv[i + 1], "text"))) {
      json = std::strcmp(argv[++i], "json") == 0;
    } else if (argv[i][0] != '-' && count < 2) {
      paths[count++] = argv[i];
    } else {
      return UsageError("skeleton");
    }
  }
  if (count != 2) return UsageError("skeleton");

  // For a machine, every problem goes into the JSON on standard output;
  // only a run that could not start is told on standard error.
  report.setPrint(!json);
  Character character;
  const int loaded = LoadCharacter(paths[0], paths[1], true, report, character);
  if (loaded == kUsage) {
    if (json) std::fprintf(stderr, "%s: %s\n", tarn::ProgramName(), report.firstProblem().c_str());
    return loaded;
  }
  if (loaded == kClean) CheckLoadedCharacter(character, report);
  if (json)
    PrintJson(character.data, report);
  else if (character.data && loaded == kClean)
    PrintText(*character.data);
  return loaded == kClean ? report.exitCode(strict) : loaded;
}

}  // namespace skelcheck
