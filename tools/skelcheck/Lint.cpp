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
    constraintOrder();
    skins(root.find("skins"));
    if (!_skinNames.has("default") && !_slots.list.empty()) {
      const JsonNode* skins = root.find("skins");
      // A warning, not an error: a viewer can still show another skin.
      warning("no-default-skin", skins ? *skins : root, skins ? "skins" : "",
              "no skin is named \"default\": the game finds setup attachments there, so it draws nothing until a "
              "skin is set, and then only that skin's attachments");
    }
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

  // A number as the game reads a whole one: truncated, held to the int range.
  static long long IntOf(const JsonNode& node) {
    if (std::isnan(node.number)) return 0;
    return static_cast<long long>(std::max(-2147483648.0, std::min(2147483647.0, std::trunc(double{node.number}))));
  }

  static bool Finite(const JsonNode* node) {
    return node && node->type == JsonNode::Number && std::isfinite(node->number);
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
      for (const char* key : {"scaleX", "scaleY"})
        if (const JsonNode* scale = bone.find(key); Finite(scale) && scale->number == 0)
          warning("bone-scale-zero", *scale, Join(path, key),
                  std::string("a ") + key + " of 0 flattens the bone: its attachments and its children's vanish");
      if (const JsonNode* parent = bone.find("parent"); parent && parent->type == JsonNode::String)
        _parents.emplace(name, parent->text);
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
      if (const JsonNode* bone = slot.find("bone"); bone && bone->type == JsonNode::String)
        _slotBones.emplace(NameOf(slot), bone->text);
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
      const JsonNode* order = entry.find("order");
      _constraints.push_back({what, NameOf(entry), where, &entry, order});
      constraintShape(entry, section, where);
    }
  }

  // True when bone is ancestor or one of its descendants.
  bool Within(std::string bone, const std::string& ancestor) const {
    for (size_t steps = 0; steps <= _parents.size(); ++steps) {
      if (bone == ancestor) return true;
      const auto parent = _parents.find(bone);
      if (parent == _parents.end()) return false;
      bone = parent->second;
    }
    return false;
  }

  // Bones an IK constraint can bend, a target it can reach, mixes in range.
  void constraintShape(const JsonNode& entry, const std::string& section, const std::string& where) {
    const JsonNode* bones = entry.find("bones");
    std::vector<std::string> names;
    if (bones)
      for (const JsonNode& bone : bones->children)
        if (bone.type == JsonNode::String && _bones.has(bone.text)) names.push_back(bone.text);
    if (bones && names.size() != bones->children.size()) return;  // already said
    if (section == "ik" && names.size() > 2) {
      error("ik-bone-count", *bones, Join(where, "bones"),
            "an IK constraint bends one bone or two; with " + std::to_string(names.size()) +
                " the game moves none of them");
    } else if (section == "ik" && names.size() == 2) {
      const auto parent = _parents.find(names[1]), reversed = _parents.find(names[0]);
      if (reversed != _parents.end() && reversed->second == names[1])
        error("ik-bones-not-chain", bones->children[0], Join(Join(where, "bones"), "0"),
              "the IK bones are child and parent: name the parent " + Q(names[1]) +
                  " first, or the game bends them out of place");
      else if (parent == _parents.end() || parent->second != names[0])
        error("ik-bones-not-chain", bones->children[1], Join(Join(where, "bones"), "1"),
              "the IK bones " + Q(names[0]) + " and " + Q(names[1]) +
                  " are not parent and child: the game bends them as if they were, out of place");
    }
    const JsonNode* target = entry.find("target");
    if (target && target->type == JsonNode::String) {
      std::string bone = target->text;
      if (section == "path") {
        const auto slot = _slotBones.find(target->text);
        bone = slot == _slotBones.end() ? std::string() : slot->second;
      }
      for (const std::string& own : names)
        if (!bone.empty() && Within(bone, own)) {
          error("constraint-target-own-bone", *target, Join(where, "target"),
                "the target " + Q(target->text) + (section == "path" ? " is on the bone " + Q(bone) + ", which" : "") +
                    (bone == own ? " is the constrained bone " + Q(own)
                                 : " is a child of the constrained bone " + Q(own)) +
                    ": it moves with the bones it moves, so the constraint chases itself");
          break;
        }
    }
    for (const JsonNode& member : entry.children) {
      const std::string key = Lower(member.name);
      if ((key == "mix" || (key.size() > 3 && key.compare(key.size() - 3, 3, "mix") == 0)) && Finite(&member) &&
          (member.number < 0 || member.number > 1))
        warning("mix-range", member, Join(where, member.name),
                "the mix " + member.text + " is outside 0 to 1: the game " +
                    (member.number > 1 ? "overshoots the target" : "moves the bones away from the target"));
    }
  }

  // The game applies one constraint per order value (IK first, then
  // transform, then path, each in file order) from 0 up to their count.
  void constraintOrder() {
    const long long count = static_cast<long long>(_constraints.size());
    std::map<long long, const ConstraintEntry*> taken;
    for (const ConstraintEntry& c : _constraints) {
      const bool given = c.order && c.order->type != JsonNode::String;
      const long long order = !given                              ? 0
                              : c.order->type == JsonNode::True   ? 1
                              : c.order->type == JsonNode::Number ? IntOf(*c.order)
                                                                  : 0;
      const JsonNode& node = c.order ? *c.order : *c.entry;
      const std::string path = c.order ? Join(c.path, "order") : c.path;
      const std::string name = std::string("the ") + c.what + " " + Q(c.name);
      if (order < 0 || order >= count) {
        error("constraint-order-past-end", node, path,
              "the order " + std::to_string(order) + " is past the last of the " + std::to_string(count) +
                  " constraints (0 to " + std::to_string(count - 1) + "): the game never applies " + name);
        continue;
      }
      const auto first = taken.emplace(order, &c);
      if (!first.second)
        error("constraint-order-taken", node, path,
              (given ? "the order " + std::to_string(order) : std::string("without an \"order\", the order 0")) +
                  " is the " + first.first->second->what + " " + Q(first.first->second->name) +
                  "'s already: the game applies one constraint of each order, so never " + name);
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
          // The game keeps the last of two entries of one name.
          const JsonNode*& kept = entry.slots[slot.name][attachment.name];
          if (kept)
            _report.warning("duplicate-attachment", at(attachment, Join(slotPath, attachment.name), true),
                            "a second attachment " + Q(attachment.name) + " under slot " + Q(slot.name) +
                                " in this skin: the game keeps this one and drops the first");
          kept = &attachment;
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
    const auto named = attachments.find(parent.text);
    if (named == attachments.end()) {
      error("unknown-name", parent, Join(path, "parent"),
            "no mesh " + Q(parent.text) + " to be its parent under slot " + Q(slot) + " in the skin " + Q(skin) +
                DidYouMean(parent.text, Keys(attachments)));
      return;
    }
    if (named->second == &node) {
      error("linked-mesh-own-parent", parent, Join(path, "parent"),
            "the linked mesh " + Q(node.name) + " is its own parent: it has no geometry to share");
      return;
    }
    const std::string type = TypeOf(*named->second);
    if (type != "mesh" && type != "linkedmesh") {
      error("linked-mesh-parent-not-mesh", parent, Join(path, "parent"),
            "its parent " + Q(parent.text) + " is a " + type + ", not a mesh: a linked mesh shares a mesh's geometry");
      return;
    }
    // Follow the chain of parents to a mesh of its own, or back round.
    std::string chainSkin = skin, chainName = parent.text;
    const JsonNode* link = named->second;
    for (size_t steps = 0; IsLinked(*link); ++steps) {
      const JsonNode* next = LinkedParent(*link, slot, chainSkin, chainName);
      if (!next || TypeOf(*next) == "region") return;  // said at that mesh
      if (next == &node || steps > _skins.size() * 64) {
        error("linked-mesh-cycle", parent, Join(path, "parent"),
              "its parents lead back to " + Q(node.name) + ": no mesh in the loop has geometry to share");
        return;
      }
      link = next;
    }
    if (link != named->second)
      warning("linked-mesh-parent-linked", parent, Join(path, "parent"),
              "its parent " + Q(parent.text) + " is itself a linked mesh, of " + Q(chainName) +
                  ": it shares that mesh's geometry; name " + Q(chainName) + " as the parent");
  }

  static std::vector<std::string> Keys(const std::map<std::string, const JsonNode*>& map) {
    std::vector<std::string> keys;
    for (const auto& entry : map) keys.push_back(entry.first);
    return keys;
  }

  static bool IsLinked(const JsonNode& attachment) {
    const JsonNode* parent = attachment.find("parent");
    const std::string type = TypeOf(attachment);
    return (type == "mesh" || type == "linkedmesh") && parent && parent->type == JsonNode::String;
  }

  static std::string TypeOf(const JsonNode& attachment) {
    const JsonNode* type = attachment.find("type");
    return type && type->type == JsonNode::String ? type->text : "region";
  }

  // The attachment a linked mesh names as its parent, with its skin and key; null when there is none.
  const JsonNode* LinkedParent(const JsonNode& linked, const std::string& slot, std::string& skin, std::string& name) {
    const JsonNode* skinNode = linked.find("skin");
    const JsonNode* parent = linked.find("parent");
    if (!parent || parent->type != JsonNode::String) return nullptr;
    skin = skinNode && skinNode->type == JsonNode::String ? skinNode->text : "default";
    name = parent->text;
    const auto found = _skins.find(skin);
    if (found == _skins.end()) return nullptr;
    const auto& attachments = found->second.slots[slot];
    const auto named = attachments.find(name);
    return named == attachments.end() ? nullptr : named->second;
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
      bool whole = triangles->children.size() % 3 == 0;
      for (size_t i = 0; i < triangles->children.size(); ++i) {
        const float index = triangles->children[i].number;
        if (!(index >= 0 && index < static_cast<float>(uvs.size() / 2))) {
          error("mesh-triangle-index", triangles->children[i], Join(Join(path, "triangles"), std::to_string(i)),
                "triangle index " + triangles->children[i].text + " is past the " + std::to_string(uvs.size() / 2) +
                    " vertices that \"uvs\" gives");
          whole = false;
          break;
        }
      }
      if (whole) degenerate(*triangles, uvs, Join(path, "triangles"));
    }
    if (const JsonNode* list = node.find("uvs"))
      for (size_t i = 0; i < list->children.size(); ++i)
        if (const float uv = list->children[i].number; uv < 0 || uv > 1) {
          warning("mesh-uv-range", list->children[i], Join(Join(path, "uvs"), std::to_string(i)),
                  "the texture coordinate " + list->children[i].text +
                      " is outside 0 to 1: the mesh shows pixels of the page outside its region");
          break;
        }
    if (const JsonNode* hull = node.find("hull"); Finite(hull) && (hull->number < 0 || hull->number > uvs.size() / 2))
      warning("mesh-hull", *hull, Join(path, "hull"),
              "a hull of " + hull->text + " vertices, but the mesh has " + std::to_string(uvs.size() / 2));
    vertices(node, uvs.size(), path);
  }

  // Triangles with a corner twice, or with no area in the texture, show nothing.
  void degenerate(const JsonNode& triangles, const std::vector<float>& uvs, const std::string& path) {
    for (size_t i = 0; i + 2 < triangles.children.size(); i += 3) {
      const size_t a = static_cast<size_t>(triangles.children[i].number),
                   b = static_cast<size_t>(triangles.children[i + 1].number),
                   c = static_cast<size_t>(triangles.children[i + 2].number);
      if (std::max({a, b, c}) >= uvs.size() / 2) return;
      const double area = (double{uvs[2 * b]} - uvs[2 * a]) * (double{uvs[2 * c + 1]} - uvs[2 * a + 1]) -
                          (double{uvs[2 * c]} - uvs[2 * a]) * (double{uvs[2 * b + 1]} - uvs[2 * a + 1]);
      if (a != b && b != c && a != c && std::abs(area) > 1e-12) continue;
      warning("mesh-degenerate-triangle", triangles.children[i], Join(path, std::to_string(i)),
              "the triangle " + triangles.children[i].text + ", " + triangles.children[i + 1].text + ", " +
                  triangles.children[i + 2].text +
                  (a == b || b == c || a == c ? " uses a vertex twice" : " has no area in the texture") +
                  ": it draws nothing");
      return;
    }
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
    if (values.size() == length) {
      deformLengthOf[&node] = length;
      return;
    }
    size_t vertices = 0, i = 0, entries = 0;
    bool weightsTold = false;
    while (i < values.size()) {
      const float count = values[i++];
      if (!(count >= 0 && count <= static_cast<float>((values.size() - i) / 4))) {
        error("mesh-vertices-short", anchor, where,
              "\"vertices\" ends inside a weighted vertex: " + std::to_string(values.size()) + " numbers are neither " +
                  std::to_string(length) + " plain ones nor whole weighted vertices");
        return;
      }
      const size_t countAt = i - 1;
      double sum = 0;
      for (size_t end = i + static_cast<size_t>(count) * 4; i < end; i += 4) {
        const float bone = values[i];
        if (!(bone >= 0 && bone < static_cast<float>(_bones.list.size()))) {
          error(
              "mesh-bone-index", list->children[i], Join(where, std::to_string(i)),
              "bone index " + list->children[i].text + " is past the " + std::to_string(_bones.list.size()) + " bones");
          return;
        }
        sum += values[i + 3];
      }
      if (std::abs(sum - 1) > 0.01 && !weightsTold) {
        weightsTold = true;
        warning("mesh-weights-sum", list->children[countAt], Join(where, std::to_string(countAt)),
                "the weights of vertex " + std::to_string(vertices) + " add up to " + Number(static_cast<float>(sum)) +
                    ", not 1: the game draws it away from its place");
      }
      ++vertices;
      entries += static_cast<size_t>(count);
    }
    if (vertices * 2 == length) deformLengthOf[&node] = entries * 2;
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
      _lastKey = 0;
      _keyed = false;
      _eventTimes.clear();
      const int errors = _report.errorCount();
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
      if (!_keyed && _eventTimes.empty() && _report.errorCount() == errors)
        _report.warning("empty-animation", at(animation, path, true),
                        "the animation " + Q(animation.name) + " has no keys: it shows the setup pose and lasts 0 s");
      for (const JsonNode* time : _eventTimes)
        if (_keyed && time->number > _lastKey) {
          warning("event-after-last-key", *time, path + "/events",
                  "an event at " + time->text + " comes after the last key at " + Number(_lastKey) +
                      ": it makes the animation longer, and it holds still until then");
          break;
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
      if (frame.find("curve")) curveX(frame, where);
      const JsonNode* time = frame.find("time");
      if (!time || time->type != JsonNode::Number || !std::isfinite(time->number)) continue;
      if (time->number < 0)
        error("negative-time", *time, Join(where, "time"), "the key time " + time->text + " is before the start");
      else if (lastTime && time->number < last)
        error("time-order", *time, Join(where, "time"),
              "the key time " + time->text + " comes after " + lastTime->text + ": keys must be in time order");
      else if (lastTime && time->number == last && &rules != &kEventKey)
        warning(
            "key-same-time", *time, Join(where, "time"),
            "a second key at the time " + time->text + ": the game jumps to it at once and never shows the one before");
      last = time->number;
      lastTime = time;
    }
    // The game's animation lasts until the last key of its longest timeline.
    if (list.children.empty()) return;
    const JsonNode* final = list.children.back().find("time");
    const float end = Finite(final) ? final->number : 0;
    if (&rules == &kEventKey) {
      for (const JsonNode& frame : list.children)
        if (const JsonNode* time = frame.find("time"); Finite(time)) _eventTimes.push_back(time);
    } else {
      _lastKey = std::max(_lastKey, end);
      _keyed = true;
    }
  }

  // A curve's control points x must lie between its keys, else time runs backwards in it.
  void curveX(const JsonNode& frame, const std::string& path) {
    const JsonNode* curve = frame.find("curve");
    if (!curve || curve->type != JsonNode::Number) return;
    for (const char* key : {"curve", "c3"})
      if (const JsonNode* x = frame.find(key); Finite(x) && (x->number < 0 || x->number > 1)) {
        warning("curve-x-range", *x, Join(path, key),
                "the curve's x value " + x->text + " is outside 0 to 1: the motion runs back and forth in time");
        return;
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
          const auto named = attachments.find(attachment.name);
          if (named == attachments.end())
            _report.error("unknown-name", at(attachment, where, true),
                          "the skin " + Q(skin.name) + " has no attachment " + Q(attachment.name) + " under slot " +
                              Q(slot.name));
          frames(attachment, where, kCurve + KeyRules{{"vertices", Want::Numbers}, {"offset", Want::Number}});
          if (named != attachments.end()) deformKeys(attachment, *named->second, slot.name, where);
        }
      }
    }
  }

  // Each key of a deform timeline must fit in the attachment's vertices.
  void deformKeys(const JsonNode& list, const JsonNode& attachment, const std::string& slot, const std::string& path) {
    const JsonNode* mesh = &attachment;
    std::string skin, name;
    for (size_t steps = 0; mesh && IsLinked(*mesh) && steps < 64; ++steps) mesh = LinkedParent(*mesh, slot, skin, name);
    const std::string type = TypeOf(attachment);
    if (type == "region" || type == "point") {
      _report.error("deform-not-vertices", at(list, path, true),
                    "the attachment " + Q(attachment.name) + " is a " + type + ", which has no vertices to deform");
      return;
    }
    const auto length = mesh ? deformLengthOf.find(mesh) : deformLengthOf.end();
    if (length == deformLengthOf.end() || list.type != JsonNode::Array) return;
    for (size_t i = 0; i < list.children.size(); ++i) {
      const JsonNode& key = list.children[i];
      const JsonNode* vertices = key.find("vertices");
      if (!vertices) continue;
      const JsonNode* offsetNode = key.find("offset");
      const long long offset = offsetNode && offsetNode->type == JsonNode::Number ? IntOf(*offsetNode) : 0;
      const long long count = static_cast<long long>(vertices->children.size());
      const long long room = static_cast<long long>(length->second);
      if (offset >= 0 && offset <= room && count <= room - offset) continue;
      error("deform-too-long", offsetNode && (offset < 0 || offset > room) ? *offsetNode : *vertices,
            Join(Join(path, std::to_string(i)), offsetNode && (offset < 0 || offset > room) ? "offset" : "vertices"),
            std::to_string(count) + " values from offset " + std::to_string(offset) + " run past the " +
                std::to_string(room) + " that the attachment " + Q(attachment.name) + " deforms");
    }
  }

  // The game names slots in slot order, each once, moved to distinct places inside the order.
  void drawOrderFrame(const JsonNode& frame, const std::string& path, const std::string&) {
    const JsonNode* offsets = frame.find("offsets");
    if (!offsets || offsets->type != JsonNode::Array) return;
    const long long slotCount = static_cast<long long>(_slots.list.size());
    std::map<long long, std::string> taken;
    long long next = 0;
    std::string previous;
    for (size_t i = 0; i < offsets->children.size(); ++i) {
      const JsonNode& offset = offsets->children[i];
      const std::string where = Join(Join(path, "offsets"), std::to_string(i));
      if (!keys(offset, KeyRules{{"slot", Want::Text}, {"offset", Want::Number}}, where)) continue;
      const JsonNode* slot = offset.find("slot");
      if (!slot || !refer(_slots, *slot, Join(where, "slot"), "slot")) return;
      if (slot->type != JsonNode::String) return;
      const long long index = static_cast<long long>(_slots.first.at(slot->text));
      if (index < next) {
        error("draw-order-slot-order", *slot, Join(where, "slot"),
              "the slot " + Q(slot->text) +
                  (slot->text == previous ? " is named twice" : " comes after " + Q(previous)) +
                  " here, but before it in \"slots\": name the slots in their order, each once");
        return;
      }
      next = index + 1;
      previous = slot->text;
      const JsonNode* by = offset.find("offset");
      const long long position = index + (by && by->type == JsonNode::Number ? IntOf(*by) : 0);
      if (position < 0 || position >= slotCount) {
        error("draw-order-offset-range", by ? *by : *slot, Join(where, by ? "offset" : "slot"),
              "the offset moves " + Q(slot->text) + " to place " + std::to_string(position) + ", outside the " +
                  std::to_string(slotCount) + " slots");
        return;
      }
      const auto first = taken.emplace(position, slot->text);
      if (!first.second) {
        error("draw-order-position-taken", by ? *by : *slot, Join(where, by ? "offset" : "slot"),
              "the offset moves " + Q(slot->text) + " to place " + std::to_string(position) + ", where " +
                  Q(first.first->second) + " goes already");
        return;
      }
    }
  }

  void eventFrame(const JsonNode& frame, const std::string& path, const std::string&) {
    if (const JsonNode* name = frame.find("name")) refer(_events, *name, Join(path, "name"), "event");
  }

  struct ConstraintEntry {
    const char* what;
    std::string name, path;
    const JsonNode* entry;
    const JsonNode* order;
  };

  const std::string& _text;
  const std::string& _file;
  const skel::Atlas* _atlas;
  Report& _report;
  std::vector<size_t> _lineStarts;
  Names _bones, _slots, _ik, _transform, _path, _skinNames, _events;
  std::map<std::string, SkinEntry> _skins;
  std::map<std::string, std::set<std::string>> _anySkin;  // slot → attachment keys in any skin
  std::vector<std::string> _regions;
  std::map<std::string, std::string> _parents, _slotBones;  // bone → parent, slot → bone
  std::vector<ConstraintEntry> _constraints;                // in the order the game weighs them
  std::map<const JsonNode*, size_t> deformLengthOf;         // an attachment → the values its deform keys hold
  float _lastKey = 0;                                       // of the animation being read
  bool _keyed = false;
  std::vector<const JsonNode*> _eventTimes;
};

}  // namespace

void LintSkeleton(const std::string& text, const std::string& file, const skel::Atlas* atlas, Report& report) {
  JsonNode root;
  if (!ParseJsonTree(text, root)) return;
  Linter(text, file, atlas, report).run(root);
}

}  // namespace skelcheck
