#include "EditCommands.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <iterator>

#include "Editor.h"
#include "JsonWriter.h"

namespace skeledit {

namespace {

const char* const kBoneFields[] = {"x", "y", "rotation", "scaleX", "scaleY", "shearX", "shearY", "length"};
// The section of each constraint kind and where it names bones.
const char* const kConstraintSections[] = {"ik", "transform", "path"};
// The top level's sections in the order files have them, so a new one goes
// where a reader of the file looks for it.
const char* const kSectionOrder[] = {"skeleton", "bones", "slots",  "ik",        "transform",
                                     "path",     "skins", "events", "animations"};

int SectionRank(const std::string& key) {
  for (size_t i = 0; i < std::size(kSectionOrder); ++i)
    if (SameKey(key, kSectionOrder[i])) return static_cast<int>(i);
  return static_cast<int>(std::size(kSectionOrder));
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

bool ParseNumber(const std::string& word, float& out) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(word.c_str(), &end);
  if (*end || errno == ERANGE || !std::isfinite(value) || !std::isfinite(static_cast<float>(value))) return false;
  out = static_cast<float>(value);
  return true;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? ", " : "") + parts[i];
  return out;
}

float FrameTime(const DocNode& frame) {
  const DocNode* time = frame.find("time");
  return time && time->type == DocNode::Number ? time->number : 0;
}

bool IsText(const DocNode* node, const std::string& text) {
  return node && node->type == DocNode::String && node->text == text;
}

// A number of the file as a whole number, held to int's range (file
// numbers may be any size).
int WholeNumber(float value) {
  if (!(value > -2147483520.f)) return value < 0 ? -2147483520 : 0;
  return value < 2147483520.f ? static_cast<int>(value) : 2147483520;
}

// The "name" text of an entry, empty when it has none.
std::string NameOf(const DocNode& entry) {
  const DocNode* name = entry.find("name");
  return name && name->type == DocNode::String ? name->text : "";
}

class Commands {
 public:
  Commands(Editor& editor, JsonDocument& document, std::string& error)
      : editor_(editor), doc_(document), error_(error) {}

  bool Run(const std::vector<std::string>& w) {
    const std::string& verb = w[0];
    const std::string kind = w.size() > 1 ? w[1] : "";
    if (verb == "set" && kind == "bone") return SetBone(w);
    if (verb == "add" && kind == "bone") return AddBone(w);
    if (verb == "delete" && kind == "bone") return DeleteBone(w);
    if (verb == "add" && kind == "slot") return AddSlot(w);
    if (verb == "attach") return Attach(w);
    if (verb == "order" && kind == "slot") return OrderSlot(w);
    if (verb == "key") return Key(w);
    if (verb == "unkey") return Unkey(w);
    if (verb == "move" && kind == "key") return MoveKey(w);
    if (verb == "rename") return Rename(w);
    if (verb == "retime") return Retime(w);
    return Fail("unknown command: " + verb + (kind.empty() ? "" : " " + kind));
  }

 private:
  bool Fail(const std::string& why) {
    error_ = why;
    return false;
  }
  bool Usage(const char* form) { return Fail(std::string("usage: ") + form); }
  bool Apply() { return doc_.Apply(error_); }
  DocNode& Root() { return doc_.Root(); }
  DocNode* Section(const char* key) { return Root().find(key); }
  DocNode* Bone(const std::string& name) {
    DocNode* bones = Section("bones");
    return bones ? bones->element_named(name) : nullptr;
  }
  DocNode* Slot(const std::string& name) {
    DocNode* slots = Section("slots");
    return slots ? slots->element_named(name) : nullptr;
  }
  DocNode* Animation(const std::string& name) {
    DocNode* animations = Section("animations");
    return animations ? animations->member_named(name) : nullptr;
  }
  bool Number(const std::string& word, const char* what, float& out) {
    if (ParseNumber(word, out)) return true;
    return Fail(std::string(what) + " must be a number, not " + Quoted(word));
  }
  bool NeedBone(const std::string& name) { return Bone(name) || Fail("no bone named " + Quoted(name)); }

  // Sets a member of an object, adding it at the end when the object has none.
  void SetMember(const DocNode& object, const std::string& key, const std::string& valueText) {
    if (const DocNode* member = object.find(key.c_str()))
      doc_.Replace(*member, valueText);
    else
      doc_.InsertMember(object, JsonString(key), valueText);
  }

  // The object or list at the end of a path of members from the top, made
  // (empty) where missing. Names used as keys are matched exactly, sections
  // ignoring case, as the loader finds them.
  struct Step {
    std::string key;
    bool exact;
    const char* empty;
  };
  DocNode* Ensure(const std::vector<Step>& path) {
    for (;;) {
      DocNode* node = &Root();
      size_t i = 0;
      for (; i < path.size(); ++i) {
        DocNode* next = path[i].exact ? node->member_named(path[i].key) : node->find(path[i].key.c_str());
        if (!next) break;
        node = next;
      }
      if (i == path.size()) return node;
      if (node->type != DocNode::Object) {
        Fail(Quoted(node->name) + " is not an object");
        return nullptr;
      }
      size_t at = node->children.size();
      if (i == 0)
        for (size_t k = 0; k < node->children.size() && at == node->children.size(); ++k)
          if (SectionRank(node->children[k].name) > SectionRank(path[0].key)) at = k;
      doc_.InsertMemberAt(*node, at, JsonString(path[i].key), path[i].empty);
      if (!Apply()) return nullptr;
    }
  }

  // Every skin object (the skins list), and each attachment in it with its
  // slot's name.
  void ForEachAttachment(const std::function<void(DocNode& skin, DocNode& slot, DocNode& attachment)>& visit) {
    DocNode* skins = Section("skins");
    if (!skins || skins->type != DocNode::Array) return;
    for (DocNode& skin : skins->children) {
      DocNode* attachments = skin.find("attachments");
      if (!attachments || attachments->type != DocNode::Object) continue;
      for (DocNode& slot : attachments->children)
        if (slot.type == DocNode::Object)
          for (DocNode& attachment : slot.children) visit(skin, slot, attachment);
    }
  }

  // Each animation and each of its sections that is an object.
  void ForEachAnimation(const std::function<void(DocNode& animation)>& visit) {
    DocNode* animations = Section("animations");
    if (!animations || animations->type != DocNode::Object) return;
    for (DocNode& animation : animations->children)
      if (animation.type == DocNode::Object) visit(animation);
  }

  bool SetBone(const std::vector<std::string>& w) {
    if (w.size() != 5) return Usage("set bone NAME FIELD VALUE");
    const DocNode* bone = Bone(w[2]);
    if (!bone) return Fail("no bone named " + Quoted(w[2]));
    bool known = false;
    for (const char* field : kBoneFields) known = known || w[3] == field;
    if (!known) return Fail(Quoted(w[3]) + " is not a bone field (x y rotation scaleX scaleY shearX shearY length)");
    float value;
    if (!Number(w[4], w[3].c_str(), value)) return false;
    SetMember(*bone, w[3], JsonNumber(value));
    return Apply();
  }

  bool AddBone(const std::vector<std::string>& w) {
    if (w.size() < 5 || w[3] != "parent" || w.size() % 2 == 0)
      return Usage("add bone NAME parent PARENT [x X] [y Y] [rotation R] [length L]");
    const std::string& name = w[2];
    if (name.empty()) return Fail("a bone needs a name");
    if (Bone(name)) return Fail("there is already a bone named " + Quoted(name));
    if (!NeedBone(w[4])) return false;
    JsonLine line;
    line.Add("name", name).Add("parent", w[4]);
    for (size_t i = 5; i + 1 < w.size(); i += 2) {
      if (w[i] != "x" && w[i] != "y" && w[i] != "rotation" && w[i] != "length")
        return Fail(Quoted(w[i]) + " is not one of x, y, rotation, length");
      float value;
      if (!Number(w[i + 1], w[i].c_str(), value)) return false;
      line.Add(w[i], value);
    }
    DocNode* bones = Ensure({{"bones", false, "[]"}});
    if (!bones) return false;
    doc_.InsertElement(*bones, bones->children.size(), line.Text());
    return Apply();
  }

  // The bone numbers of a weighted vertex list, each a number node of the list.
  static void WeightedBones(DocNode& attachment, std::vector<DocNode*>& bones) {
    DocNode* vertices = attachment.find("vertices");
    if (!vertices || vertices->type != DocNode::Array) return;
    size_t length = 0;
    if (const DocNode* uvs = attachment.find("uvs"))
      length = uvs->children.size();
    else if (const DocNode* count = attachment.find("vertexCount"))
      length = static_cast<size_t>(std::max(0, WholeNumber(count->number))) * 2;
    std::vector<DocNode>& v = vertices->children;
    if (v.size() == length) return;  // unweighted
    for (size_t i = 0; i < v.size();) {
      const int count = WholeNumber(v[i++].number);
      for (int b = 0; b < count && i < v.size(); ++b, i += 4) bones.push_back(&v[i]);
    }
  }

  bool DeleteBone(const std::vector<std::string>& w) {
    if (w.size() != 3) return Usage("delete bone NAME");
    const std::string& name = w[2];
    DocNode* bone = Bone(name);
    if (!bone) return Fail("no bone named " + Quoted(name));
    const int index = static_cast<int>(bone->index());
    std::vector<std::string> users;
    for (DocNode& other : Section("bones")->children)
      if (IsText(other.find("parent"), name)) users.push_back("bone " + Quoted(NameOf(other)));
    if (DocNode* slots = Section("slots"))
      for (DocNode& slot : slots->children)
        if (IsText(slot.find("bone"), name)) users.push_back("slot " + Quoted(NameOf(slot)));
    for (const char* section : kConstraintSections) {
      DocNode* list = Section(section);
      if (!list) continue;
      for (DocNode& constraint : list->children) {
        bool uses = IsText(constraint.find("target"), name) && std::string(section) != "path";
        if (DocNode* bones = constraint.find("bones"))
          for (DocNode& b : bones->children) uses = uses || IsText(&b, name);
        const DocNode* constraintName = constraint.find("name");
        if (uses)
          users.push_back(std::string(section) + " constraint " + Quoted(constraintName ? constraintName->text : ""));
      }
    }
    if (DocNode* skins = Section("skins"))
      for (DocNode& skin : skins->children)
        if (DocNode* bones = skin.find("bones"))
          for (DocNode& b : bones->children)
            if (IsText(&b, name)) users.push_back("skin " + Quoted(NameOf(skin)));
    ForEachAnimation([&](DocNode& animation) {
      DocNode* bones = animation.find("bones");
      if (bones && bones->member_named(name)) users.push_back("animation " + Quoted(animation.name));
    });
    // Weighted vertices count bones by their place in the list: those after
    // the one deleted move up by one.
    std::vector<DocNode*> renumbered;
    ForEachAttachment([&](DocNode&, DocNode& slot, DocNode& attachment) {
      std::vector<DocNode*> weighted;
      WeightedBones(attachment, weighted);
      bool uses = false;
      for (DocNode* b : weighted) {
        const int number = WholeNumber(b->number);
        uses = uses || number == index;
        if (number > index) renumbered.push_back(b);
      }
      if (uses) users.push_back("attachment " + Quoted(attachment.name) + " of slot " + Quoted(slot.name));
    });
    if (!users.empty()) return Fail("bone " + Quoted(name) + " is used by " + Join(users));
    if (Section("bones")->children.size() == 1) return Fail("a skeleton keeps at least one bone");
    for (DocNode* b : renumbered) doc_.Replace(*b, std::to_string(WholeNumber(b->number) - 1));
    doc_.Remove(*bone);
    return Apply();
  }

  DocNode* DefaultSkinAttachments() {
    if (!Ensure({{"skins", false, "[]"}})) return nullptr;
    DocNode* skins = Section("skins");
    if (skins->type != DocNode::Array) {
      Fail("\"skins\" is not a list");
      return nullptr;
    }
    if (!skins->element_named("default")) {
      // One member a line, as skins are written.
      const std::string unit = doc_.IndentUnit(), outer = doc_.LineIndent(skins->begin) + unit;
      doc_.InsertElement(
          *skins, 0,
          "{\n" + outer + unit + "\"name\": \"default\",\n" + outer + unit + "\"attachments\": {}\n" + outer + "}");
      if (!Apply()) return nullptr;
      skins = Section("skins");
    }
    DocNode* skin = skins->element_named("default");
    if (!skin->find("attachments")) {
      doc_.InsertMember(*skin, "\"attachments\"", "{}");
      if (!Apply()) return nullptr;
      skin = Section("skins")->element_named("default");
    }
    return skin->find("attachments");
  }

  // A region attachment for the slot in the default skin, sized as the
  // region, unless some skin has one of that name for the slot already.
  bool EnsureAttachment(const std::string& slot, const std::string& region) {
    bool found = false;
    ForEachAttachment([&](DocNode&, DocNode& slotNode, DocNode& attachment) {
      found = found || (slotNode.name == slot && attachment.name == region);
    });
    if (found) return true;
    float width, height;
    if (!editor_.RegionSize(region, width, height)) return Fail("the atlas has no region named " + Quoted(region));
    DocNode* attachments = DefaultSkinAttachments();
    if (!attachments) return false;
    if (!attachments->member_named(slot)) {
      doc_.InsertMember(*attachments, JsonString(slot), "{}");
      if (!Apply()) return false;
      attachments = Section("skins")->element_named("default")->find("attachments");
    }
    doc_.InsertMember(*attachments->member_named(slot), JsonString(region),
                      JsonLine().Add("width", width).Add("height", height).Text());
    return Apply();
  }

  bool AddSlot(const std::vector<std::string>& w) {
    if ((w.size() != 5 && w.size() != 7) || w[3] != "bone" || (w.size() == 7 && w[5] != "attachment"))
      return Usage("add slot NAME bone BONE [attachment REGION]");
    const std::string& name = w[2];
    if (name.empty()) return Fail("a slot needs a name");
    if (Slot(name)) return Fail("there is already a slot named " + Quoted(name));
    if (!NeedBone(w[4])) return false;
    if (w.size() == 7 && !EnsureAttachment(name, w[6])) return false;
    JsonLine line;
    line.Add("name", name).Add("bone", w[4]);
    if (w.size() == 7) line.Add("attachment", w[6]);
    DocNode* slots = Ensure({{"slots", false, "[]"}});
    if (!slots) return false;
    doc_.InsertElement(*slots, slots->children.size(), line.Text());
    return Apply();
  }

  bool Attach(const std::vector<std::string>& w) {
    if (w.size() != 3) return Usage("attach SLOT REGION");
    if (!Slot(w[1])) return Fail("no slot named " + Quoted(w[1]));
    if (!EnsureAttachment(w[1], w[2])) return false;
    SetMember(*Slot(w[1]), "attachment", JsonString(w[2]));
    return Apply();
  }

  bool OrderSlot(const std::vector<std::string>& w) {
    if (w.size() != 5 || w[3] != "to") return Usage("order slot NAME to N");
    DocNode* slot = Slot(w[2]);
    if (!slot) return Fail("no slot named " + Quoted(w[2]));
    const size_t count = Section("slots")->children.size();
    char* end = nullptr;
    const long to = std::strtol(w[4].c_str(), &end, 10);
    if (w[4].empty() || *end || to < 0 || static_cast<size_t>(to) >= count)
      return Fail("the place must be a whole number from 0 to " + std::to_string(count - 1) + ", not " + Quoted(w[4]));
    // Draw order keys count slots by their place: moving one would change them.
    std::vector<std::string> keyed;
    ForEachAnimation([&](DocNode& animation) {
      if (animation.find("drawOrder") || animation.find("draworder")) keyed.push_back(Quoted(animation.name));
    });
    if (!keyed.empty()) return Fail("animation " + Join(keyed) + " keys the draw order by slot places");
    if (slot->index() == static_cast<size_t>(to)) return true;
    const std::string text = doc_.Text().substr(slot->begin, slot->end - slot->begin);
    doc_.Remove(*slot);
    if (!Apply()) return false;
    doc_.InsertElement(*Section("slots"), static_cast<size_t>(to), text);
    return Apply();
  }

  // ANIM bone NAME TYPE: the timeline's type and the value keys it holds.
  bool TimelineOf(const std::string& type, std::vector<const char*>& keys) {
    if (type == "rotate")
      keys = {"angle"};
    else if (type == "translate" || type == "scale")
      keys = {"x", "y"};
    else
      return Fail(Quoted(type) + " is not rotate, translate or scale");
    return true;
  }

  bool Key(const std::vector<std::string>& w) {
    std::vector<const char*> keys;
    if (w.size() < 6 || w[2] != "bone") return Usage("key ANIM bone NAME rotate|translate|scale TIME VALUE...");
    if (!TimelineOf(w[4], keys)) return false;
    if (w.size() != 6 + keys.size())
      return Fail(w[4] + " keys take a time and " + (keys.size() == 1 ? "an angle" : "x and y"));
    if (w[1].empty()) return Fail("an animation needs a name");
    if (!NeedBone(w[3])) return false;
    float time;
    std::vector<float> values(keys.size());
    if (!Number(w[5], "the time", time)) return false;
    if (time < 0) return Fail("a key's time cannot be below 0");
    for (size_t i = 0; i < keys.size(); ++i)
      if (!Number(w[6 + i], keys[i], values[i])) return false;
    DocNode* frames = Ensure({{"animations", false, "{}"},
                              {w[1], true, "{}"},
                              {"bones", false, "{}"},
                              {w[3], true, "{}"},
                              {w[4], true, "[]"}});
    if (!frames) return false;
    if (frames->type != DocNode::Array) return Fail("the " + w[4] + " timeline is not a list");
    for (DocNode& frame : frames->children) {
      if (FrameTime(frame) != time) continue;
      for (size_t i = 0; i < keys.size(); ++i) SetMember(frame, keys[i], JsonNumber(values[i]));
      return Apply();
    }
    size_t at = 0;
    while (at < frames->children.size() && FrameTime(frames->children[at]) <= time) ++at;
    JsonLine line;
    line.Add("time", time);
    for (size_t i = 0; i < keys.size(); ++i) line.Add(keys[i], values[i]);
    doc_.InsertElement(*frames, at, line.Text());
    return Apply();
  }

  bool Unkey(const std::vector<std::string>& w) {
    std::vector<const char*> keys;
    if (w.size() != 6 || w[2] != "bone") return Usage("unkey ANIM bone NAME rotate|translate|scale TIME");
    if (!TimelineOf(w[4], keys)) return false;
    float time;
    if (!Number(w[5], "the time", time)) return false;
    DocNode* animation = Animation(w[1]);
    if (!animation) return Fail("no animation named " + Quoted(w[1]));
    DocNode* bones = animation->find("bones");
    DocNode* bone = bones ? bones->member_named(w[3]) : nullptr;
    DocNode* frames = bone ? bone->member_named(w[4]) : nullptr;
    DocNode* frame = nullptr;
    if (frames)
      for (DocNode& f : frames->children)
        if (!frame && FrameTime(f) == time) frame = &f;
    if (!frame)
      return Fail("animation " + Quoted(w[1]) + " has no " + w[4] + " key of bone " + Quoted(w[3]) + " at " + w[5]);
    // An emptied timeline goes with its key, and so on up: an empty list of keys is no timeline.
    if (frames->children.size() > 1)
      doc_.Remove(*frame);
    else if (bone->children.size() > 1)
      doc_.Remove(*frames);
    else if (bones->children.size() > 1)
      doc_.Remove(*bone);
    else
      doc_.Remove(*bones);
    return Apply();
  }

  bool MoveKey(const std::vector<std::string>& w) {
    std::vector<const char*> keys;
    if (w.size() != 8 || w[3] != "bone") return Usage("move key ANIM bone NAME rotate|translate|scale FROM TO");
    if (!TimelineOf(w[5], keys)) return false;
    float from, to;
    if (!Number(w[6], "the time", from) || !Number(w[7], "the time", to)) return false;
    if (to < 0) return Fail("a key's time cannot be below 0");
    DocNode* animation = Animation(w[2]);
    DocNode* bones = animation ? animation->find("bones") : nullptr;
    DocNode* bone = bones ? bones->member_named(w[4]) : nullptr;
    DocNode* frames = bone ? bone->member_named(w[5]) : nullptr;
    DocNode* frame = nullptr;
    if (frames)
      for (DocNode& f : frames->children) {
        if (FrameTime(f) == to && from != to) return Fail("there is already a " + w[5] + " key at " + w[7]);
        if (!frame && FrameTime(f) == from) frame = &f;
      }
    if (!frame)
      return Fail("animation " + Quoted(w[2]) + " has no " + w[5] + " key of bone " + Quoted(w[4]) + " at " + w[6]);
    // The key keeps its own text (its curve too); it moves among the others
    // so the times stay in order, as the loader needs them.
    size_t at = 0;
    for (const DocNode& f : frames->children)
      if (&f != frame && FrameTime(f) <= to) ++at;
    if (at != frame->index()) {
      const std::string text = doc_.Text().substr(frame->begin, frame->end - frame->begin);
      doc_.Remove(*frame);
      if (!Apply()) return false;
      frames = Animation(w[2])->find("bones")->member_named(w[4])->member_named(w[5]);
      doc_.InsertElement(*frames, at, text);
      if (!Apply()) return false;
      frames = Animation(w[2])->find("bones")->member_named(w[4])->member_named(w[5]);
    }
    SetMember(frames->children[at], "time", JsonNumber(to));
    return Apply();
  }

  // Every text and key naming what is renamed, as its kind's references go.
  void RenameBoneRefs(const std::string& from, std::vector<DocNode*>& values, std::vector<DocNode*>& keys) {
    if (DocNode* bones = Section("bones"))
      for (DocNode& bone : bones->children)
        for (const char* key : {"name", "parent"})
          if (IsText(bone.find(key), from)) values.push_back(bone.find(key));
    if (DocNode* slots = Section("slots"))
      for (DocNode& slot : slots->children)
        if (IsText(slot.find("bone"), from)) values.push_back(slot.find("bone"));
    for (const char* section : kConstraintSections)
      if (DocNode* list = Section(section))
        for (DocNode& constraint : list->children) {
          if (std::string(section) != "path" && IsText(constraint.find("target"), from))
            values.push_back(constraint.find("target"));
          if (DocNode* bones = constraint.find("bones"))
            for (DocNode& b : bones->children)
              if (IsText(&b, from)) values.push_back(&b);
        }
    if (DocNode* skins = Section("skins"))
      for (DocNode& skin : skins->children)
        if (DocNode* bones = skin.find("bones"))
          for (DocNode& b : bones->children)
            if (IsText(&b, from)) values.push_back(&b);
    ForEachAnimation([&](DocNode& animation) {
      DocNode* bones = animation.find("bones");
      if (DocNode* bone = bones ? bones->member_named(from) : nullptr) keys.push_back(bone);
    });
  }

  void RenameSlotRefs(const std::string& from, std::vector<DocNode*>& values, std::vector<DocNode*>& keys) {
    if (DocNode* slots = Section("slots"))
      for (DocNode& slot : slots->children)
        if (IsText(slot.find("name"), from)) values.push_back(slot.find("name"));
    if (DocNode* paths = Section("path"))
      for (DocNode& constraint : paths->children)
        if (IsText(constraint.find("target"), from)) values.push_back(constraint.find("target"));
    if (DocNode* skins = Section("skins"))
      for (DocNode& skin : skins->children)
        if (DocNode* attachments = skin.find("attachments"))
          if (DocNode* slot = attachments->member_named(from)) keys.push_back(slot);
    ForEachAttachment([&](DocNode&, DocNode&, DocNode& attachment) {
      if (IsText(attachment.find("end"), from)) values.push_back(attachment.find("end"));
    });
    ForEachAnimation([&](DocNode& animation) {
      DocNode* slots = animation.find("slots");
      if (DocNode* slot = slots ? slots->member_named(from) : nullptr) keys.push_back(slot);
      if (DocNode* deform = animation.find("deform"))
        for (DocNode& skin : deform->children)
          if (DocNode* slot = skin.member_named(from)) keys.push_back(slot);
      for (const char* key : {"drawOrder", "draworder"})
        if (DocNode* order = animation.member_named(key))
          for (DocNode& frame : order->children)
            if (DocNode* offsets = frame.find("offsets"))
              for (DocNode& offset : offsets->children)
                if (IsText(offset.find("slot"), from)) values.push_back(offset.find("slot"));
    });
  }

  bool Rename(const std::vector<std::string>& w) {
    if (w.size() != 4) return Usage("rename bone|slot|skin|animation|event OLD NEW");
    const std::string &kind = w[1], &from = w[2], &to = w[3];
    if (to.empty()) return Fail("a name cannot be empty");
    std::vector<DocNode*> values, keys;
    if (kind == "bone") {
      if (!Bone(from)) return Fail("no bone named " + Quoted(from));
      if (Bone(to)) return Fail("there is already a bone named " + Quoted(to));
      RenameBoneRefs(from, values, keys);
    } else if (kind == "slot") {
      if (!Slot(from)) return Fail("no slot named " + Quoted(from));
      if (Slot(to)) return Fail("there is already a slot named " + Quoted(to));
      RenameSlotRefs(from, values, keys);
    } else if (kind == "skin") {
      DocNode* skins = Section("skins");
      DocNode* skin = skins ? skins->element_named(from) : nullptr;
      if (!skin) return Fail("no skin named " + Quoted(from));
      if (skins->element_named(to)) return Fail("there is already a skin named " + Quoted(to));
      if (from == "default" || to == "default")
        return Fail("the skin named \"default\" is the default skin: renaming to or from it changes what is drawn");
      values.push_back(skin->find("name"));
      ForEachAnimation([&](DocNode& animation) {
        DocNode* deform = animation.find("deform");
        if (DocNode* s = deform ? deform->member_named(from) : nullptr) keys.push_back(s);
      });
      ForEachAttachment([&](DocNode&, DocNode&, DocNode& attachment) {
        if (attachment.find("parent") && IsText(attachment.find("skin"), from))
          values.push_back(attachment.find("skin"));
      });
    } else if (kind == "animation") {
      DocNode* animation = Animation(from);
      if (!animation) return Fail("no animation named " + Quoted(from));
      if (Animation(to)) return Fail("there is already an animation named " + Quoted(to));
      keys.push_back(animation);
    } else if (kind == "event") {
      DocNode* events = Section("events");
      DocNode* event = events ? events->member_named(from) : nullptr;
      if (!event) return Fail("no event named " + Quoted(from));
      if (events->member_named(to)) return Fail("there is already an event named " + Quoted(to));
      keys.push_back(event);
      ForEachAnimation([&](DocNode& animation) {
        if (DocNode* keyed = animation.find("events"))
          for (DocNode& frame : keyed->children)
            if (IsText(frame.find("name"), from)) values.push_back(frame.find("name"));
      });
    } else {
      return Fail(Quoted(kind) + " is not bone, slot, skin, animation or event");
    }
    for (DocNode* value : values) doc_.Replace(*value, JsonString(to));
    for (DocNode* key : keys) doc_.RenameMember(*key, JsonString(to));
    return Apply();
  }

  bool Retime(const std::vector<std::string>& w) {
    if (w.size() != 3) return Usage("retime ANIM FACTOR");
    DocNode* animation = Animation(w[1]);
    if (!animation) return Fail("no animation named " + Quoted(w[1]));
    float factor;
    if (!Number(w[2], "the factor", factor)) return false;
    if (factor <= 0) return Fail("the factor must be above 0");
    // Every key of every timeline is an object in a list with its time.
    std::function<void(DocNode&)> walk = [&](DocNode& node) {
      for (DocNode& child : node.children) {
        if (node.type == DocNode::Array && child.type == DocNode::Object)
          if (DocNode* time = child.find("time"))
            if (time->type == DocNode::Number && time->number != 0)
              doc_.Replace(*time, JsonNumber(static_cast<float>(static_cast<double>(time->number) * factor)));
        walk(child);
      }
    };
    walk(*animation);
    return Apply();
  }

  Editor& editor_;
  JsonDocument& doc_;
  std::string& error_;
};

}  // namespace

bool EditCommands::Run(Editor& editor, const std::vector<std::string>& words, std::string& error) {
  return Commands(editor, editor.document_, error).Run(words);
}

}  // namespace skeledit
