#include "Lint.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include "JsonTree.h"
#include "Locate.h"
#include "skel/Atlas.h"

namespace skelcheck {

namespace {

// What a key's value must be.
enum class Want {
  Number,
  Boolean,  // a number or true/false, read as an integer
  Flag,     // the text "true" or a number
  Text,
  TextOrNull,
  Colour8,  // RRGGBBAA
  Colour6,  // RRGGBB
  List,
  Map,
  Numbers,  // a list of numbers
  Curve,    // a number or "stepped"
};

struct KeyRule {
  const char* key;
  Want want;
};
using KeyRules = std::vector<KeyRule>;

KeyRules operator+(KeyRules a, const KeyRules& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const KeyRules kTop = {{"skeleton", Want::Map}, {"bones", Want::List},     {"slots", Want::List},
                       {"ik", Want::List},      {"transform", Want::List}, {"path", Want::List},
                       {"skins", Want::List},   {"events", Want::Map},     {"animations", Want::Map}};
const KeyRules kSkeleton = {{"hash", Want::Text},  {"version", Want::Text}, {"x", Want::Number},
                            {"y", Want::Number},   {"width", Want::Number}, {"height", Want::Number},
                            {"fps", Want::Number}, {"audio", Want::Text},   {"images", Want::Text}};
const KeyRules kBone = {{"name", Want::Text},     {"parent", Want::Text},    {"length", Want::Number},
                        {"x", Want::Number},      {"y", Want::Number},       {"rotation", Want::Number},
                        {"scaleX", Want::Number}, {"scaleY", Want::Number},  {"shearX", Want::Number},
                        {"shearY", Want::Number}, {"transform", Want::Text}, {"skin", Want::Flag}};
const KeyRules kSlot = {{"name", Want::Text},    {"bone", Want::Text},       {"color", Want::Colour8},
                        {"dark", Want::Colour6}, {"attachment", Want::Text}, {"blend", Want::Text}};
const KeyRules kIk = {{"name", Want::Text},
                      {"order", Want::Number},
                      {"bones", Want::List},
                      {"target", Want::Text},
                      {"mix", Want::Number},
                      {"softness", Want::Number},
                      {"bendPositive", Want::Boolean},
                      {"compress", Want::Boolean},
                      {"stretch", Want::Boolean},
                      {"uniform", Want::Boolean}};
const KeyRules kTransform = {{"name", Want::Text},        {"order", Want::Number},     {"skin", Want::Flag},
                             {"bones", Want::List},       {"target", Want::Text},      {"local", Want::Boolean},
                             {"relative", Want::Boolean}, {"rotation", Want::Number},  {"x", Want::Number},
                             {"y", Want::Number},         {"scaleX", Want::Number},    {"scaleY", Want::Number},
                             {"shearY", Want::Number},    {"rotateMix", Want::Number}, {"translateMix", Want::Number},
                             {"scaleMix", Want::Number},  {"shearMix", Want::Number}};
const KeyRules kPath = {{"name", Want::Text},          {"order", Want::Number},    {"skin", Want::Flag},
                        {"bones", Want::List},         {"target", Want::Text},     {"positionMode", Want::Text},
                        {"spacingMode", Want::Text},   {"rotateMode", Want::Text}, {"rotation", Want::Number},
                        {"position", Want::Number},    {"spacing", Want::Number},  {"rotateMix", Want::Number},
                        {"translateMix", Want::Number}};
const KeyRules kSkin = {{"name", Want::Text},      {"bones", Want::List}, {"ik", Want::List},
                        {"transform", Want::List}, {"path", Want::List},  {"attachments", Want::Map}};
const KeyRules kAttachment = {{"name", Want::Text}, {"path", Want::Text}, {"type", Want::Text}};
const KeyRules kVertices = {{"vertexCount", Want::Number}, {"vertices", Want::Numbers}};
const KeyRules kEvent = {{"int", Want::Number}, {"float", Want::Number},  {"string", Want::Text},
                         {"audio", Want::Text}, {"volume", Want::Number}, {"balance", Want::Number}};
const KeyRules kAnimation = {{"slots", Want::Map},      {"bones", Want::Map},      {"ik", Want::Map},
                             {"transform", Want::Map},  {"path", Want::Map},       {"deform", Want::Map},
                             {"drawOrder", Want::List}, {"draworder", Want::List}, {"events", Want::List}};
const KeyRules kDrawOrderKey = {{"time", Want::Number}, {"offsets", Want::List}};
const KeyRules kEventKey = {{"time", Want::Number},   {"name", Want::Text},   {"int", Want::Number},
                            {"float", Want::Number},  {"string", Want::Text}, {"volume", Want::Number},
                            {"balance", Want::Number}};
const KeyRules kCurve = {
    {"time", Want::Number}, {"curve", Want::Curve}, {"c2", Want::Number}, {"c3", Want::Number}, {"c4", Want::Number}};

// The keys of each kind of attachment, by its "type".
const std::map<std::string, KeyRules>& AttachmentKeys() {
  static const std::map<std::string, KeyRules> byType = {
      {"region", kAttachment + KeyRules{{"x", Want::Number},
                                        {"y", Want::Number},
                                        {"scaleX", Want::Number},
                                        {"scaleY", Want::Number},
                                        {"rotation", Want::Number},
                                        {"width", Want::Number},
                                        {"height", Want::Number},
                                        {"color", Want::Colour8}}},
      {"mesh", kAttachment + KeyRules{{"color", Want::Colour8},
                                      {"width", Want::Number},
                                      {"height", Want::Number},
                                      {"parent", Want::Text},
                                      {"skin", Want::Text},
                                      {"deform", Want::Boolean},
                                      {"triangles", Want::Numbers},
                                      {"uvs", Want::Numbers},
                                      {"vertices", Want::Numbers},
                                      {"hull", Want::Number},
                                      {"edges", Want::Numbers}}},
      {"boundingbox", kAttachment + kVertices},
      {"path", kAttachment + kVertices +
                   KeyRules{{"closed", Want::Boolean}, {"constantSpeed", Want::Boolean}, {"lengths", Want::Numbers}}},
      {"point", kAttachment + KeyRules{{"x", Want::Number}, {"y", Want::Number}, {"rotation", Want::Number}}},
      {"clipping", kAttachment + kVertices + KeyRules{{"end", Want::Text}}},
  };
  return byType;
}

std::string Q(const std::string& text) { return Quoted(text.c_str()); }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> KeysOf(const KeyRules& rules) {
  std::vector<std::string> keys;
  for (const KeyRule& k : rules) keys.push_back(k.key);
  return keys;
}

bool IsHexText(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// A name list in file order, with where each name first stands.
struct Names {
  std::vector<std::string> list;
  std::map<std::string, size_t> first;
  bool has(const std::string& name) const { return first.count(name) != 0; }
};

class Linter {
 public:
  Linter(const std::string& text, const std::string& file, const skel::Atlas* atlas, Report& report)
      : _text(text), _file(file), _atlas(atlas), _report(report) {
    _lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') _lineStarts.push_back(i + 1);
  }

  void run(const JsonNode& root) {
    if (root.type != JsonNode::Object) {
      error("wrong-kind", root, "", "the skeleton is not a JSON object");
      return;
    }
    keys(root, kTop, "");
    const JsonNode* skeleton = root.find("skeleton");
    if (skeleton && skeleton->type == JsonNode::Object) keys(*skeleton, kSkeleton, "skeleton");
    bones(root.find("bones"));
    slots(root.find("slots"));
    constraints(root.find("ik"), "ik", kIk, _ik, "IK constraint");
    constraints(root.find("transform"), "transform", kTransform, _transform, "transform constraint");
    constraints(root.find("path"), "path", kPath, _path, "path constraint");
    skins(root.find("skins"));
    setupAttachments(root.find("slots"));
    events(root.find("events"));
    animations(root.find("animations"));
  }

 private:
  // ---- reporting ----

  Place at(const JsonNode& node, const std::string& path, bool atName = false) const {
    const size_t offset = atName ? node.nameAt : node.at;
    const size_t line =
        static_cast<size_t>(std::upper_bound(_lineStarts.begin(), _lineStarts.end(), offset) - _lineStarts.begin());
    return Place(_file, line, offset - _lineStarts[line - 1] + 1, path);
  }
  void error(const char* code, const JsonNode& node, const std::string& path, const std::string& message) {
    _report.error(code, at(node, path), message);
  }
  void warning(const char* code, const JsonNode& node, const std::string& path, const std::string& message) {
    _report.warning(code, at(node, path), message);
  }

  static std::string Join(const std::string& path, const std::string& name) {
    return path.empty() ? name : path + "/" + name;
  }

  // ---- values ----

  // A name for a value, as a content maker would see it in the file.
  std::string Shown(const JsonNode& node) const {
    switch (node.type) {
      case JsonNode::String: return "the text " + Q(node.text);
      case JsonNode::True: return "true";
      case JsonNode::False: return "false";
      case JsonNode::Null: return "null";
      case JsonNode::Array: return "a list";
      case JsonNode::Object: return "an object";
      default: return node.text;
    }
  }

  void number(const JsonNode& value, const std::string& path) {
    if (value.type != JsonNode::Number) {
      error("not-a-number", value, path, Shown(value) + " is not a number: the game reads 0");
    } else if (!std::isfinite(value.number)) {
      error("not-finite", value, path, value.text + " is beyond the range of a float: the game reads infinity");
    }
  }

  void value(const JsonNode& node, Want want, const std::string& path) {
    switch (want) {
      case Want::Number: number(node, path); break;
      case Want::Boolean:
        if (node.type != JsonNode::True && node.type != JsonNode::False) number(node, path);
        break;
      case Want::Flag:
        if (node.type == JsonNode::True || node.type == JsonNode::False)
          warning("flag-literal", node, path,
                  Shown(node) + " reads as false here: write the text \"true\" or a number");
        else if (node.type != JsonNode::String)
          number(node, path);
        break;
      case Want::Text:
      case Want::TextOrNull:
        if (node.type != JsonNode::String && !(want == Want::TextOrNull && node.type == JsonNode::Null))
          error("not-a-text", node, path, Shown(node) + " is not a text: the game reads none");
        break;
      case Want::Colour8:
      case Want::Colour6: {
        const size_t length = want == Want::Colour8 ? 8 : 6;
        if (node.type != JsonNode::String || node.text.size() != length || !IsHexText(node.text))
          warning("colour-text", node, path,
                  Shown(node) + " is not " + std::to_string(length) + " hexadecimal digits (" +
                      (length == 8 ? "RRGGBBAA" : "RRGGBB") + ")");
        break;
      }
      case Want::List:
      case Want::Map:
        if (!node.isContainer())
          warning(
              "wrong-kind", node, path,
              Shown(node) + " is not " + (want == Want::List ? "a list" : "an object") + ": the game reads nothing");
        break;
      case Want::Numbers:
        value(node, Want::List, path);
        for (size_t i = 0; i < node.children.size(); ++i) number(node.children[i], Join(path, std::to_string(i)));
        break;
      case Want::Curve:
        if (node.type == JsonNode::String) {
          if (node.text != "stepped")
            error("unknown-value", node, path,
                  "the curve " + Q(node.text) + " is not one the game knows: it reads a straight line" +
                      DidYouMean(node.text, {"stepped"}));
        } else {
          number(node, path);
        }
        break;
    }
  }

  // Every member of an object: known keys with values of their kind, each
  // key once (the game reads the first, ignoring ASCII case).
  bool keys(const JsonNode& object, const KeyRules& rules, const std::string& path) {
    if (object.type != JsonNode::Object) {
      warning("wrong-kind", object, path, Shown(object) + " is not an object: the game reads nothing from it");
      return false;
    }
    std::set<std::string> seen;
    for (const JsonNode& member : object.children) {
      const std::string key = Lower(member.name), where = Join(path, member.name);
      if (!seen.insert(key).second) {
        warning("duplicate-key", member, where,
                "the key " + Q(member.name) + " is given again: the game reads the first");
        continue;
      }
      const KeyRule* known = nullptr;
      for (const KeyRule& k : rules)
        if (SameKey(member.name, k.key)) known = &k;
      if (!known) {
        _report.warning(
            "unknown-key", at(member, where, true),
            "the key " + Q(member.name) + " is not one the game reads" + DidYouMean(member.name, KeysOf(rules)));
        continue;
      }
      value(member, known->want, where);
    }
    return true;
  }

  // The "name" of an entry, and its path.
  static std::string NameOf(const JsonNode& entry) {
    const JsonNode* name = entry.find("name");
    return name && name->type == JsonNode::String ? name->text : std::string();
  }
  static std::string EntryPath(const char* section, size_t index, const JsonNode& entry) {
    const std::string name = NameOf(entry);
    return std::string(section) + "/" + (name.empty() ? std::to_string(index) : name);
  }

  // Adds a declared name; a second one is an error, as only the first is found.
  void declare(Names& names, const std::string& name, const JsonNode& node, const std::string& path, const char* what) {
    if (!names.first.emplace(name, names.list.size()).second) {
      error("duplicate-name", node, path,
            std::string("a second ") + what + " named " + Q(name) + ": the game only ever finds the first");
      return;
    }
    names.list.push_back(name);
  }

  // A reference to a declared name.
  bool refer(const Names& names, const JsonNode& node, const std::string& path, const char* what) {
    if (node.type != JsonNode::String || names.has(node.text)) return true;
    error("unknown-name", node, path,
          std::string("no ") + what + " named " + Q(node.text) + DidYouMean(node.text, names.list));
    return false;
  }

  void oneOf(const JsonNode* node, const std::string& path, std::initializer_list<const char*> words, const char* what,
             const char* fallback) {
    if (!node || node->type != JsonNode::String) return;
    std::vector<std::string> known(words.begin(), words.end());
    if (std::find(known.begin(), known.end(), node->text) != known.end()) return;
    error("unknown-value", *node, path,
          std::string(what) + " " + Q(node->text) + " is not one the game knows: it reads " + fallback +
              DidYouMean(node->text, known));
  }

  // ---- setup ----

  void bones(const JsonNode* list) {
    if (!list) return;
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& bone = list->children[i];
      const std::string path = EntryPath("bones", i, bone);
      if (!keys(bone, kBone, path)) continue;
      const std::string name = NameOf(bone);
      if (const JsonNode* parent = bone.find("parent"); parent && parent->type == JsonNode::String) {
        if (parent->text == name)
          error("bone-own-parent", *parent, Join(path, "parent"), "the bone " + Q(name) + " is its own parent");
        else if (!_bones.has(parent->text) && LaterBone(*list, i, parent->text))
          error("parent-comes-later", *parent, Join(path, "parent"),
                "its parent " + Q(parent->text) + " comes later in \"bones\"; a parent must come before its children");
        else
          refer(_bones, *parent, Join(path, "parent"), "bone");
      }
      oneOf(bone.find("transform"), Join(path, "transform"),
            {"normal", "onlyTranslation", "noRotationOrReflection", "noScale", "noScaleOrReflection"}, "the transform",
            "normal");
      declare(_bones, name, bone, path, "bone");
    }
  }

  static bool LaterBone(const JsonNode& list, size_t index, const std::string& name) {
    for (size_t j = index + 1; j < list.children.size(); ++j)
      if (NameOf(list.children[j]) == name) return true;
    return false;
  }

  void slots(const JsonNode* list) {
    if (!list) return;
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& slot = list->children[i];
      const std::string path = EntryPath("slots", i, slot);
      if (!keys(slot, kSlot, path)) continue;
      if (const JsonNode* bone = slot.find("bone")) refer(_bones, *bone, Join(path, "bone"), "bone");
      oneOf(slot.find("blend"), Join(path, "blend"), {"normal", "additive", "multiply", "screen"}, "the blend",
            "normal");
      declare(_slots, NameOf(slot), slot, path, "slot");
    }
  }

  void constraints(const JsonNode* list, const char* section, const KeyRules& rules, Names& names, const char* what) {
    if (!list) return;
    const bool path = std::string(section) == "path";
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& entry = list->children[i];
      const std::string where = EntryPath(section, i, entry);
      if (!keys(entry, rules, where)) continue;
      if (const JsonNode* bones = entry.find("bones"))
        for (size_t b = 0; b < bones->children.size(); ++b)
          refer(_bones, bones->children[b], Join(Join(where, "bones"), std::to_string(b)), "bone");
      if (const JsonNode* target = entry.find("target"))
        refer(path ? _slots : _bones, *target, Join(where, "target"), path ? "slot" : "bone");
      if (path) {
        oneOf(entry.find("positionMode"), Join(where, "positionMode"), {"fixed", "percent"}, "the position mode",
              "fixed");
        oneOf(entry.find("spacingMode"), Join(where, "spacingMode"), {"length", "fixed", "percent"}, "the spacing mode",
              "length");
        oneOf(entry.find("rotateMode"), Join(where, "rotateMode"), {"tangent", "chain", "chainScale"},
              "the rotate mode", "tangent");
      }
      declare(names, NameOf(entry), entry, where, what);
    }
  }

  // ---- skins ----

  struct SkinEntry {
    // slot name → attachment key → its node
    std::map<std::string, std::map<std::string, const JsonNode*>> slots;
  };

  void skins(const JsonNode* list) {
    if (!list) return;
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& skin = list->children[i];
      const std::string path = EntryPath("skins", i, skin);
      if (!keys(skin, kSkin, path)) continue;
      const std::string name = NameOf(skin);
      declare(_skinNames, name, skin, path, "skin");
      SkinEntry& entry = _skins[name];
      for (auto [key, names, what] : {std::tuple<const char*, const Names*, const char*>{"bones", &_bones, "bone"},
                                      {"ik", &_ik, "IK constraint"},
                                      {"transform", &_transform, "transform constraint"},
                                      {"path", &_path, "path constraint"}})
        if (const JsonNode* listed = skin.find(key))
          for (size_t k = 0; k < listed->children.size(); ++k)
            refer(*names, listed->children[k], Join(Join(path, key), std::to_string(k)), what);
      const JsonNode* attachments = skin.find("attachments");
      if (!attachments || attachments->type != JsonNode::Object) continue;
      for (const JsonNode& slot : attachments->children) {
        const std::string slotPath = Join(Join(path, "attachments"), slot.name);
        if (!_slots.has(slot.name)) {
          _report.error("unknown-name", at(slot, slotPath, true),
                        "no slot named " + Q(slot.name) + DidYouMean(slot.name, _slots.list));
          continue;
        }
        if (slot.type != JsonNode::Object) continue;
        for (const JsonNode& attachment : slot.children) {
          entry.slots[slot.name].emplace(attachment.name, &attachment);
          _anySkin[slot.name].insert(attachment.name);
        }
      }
    }
    // Linked meshes may name parents in skins read later, so attachments are
    // checked once every skin is known.
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& skin = list->children[i];
      const JsonNode* attachments = skin.find("attachments");
      if (skin.type != JsonNode::Object || !attachments || attachments->type != JsonNode::Object) continue;
      const std::string path = EntryPath("skins", i, skin);
      for (const JsonNode& slot : attachments->children) {
        if (!_slots.has(slot.name) || slot.type != JsonNode::Object) continue;
        for (const JsonNode& a : slot.children)
          attachment(a, slot.name, Join(Join(Join(path, "attachments"), slot.name), a.name));
      }
    }
  }

  void attachment(const JsonNode& node, const std::string& slot, const std::string& path) {
    if (node.type != JsonNode::Object) {
      warning("wrong-kind", node, path, Shown(node) + " is not an object: the game reads nothing from it");
      return;
    }
    const JsonNode* typeNode = node.find("type");
    std::string type = typeNode && typeNode->type == JsonNode::String ? typeNode->text : "region";
    if (type == "linkedmesh") type = "mesh";
    const auto rules = AttachmentKeys().find(type);
    if (rules == AttachmentKeys().end()) {
      error(
          "unknown-value", *typeNode, Join(path, "type"),
          Q(typeNode->text) +
              " is not an attachment type (region, mesh, linkedmesh, boundingbox, path, point, "
              "clipping)" +
              DidYouMean(typeNode->text, {"region", "mesh", "linkedmesh", "boundingbox", "path", "point", "clipping"}));
      return;
    }
    keys(node, rules->second, path);
    if (type == "region" || type == "mesh") region(node, path);
    if (type == "mesh") {
      if (const JsonNode* parent = node.find("parent"); parent && parent->type == JsonNode::String)
        linkedParent(node, *parent, slot, path);
      else
        mesh(node, path);
    } else if (type != "region" && type != "point") {
      polygon(node, type, path);
    }
  }

  // The region an attachment shows, by "path", else "name", else its key.
  void region(const JsonNode& node, const std::string& path) {
    if (!_atlas) return;
    const JsonNode* named = node.find("path");
    if (!named || named->type != JsonNode::String) named = node.find("name");
    const std::string region = named && named->type == JsonNode::String ? named->text : node.name;
    if (_atlas->findRegion(skel::String(region.c_str()))) return;
    if (_regions.empty())
      for (const skel::AtlasRegion* r : _atlas->getRegions())
        _regions.push_back(r->name.buffer() ? r->name.buffer() : "");
    _report.error("missing-region", named ? at(*named, path) : at(node, path, true),
                  "region " + Q(region) + " is not in the atlas" + DidYouMean(region, _regions));
  }

  void linkedParent(const JsonNode& node, const JsonNode& parent, const std::string& slot, const std::string& path) {
    const JsonNode* skinNode = node.find("skin");
    const std::string skin = skinNode && skinNode->type == JsonNode::String ? skinNode->text : "default";
    const auto found = _skins.find(skin);
    if (found == _skins.end()) {
      error("unknown-name", skinNode ? *skinNode : parent, Join(path, "skin"),
            "its parent mesh's skin " + Q(skin) + " does not exist" + DidYouMean(skin, _skinNames.list));
      return;
    }
    const auto& attachments = found->second.slots[slot];
    if (!attachments.count(parent.text))
      error("unknown-name", parent, Join(path, "parent"),
            "no mesh " + Q(parent.text) + " to be its parent under slot " + Q(slot));
  }

  static std::vector<float> Floats(const JsonNode* list) {
    std::vector<float> out;
    if (list)
      for (const JsonNode& item : list->children) out.push_back(item.number);
    return out;
  }

  // A mesh's geometry: whole triangles over existing vertices, texture
  // coordinates in pairs, vertices for every pair over existing bones.
  void mesh(const JsonNode& node, const std::string& path) {
    const std::vector<float> uvs = Floats(node.find("uvs"));
    const JsonNode* triangles = node.find("triangles");
    const JsonNode* anchor = node.find("uvs") ? node.find("uvs") : &node;
    if (uvs.size() % 2 != 0) {
      error("mesh-uvs-short", *anchor, Join(path, "uvs"),
            "\"uvs\" holds " + std::to_string(uvs.size()) + " numbers, not whole u, v pairs");
      return;
    }
    if (triangles) {
      if (triangles->children.size() % 3 != 0)
        error("mesh-triangles-not-whole", *triangles, Join(path, "triangles"),
              "\"triangles\" holds " + std::to_string(triangles->children.size()) +
                  " indexes, which is not a multiple of 3");
      for (size_t i = 0; i < triangles->children.size(); ++i) {
        const float index = triangles->children[i].number;
        if (!(index >= 0 && index < static_cast<float>(uvs.size() / 2))) {
          error("mesh-triangle-index", triangles->children[i], Join(Join(path, "triangles"), std::to_string(i)),
                "triangle index " + triangles->children[i].text + " is past the " + std::to_string(uvs.size() / 2) +
                    " vertices that \"uvs\" gives");
          break;
        }
      }
    }
    vertices(node, uvs.size(), path);
  }

  // The vertices of a polygon, a clipping or a path.
  void polygon(const JsonNode& node, const std::string& type, const std::string& path) {
    const JsonNode* countNode = node.find("vertexCount");
    const float count = countNode ? countNode->number : 0;
    if (!(count >= 0 && count < 1e7f)) {
      if (countNode)
        error("mesh-vertices-short", *countNode, Join(path, "vertexCount"),
              "a vertex count of " + countNode->text + " cannot be");
      return;
    }
    vertices(node, static_cast<size_t>(count) * 2, path);
    if (type != "path") return;
    const JsonNode* lengths = node.find("lengths");
    const size_t curves = static_cast<size_t>(count) / 3;
    if (!lengths || lengths->children.size() < curves)
      error("path-lengths-short", lengths ? *lengths : node, Join(path, "lengths"),
            "a path of " + std::to_string(static_cast<size_t>(count)) + " vertices needs " + std::to_string(curves) +
                " \"lengths\", one per curve");
  }

  // Exactly length plain values, or a weighted list of length / 2 vertices.
  void vertices(const JsonNode& node, size_t length, const std::string& path) {
    const JsonNode* list = node.find("vertices");
    const std::vector<float> values = Floats(list);
    const JsonNode& anchor = list ? *list : node;
    const std::string where = Join(path, "vertices");
    if (values.size() == length) return;
    size_t vertices = 0, i = 0;
    while (i < values.size()) {
      const float count = values[i++];
      if (!(count >= 0 && count <= static_cast<float>((values.size() - i) / 4))) {
        error("mesh-vertices-short", anchor, where,
              "\"vertices\" ends inside a weighted vertex: " + std::to_string(values.size()) + " numbers are neither " +
                  std::to_string(length) + " plain ones nor whole weighted vertices");
        return;
      }
      for (size_t end = i + static_cast<size_t>(count) * 4; i < end; i += 4) {
        const float bone = values[i];
        if (!(bone >= 0 && bone < static_cast<float>(_bones.list.size()))) {
          error(
              "mesh-bone-index", list->children[i], Join(where, std::to_string(i)),
              "bone index " + list->children[i].text + " is past the " + std::to_string(_bones.list.size()) + " bones");
          return;
        }
      }
      ++vertices;
    }
    if (vertices * 2 != length)
      error("mesh-vertices-short", anchor, where,
            "\"vertices\" gives " + std::to_string(vertices) + " weighted vertices where " +
                std::to_string(length / 2) + " are needed");
  }

  // Each slot's setup attachment must be in some skin under that slot.
  void setupAttachments(const JsonNode* list) {
    if (!list) return;
    for (size_t i = 0; i < list->children.size(); ++i) {
      const JsonNode& slot = list->children[i];
      const JsonNode* name = slot.type == JsonNode::Object ? slot.find("attachment") : nullptr;
      if (!name || name->type != JsonNode::String) continue;
      hasAttachment(NameOf(slot), *name, Join(EntryPath("slots", i, slot), "attachment"));
    }
  }

  void hasAttachment(const std::string& slot, const JsonNode& name, const std::string& path) {
    const auto found = _anySkin.find(slot);
    if (found != _anySkin.end() && found->second.count(name.text)) return;
    const std::vector<std::string> known = found == _anySkin.end()
                                               ? std::vector<std::string>()
                                               : std::vector<std::string>(found->second.begin(), found->second.end());
    error("missing-attachment", name, path,
          "no skin has an attachment " + Q(name.text) + " under slot " + Q(slot) + ": the slot shows nothing" +
              DidYouMean(name.text, known));
  }

  // ---- events and animations ----

  void events(const JsonNode* map) {
    if (!map || map->type != JsonNode::Object) return;
    for (const JsonNode& event : map->children) {
      const std::string path = Join("events", event.name);
      keys(event, kEvent, path);
      if (!_events.first.emplace(event.name, _events.list.size()).second)
        _report.error("duplicate-name", at(event, path, true),
                      "a second event named " + Q(event.name) + ": the game only ever finds the first");
      else
        _events.list.push_back(event.name);
    }
  }

  void animations(const JsonNode* map) {
    if (!map || map->type != JsonNode::Object) return;
    std::set<std::string> seen;
    for (const JsonNode& animation : map->children) {
      const std::string path = Join("animations", animation.name);
      if (!seen.insert(animation.name).second)
        _report.error("duplicate-name", at(animation, path, true),
                      "a second animation named " + Q(animation.name) + ": the game can never play it");
      if (!keys(animation, kAnimation, path)) continue;
      for (const JsonNode& section : animation.children) {
        const std::string where = Join(path, section.name);
        const std::string kind = Lower(section.name);
        if (kind == "slots")
          named(section, where, _slots, "slot", &Linter::slotTimelines);
        else if (kind == "bones")
          named(section, where, _bones, "bone", &Linter::boneTimelines);
        else if (kind == "ik")
          named(section, where, _ik, "IK constraint", &Linter::ikFrames);
        else if (kind == "transform")
          named(section, where, _transform, "transform constraint", &Linter::transformFrames);
        else if (kind == "path")
          named(section, where, _path, "path constraint", &Linter::pathTimelines);
        else if (kind == "deform")
          deform(section, where);
        else if (kind == "draworder")
          frames(section, where, kDrawOrderKey, &Linter::drawOrderFrame);
        else if (kind == "events")
          frames(section, where, kEventKey, &Linter::eventFrame);
      }
    }
  }

  using Timelines = void (Linter::*)(const JsonNode&, const std::string&, const std::string&);

  // A section keyed by the names of bones, slots or constraints.
  void named(const JsonNode& section, const std::string& path, const Names& names, const char* what, Timelines each) {
    if (section.type != JsonNode::Object) return;
    for (const JsonNode& entry : section.children) {
      const std::string where = Join(path, entry.name);
      if (!names.has(entry.name)) {
        _report.error("unknown-name", at(entry, where, true),
                      std::string("no ") + what + " named " + Q(entry.name) + DidYouMean(entry.name, names.list));
        continue;
      }
      (this->*each)(entry, where, entry.name);
    }
  }

  using Frame = void (Linter::*)(const JsonNode&, const std::string&, const std::string&);

  // Keys of one timeline: each an object of its kind, with times that are
  // finite, not negative, and in order.
  void frames(const JsonNode& list, const std::string& path, const KeyRules& rules, Frame each = nullptr,
              const std::string& owner = std::string()) {
    if (list.type != JsonNode::Array) {
      warning("wrong-kind", list, path, Shown(list) + " is not a list of keys: the game reads nothing");
      return;
    }
    float last = -INFINITY;
    const JsonNode* lastTime = nullptr;
    for (size_t i = 0; i < list.children.size(); ++i) {
      const JsonNode& frame = list.children[i];
      const std::string where = Join(path, std::to_string(i));
      if (!keys(frame, rules, where)) continue;
      if (each) (this->*each)(frame, where, owner);
      const JsonNode* time = frame.find("time");
      if (!time || time->type != JsonNode::Number || !std::isfinite(time->number)) continue;
      if (time->number < 0)
        error("negative-time", *time, Join(where, "time"), "the key time " + time->text + " is before the start");
      else if (lastTime && time->number < last)
        error("time-order", *time, Join(where, "time"),
              "the key time " + time->text + " comes after " + lastTime->text + ": keys must be in time order");
      last = time->number;
      lastTime = time;
    }
  }

  void slotTimelines(const JsonNode& slot, const std::string& path, const std::string& name) {
    if (slot.type != JsonNode::Object) return;
    for (const JsonNode& timeline : slot.children) {
      const std::string where = Join(path, timeline.name);
      if (timeline.name == "attachment")
        frames(timeline, where, KeyRules{{"time", Want::Number}, {"name", Want::TextOrNull}}, &Linter::attachmentFrame,
               name);
      else if (timeline.name == "color")
        frames(timeline, where, kCurve + KeyRules{{"color", Want::Colour8}});
      else if (timeline.name == "twoColor")
        frames(timeline, where, kCurve + KeyRules{{"light", Want::Colour8}, {"dark", Want::Colour6}});
      else
        _report.error("unknown-value", at(timeline, where, true),
                      Q(timeline.name) + " is not a timeline of a slot" +
                          DidYouMean(timeline.name, {"attachment", "color", "twoColor"}));
    }
  }

  void attachmentFrame(const JsonNode& frame, const std::string& path, const std::string& slot) {
    const JsonNode* name = frame.find("name");
    if (name && name->type == JsonNode::String) hasAttachment(slot, *name, Join(path, "name"));
  }

  void boneTimelines(const JsonNode& bone, const std::string& path, const std::string&) {
    if (bone.type != JsonNode::Object) return;
    for (const JsonNode& timeline : bone.children) {
      const std::string where = Join(path, timeline.name);
      if (timeline.name == "rotate")
        frames(timeline, where, kCurve + KeyRules{{"angle", Want::Number}});
      else if (timeline.name == "translate" || timeline.name == "scale" || timeline.name == "shear")
        frames(timeline, where, kCurve + KeyRules{{"x", Want::Number}, {"y", Want::Number}});
      else
        _report.error("unknown-value", at(timeline, where, true),
                      Q(timeline.name) + " is not a timeline of a bone" +
                          DidYouMean(timeline.name, {"rotate", "translate", "scale", "shear"}));
    }
  }

  void ikFrames(const JsonNode& list, const std::string& path, const std::string&) {
    frames(list, path,
           kCurve + KeyRules{{"mix", Want::Number},
                             {"softness", Want::Number},
                             {"bendPositive", Want::Boolean},
                             {"compress", Want::Boolean},
                             {"stretch", Want::Boolean}});
  }

  void transformFrames(const JsonNode& list, const std::string& path, const std::string&) {
    frames(list, path,
           kCurve + KeyRules{{"rotateMix", Want::Number},
                             {"translateMix", Want::Number},
                             {"scaleMix", Want::Number},
                             {"shearMix", Want::Number}});
  }

  void pathTimelines(const JsonNode& constraint, const std::string& path, const std::string&) {
    if (constraint.type != JsonNode::Object) return;
    for (const JsonNode& timeline : constraint.children) {
      const std::string where = Join(path, timeline.name);
      if (timeline.name == "position" || timeline.name == "spacing")
        frames(timeline, where,
               kCurve + KeyRules{{timeline.name == "position" ? "position" : "spacing", Want::Number}});
      else if (timeline.name == "mix")
        frames(timeline, where, kCurve + KeyRules{{"rotateMix", Want::Number}, {"translateMix", Want::Number}});
      else
        _report.error("unknown-value", at(timeline, where, true),
                      Q(timeline.name) + " is not a timeline of a path constraint" +
                          DidYouMean(timeline.name, {"position", "spacing", "mix"}));
    }
  }

  void deform(const JsonNode& section, const std::string& path) {
    if (section.type != JsonNode::Object) return;
    for (const JsonNode& skin : section.children) {
      const std::string skinPath = Join(path, skin.name);
      const auto found = _skins.find(skin.name);
      if (found == _skins.end()) {
        _report.error("unknown-name", at(skin, skinPath, true),
                      "no skin named " + Q(skin.name) + DidYouMean(skin.name, _skinNames.list));
        continue;
      }
      for (const JsonNode& slot : skin.children) {
        const std::string slotPath = Join(skinPath, slot.name);
        if (!_slots.has(slot.name)) {
          _report.error("unknown-name", at(slot, slotPath, true),
                        "no slot named " + Q(slot.name) + DidYouMean(slot.name, _slots.list));
          continue;
        }
        const auto& attachments = found->second.slots[slot.name];
        for (const JsonNode& attachment : slot.children) {
          const std::string where = Join(slotPath, attachment.name);
          if (!attachments.count(attachment.name))
            _report.error("unknown-name", at(attachment, where, true),
                          "the skin " + Q(skin.name) + " has no attachment " + Q(attachment.name) + " under slot " +
                              Q(slot.name));
          frames(attachment, where, kCurve + KeyRules{{"vertices", Want::Numbers}, {"offset", Want::Number}});
        }
      }
    }
  }

  void drawOrderFrame(const JsonNode& frame, const std::string& path, const std::string&) {
    const JsonNode* offsets = frame.find("offsets");
    if (!offsets || offsets->type != JsonNode::Array) return;
    for (size_t i = 0; i < offsets->children.size(); ++i) {
      const JsonNode& offset = offsets->children[i];
      const std::string where = Join(Join(path, "offsets"), std::to_string(i));
      if (!keys(offset, KeyRules{{"slot", Want::Text}, {"offset", Want::Number}}, where)) continue;
      if (const JsonNode* slot = offset.find("slot")) refer(_slots, *slot, Join(where, "slot"), "slot");
    }
  }

  void eventFrame(const JsonNode& frame, const std::string& path, const std::string&) {
    if (const JsonNode* name = frame.find("name")) refer(_events, *name, Join(path, "name"), "event");
  }

  const std::string& _text;
  const std::string& _file;
  const skel::Atlas* _atlas;
  Report& _report;
  std::vector<size_t> _lineStarts;
  Names _bones, _slots, _ik, _transform, _path, _skinNames, _events;
  std::map<std::string, SkinEntry> _skins;
  std::map<std::string, std::set<std::string>> _anySkin;  // slot → attachment keys in any skin
  std::vector<std::string> _regions;
};

}  // namespace

void LintSkeleton(const std::string& text, const std::string& file, const skel::Atlas* atlas, Report& report) {
  JsonNode root;
  if (!ParseJsonTree(text, root)) return;
  Linter(text, file, atlas, report).run(root);
}

}  // namespace skelcheck
