#include "Locate.h"

#include <algorithm>
#include <cstring>

#include "Output.h"
#include "skel/Atlas.h"
#include "skel/Json.h"

namespace skelcheck {

namespace {

using skel::Json;

std::string Q(const char* text) { return Quoted(text); }
std::string Q(const std::string& text) { return Quoted(text.c_str()); }

const char* Text(const char* text) { return text ? text : ""; }

bool Same(const char* a, const std::string& b) { return a && b == a; }

// The children of an array or object, which may be null.
std::vector<Json*> Items(Json* node) {
  std::vector<Json*> items;
  for (Json* child = node ? node->getChild() : nullptr; child; child = child->getNext()) items.push_back(child);
  return items;
}

std::vector<std::string> Names(Json* root, const char* section) {
  std::vector<std::string> names;
  for (Json* item : Items(Json::getItem(root, section)))
    names.push_back(item->getName() ? item->getName() : Text(Json::getString(item, "name", "")));
  return names;
}

// "section[i] "name"": an entry of a top-level array.
std::string Entry(const char* section, size_t index, Json* item) {
  return std::string(section) + "[" + std::to_string(index) + "] " + Q(Text(Json::getString(item, "name", "")));
}

// A name's characters: UTF-8 decoded, a stray byte counting as one.
std::u32string Characters(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    size_t k = 1;
    for (; k < length && i + k < text.size() && (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80; ++k)
      c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out += k == length ? c : lead;
    i += k == length ? length : 1;
  }
  return out;
}

size_t Distance(const std::u32string& a, const std::u32string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = up;
    }
  }
  return row[b.size()];
}

// Searches the named lists of one constraint section for name.
std::string InConstraints(Json* root, const char* section, const char* key, const std::string& name,
                          const std::string& what, const std::vector<std::string>& candidates) {
  std::vector<Json*> items = Items(Json::getItem(root, section));
  for (size_t i = 0; i < items.size(); ++i) {
    Json* value = Json::getItem(items[i], key);
    bool named = Same(value ? value->getValueString() : nullptr, name);
    for (Json* listed : Items(value)) named = named || Same(listed->getValueString(), name);
    if (named)
      return Entry(section, i, items[i]) + ", \"" + key + "\": no " + what + " named " + Q(name) +
             DidYouMean(name, candidates);
  }
  return "";
}

// Every attachment entry of every skin, in the loader's order.
struct AttachmentEntry {
  std::string skin, slot, key;
  Json* node;
};

std::vector<AttachmentEntry> Attachments(Json* root) {
  std::vector<AttachmentEntry> all;
  for (Json* skin : Items(Json::getItem(root, "skins")))
    for (Json* slot : Items(Json::getItem(skin, "attachments")))
      for (Json* attachment : Items(slot))
        all.push_back(
            {Text(Json::getString(skin, "name", "")), Text(slot->getName()), Text(attachment->getName()), attachment});
  return all;
}

std::string Place(const AttachmentEntry& entry) {
  return "skin " + Q(entry.skin) + ", slot " + Q(entry.slot) + ", attachment " + Q(entry.key);
}

std::string RegionPath(const AttachmentEntry& entry) {
  const char* name = Json::getString(entry.node, "name", entry.key.c_str());
  return Text(Json::getString(entry.node, "path", name));
}

std::string UnreadableAttachment(Json* root, const std::string& key, const skel::Atlas& atlas) {
  std::vector<std::string> regions;
  for (const skel::AtlasRegion* region : atlas.getRegions()) regions.push_back(Text(region->name.buffer()));
  for (const AttachmentEntry& entry : Attachments(root)) {
    if (entry.key != key) continue;
    const std::string path = RegionPath(entry);
    if (atlas.findRegion(skel::String(path.c_str()))) continue;
    return Place(entry) + ": region " + Q(path) + " is not in the atlas" + DidYouMean(path, regions);
  }
  return "";
}

// An animation's timelines of one section keyed by target name.
struct Keyed {
  std::string animation;
  Json* section;
};

std::vector<Keyed> AnimationSections(Json* root, const char* section) {
  std::vector<Keyed> all;
  for (Json* animation : Items(Json::getItem(root, "animations"))) {
    if (Json* found = Json::getItem(animation, section)) all.push_back({Text(animation->getName()), found});
  }
  return all;
}

std::string InAnimations(Json* root, const char* section, const std::string& name, const std::string& what,
                         const std::vector<std::string>& candidates) {
  for (const Keyed& keyed : AnimationSections(root, section))
    for (Json* target : Items(keyed.section))
      if (Same(target->getName(), name))
        return "animation " + Q(keyed.animation) + ", \"" + section + "\": no " + what + " named " + Q(name) +
               DidYouMean(name, candidates);
  return "";
}

std::string BadTimeline(Json* root, const char* section, const std::string& type) {
  for (const Keyed& keyed : AnimationSections(root, section))
    for (Json* target : Items(keyed.section))
      for (Json* timeline : Items(target))
        if (Same(timeline->getName(), type))
          return "animation " + Q(keyed.animation) + ", \"" + section + "\", " + Q(Text(target->getName())) + ": " +
                 Q(type) + " is not a timeline of " + (section[0] == 'b' ? "a bone" : "a slot");
  return "";
}

std::string MissingSlot(Json* root, const std::string& name) {
  const std::vector<std::string> slots = Names(root, "slots");
  const std::string hint = DidYouMean(name, slots);
  for (Json* skin : Items(Json::getItem(root, "skins")))
    for (Json* slot : Items(Json::getItem(skin, "attachments")))
      if (Same(slot->getName(), name))
        return "skin " + Q(Text(Json::getString(skin, "name", ""))) + ", \"attachments\": no slot named " + Q(name) +
               hint;
  std::string found = InAnimations(root, "slots", name, "slot", slots);
  if (!found.empty()) return found;
  for (const char* section : {"drawOrder", "draworder"})
    for (const Keyed& keyed : AnimationSections(root, section))
      for (Json* frame : Items(keyed.section))
        for (Json* offset : Items(Json::getItem(frame, "offsets")))
          if (Same(Json::getString(offset, "slot", nullptr), name))
            return "animation " + Q(keyed.animation) + ", \"" + section + "\": no slot named " + Q(name) + hint;
  return "";
}

std::string MissingEvent(Json* root, const std::string& name) {
  for (const Keyed& keyed : AnimationSections(root, "events"))
    for (Json* frame : Items(keyed.section))
      if (Same(Json::getString(frame, "name", nullptr), name))
        return "animation " + Q(keyed.animation) + ", \"events\": no event named " + Q(name) +
               DidYouMean(name, Names(root, "events"));
  return "";
}

std::string MissingDeformAttachment(Json* root, const std::string& name) {
  for (const Keyed& keyed : AnimationSections(root, "deform"))
    for (Json* skin : Items(keyed.section))
      for (Json* slot : Items(skin))
        for (Json* attachment : Items(slot))
          if (Same(attachment->getName(), name))
            return "animation " + Q(keyed.animation) + ", \"deform\", skin " + Q(Text(skin->getName())) + ", slot " +
                   Q(Text(slot->getName())) + ": the skin has no attachment " + Q(name) + " under that slot";
  return "";
}

std::string MissingParentBone(Json* root, const std::string& name) {
  std::vector<Json*> bones = Items(Json::getItem(root, "bones"));
  for (size_t i = 0; i < bones.size(); ++i) {
    if (!Same(Json::getString(bones[i], "parent", nullptr), name)) continue;
    for (size_t later = i; later < bones.size(); ++later)
      if (Same(Json::getString(bones[later], "name", nullptr), name))
        return Entry("bones", i, bones[i]) + ": its parent " + Q(name) +
               " comes later in \"bones\"; a parent must come before its children";
    return Entry("bones", i, bones[i]) + ": no bone named " + Q(name) + DidYouMean(name, Names(root, "bones"));
  }
  return "";
}

std::string MissingSlotBone(Json* root, const std::string& name) {
  std::vector<Json*> slots = Items(Json::getItem(root, "slots"));
  for (size_t i = 0; i < slots.size(); ++i)
    if (Same(Json::getString(slots[i], "bone", nullptr), name))
      return Entry("slots", i, slots[i]) + ": no bone named " + Q(name) + DidYouMean(name, Names(root, "bones"));
  return "";
}

std::string SkinList(Json* root, const char* key, const std::string& name, const char* what, const char* section) {
  std::vector<Json*> skins = Items(Json::getItem(root, "skins"));
  for (size_t i = 0; i < skins.size(); ++i)
    for (Json* listed : Items(Json::getItem(skins[i], key)))
      if (Same(listed->getValueString(), name))
        return Entry("skins", i, skins[i]) + ", \"" + key + "\": no " + what + " named " + Q(name) +
               DidYouMean(name, Names(root, section));
  return "";
}

std::string LinkedMeshProblem(Json* root, const std::string& name, bool skin) {
  for (const AttachmentEntry& entry : Attachments(root)) {
    if (!Json::getItem(entry.node, "parent")) continue;
    if (skin && Same(Json::getString(entry.node, "skin", nullptr), name))
      return Place(entry) + ": its parent mesh's skin " + Q(name) + " does not exist" +
             DidYouMean(name, Names(root, "skins"));
    if (!skin && Same(Json::getString(entry.node, "parent", nullptr), name))
      return Place(entry) + ": no mesh " + Q(name) + " to be its parent under slot " + Q(entry.slot);
  }
  return "";
}

std::string UnknownType(Json* root, const std::string& type) {
  for (const AttachmentEntry& entry : Attachments(root))
    if (Same(Json::getString(entry.node, "type", nullptr), type))
      return Place(entry) + ": " + Q(type) +
             " is not an attachment type (region, mesh, linkedmesh, boundingbox, path, point, clipping)";
  return "";
}

}  // namespace

std::string SpacesAtEnd(const std::string& name) {
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == ' ' || name[end - 1] == '\t')) --end;
  const size_t count = name.size() - end;
  if (count == 0) return "";
  const bool tabs = name.find('\t', end) != std::string::npos;
  const char* const words[] = {"", "a", "two", "three", "four", "five"};
  const std::string what = tabs        ? "white space"
                           : count < 6 ? std::string(words[count]) + (count == 1 ? " space" : " spaces")
                                       : std::to_string(count) + " spaces";
  return "the name " + Q(name) + " ends in " + what;
}

std::string DidYouMean(const std::string& name, const std::vector<std::string>& names) {
  if (name.size() > 256) return "";
  // Invisible in most editors, so said in words rather than as a spelling slip.
  auto trimmed = [](const std::string& text) { return text.substr(0, text.find_last_not_of(" \t") + 1); };
  for (const std::string& candidate : names)
    if (candidate != name && trimmed(candidate) == trimmed(name))
      return " (" + (SpacesAtEnd(candidate).empty() ? SpacesAtEnd(name) : SpacesAtEnd(candidate)) + ")";
  // Characters, not bytes: a slip in a Japanese name is one character.
  const std::u32string wanted = Characters(name);
  size_t best = std::max<size_t>(2, wanted.size() / 3);
  std::vector<std::string> closest;
  for (const std::string& candidate : names) {
    // Names far apart in length cannot be close; this also keeps huge names cheap.
    if (candidate == name || candidate.size() > 4 * (name.size() + best)) continue;
    const std::u32string other = Characters(candidate);
    const size_t gap = other.size() > wanted.size() ? other.size() - wanted.size() : wanted.size() - other.size();
    if (gap > best) continue;
    size_t d = Distance(wanted, other);
    if (d > best) continue;
    if (d < best) {
      best = d;
      closest.clear();
    }
    if (d == best && closest.size() < 3 && std::find(closest.begin(), closest.end(), candidate) == closest.end())
      closest.push_back(candidate);
  }
  if (closest.empty()) return "";
  std::string out = " (did you mean ";
  for (size_t i = 0; i < closest.size(); ++i) out += (i ? " or " : "") + Q(closest[i]);
  return out + "?)";
}

std::string LocateLoaderError(const std::string& error, Json* root, const skel::Atlas& atlas) {
  const size_t colon = error.find(": ");
  if (colon == std::string::npos) return "";
  const std::string kind = error.substr(0, colon), name = error.substr(colon + 2);
  const std::vector<std::string> bones = Names(root, "bones");
  if (kind == "Parent bone not found") return MissingParentBone(root, name);
  if (kind == "Slot bone not found") return MissingSlotBone(root, name);
  if (kind == "IK bone not found") return InConstraints(root, "ik", "bones", name, "bone", bones);
  if (kind == "Transform bone not found") return InConstraints(root, "transform", "bones", name, "bone", bones);
  if (kind == "Path bone not found") return InConstraints(root, "path", "bones", name, "bone", bones);
  if (kind == "Target bone not found") {
    std::string found = InConstraints(root, "ik", "target", name, "bone", bones);
    return found.empty() ? InConstraints(root, "transform", "target", name, "bone", bones) : found;
  }
  if (kind == "Target slot not found") return InConstraints(root, "path", "target", name, "slot", Names(root, "slots"));
  if (kind == "Skin bone not found") return SkinList(root, "bones", name, "bone", "bones");
  if (kind == "Skin IK constraint not found") return SkinList(root, "ik", name, "IK constraint", "ik");
  if (kind == "Skin transform constraint not found")
    return SkinList(root, "transform", name, "transform constraint", "transform");
  if (kind == "Skin path constraint not found") return SkinList(root, "path", name, "path constraint", "path");
  if (kind == "Error reading attachment") return UnreadableAttachment(root, name, atlas);
  if (kind == "Unknown attachment type") return UnknownType(root, name);
  if (kind == "Skin not found") return LinkedMeshProblem(root, name, true);
  if (kind == "Parent mesh not found") return LinkedMeshProblem(root, name, false);
  if (kind == "Slot not found") return MissingSlot(root, name);
  if (kind == "Invalid timeline type for a slot") return BadTimeline(root, "slots", name);
  if (kind == "Bone not found") return InAnimations(root, "bones", name, "bone", bones);
  if (kind == "Invalid timeline type for a bone") return BadTimeline(root, "bones", name);
  if (kind == "Path constraint not found")
    return InAnimations(root, "path", name, "path constraint", Names(root, "path"));
  if (kind == "Attachment not found") return MissingDeformAttachment(root, name);
  if (kind == "Event not found") return MissingEvent(root, name);
  return "";
}

}  // namespace skelcheck
