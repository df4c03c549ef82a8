// The skeleton JSON reader. Sections are read in file-format order, each one
// able to refer only to what came before it; linked meshes wait until every
// skin is read. Everything a timeline or the pose code will later index by is
// checked here, so that data which loads can be posed and drawn safely.
#include "skel/SkeletonJson.h"

#include <cstring>
#include <functional>
#include <string>

#include "skel/Animation.h"
#include "skel/Atlas.h"
#include "skel/AtlasAttachmentLoader.h"
#include "skel/AttachmentTimeline.h"
#include "skel/BoneData.h"
#include "skel/BoundingBoxAttachment.h"
#include "skel/ClippingAttachment.h"
#include "skel/ColorTimeline.h"
#include "skel/DeformTimeline.h"
#include "skel/DrawOrderTimeline.h"
#include "skel/Event.h"
#include "skel/EventData.h"
#include "skel/EventTimeline.h"
#include "skel/IkConstraintData.h"
#include "skel/IkConstraintTimeline.h"
#include "skel/Json.h"
#include "skel/LinkedMesh.h"
#include "skel/MeshAttachment.h"
#include "skel/PathAttachment.h"
#include "skel/PathConstraintData.h"
#include "skel/PathConstraintMixTimeline.h"
#include "skel/PathConstraintPositionTimeline.h"
#include "skel/PathConstraintSpacingTimeline.h"
#include "skel/PointAttachment.h"
#include "skel/RegionAttachment.h"
#include "skel/RotateTimeline.h"
#include "skel/ScaleTimeline.h"
#include "skel/ShearTimeline.h"
#include "skel/SkelExtension.h"
#include "skel/SkeletonData.h"
#include "skel/Skin.h"
#include "skel/SlotData.h"
#include "skel/TransformConstraintData.h"
#include "skel/TransformConstraintTimeline.h"
#include "skel/TranslateTimeline.h"
#include "skel/TwoColorTimeline.h"

namespace skel {

namespace {

// Files of this editor version hold data this runtime cannot read.
const char* const unsupportedVersion = "3.8.75";

Json* firstChild(Json* node) { return node ? node->getChild() : nullptr; }

// "line L, column C" of a place in the text, both counted from 1, the column
// in bytes.
std::string lineAndColumn(const char* text, const char* at) {
  size_t line = 1;
  const char* lineStart = text;
  for (const char* c = text; c < at; ++c)
    if (*c == '\n') {
      ++line;
      lineStart = c + 1;
    }
  return "line " + std::to_string(line) + ", column " + std::to_string(at - lineStart + 1);
}

bool textIs(const char* text, const char* word) { return text && std::strcmp(text, word) == 0; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Channel k of an RRGGBBAA text; -1 when its pair is missing or not hexadecimal.
float colorChannel(const char* text, size_t k) {
  if (std::strlen(text) < 2 * (k + 1)) return -1;
  int high = hexValue(text[2 * k]), low = hexValue(text[2 * k + 1]);
  if (high < 0 || low < 0) return -1;
  return static_cast<float>(high * 16 + low) / 255.0f;
}

// Fills the colour from the text under key when the key is present (a value
// that is not a text counts as an empty one); false when it is absent.
bool readColor(Json* map, const char* key, Color& color, bool withAlpha) {
  Json* item = Json::getItem(map, key);
  if (!item) return false;
  const char* text = item->getValueString() ? item->getValueString() : "";
  // The channels are stored as read: invalid ones stay -1 rather than being clamped.
  color.r = colorChannel(text, 0);
  color.g = colorChannel(text, 1);
  color.b = colorChannel(text, 2);
  color.a = withAlpha ? colorChannel(text, 3) : 1;
  return true;
}

// The colour of a timeline key; a key without one is white (light) or black (dark).
Color keyColor(Json* map, const char* key, bool withAlpha) {
  Color color = withAlpha ? Color(1, 1, 1, 1) : Color(0, 0, 0, 1);
  readColor(map, key, color, withAlpha);
  return color;
}

TransformMode transformMode(const char* text) {
  if (textIs(text, "onlyTranslation")) return TransformMode::OnlyTranslation;
  if (textIs(text, "noRotationOrReflection")) return TransformMode::NoRotationOrReflection;
  if (textIs(text, "noScale")) return TransformMode::NoScale;
  if (textIs(text, "noScaleOrReflection")) return TransformMode::NoScaleOrReflection;
  return TransformMode::Normal;
}

BlendMode blendMode(const char* text) {
  if (textIs(text, "additive")) return BlendMode::Additive;
  if (textIs(text, "multiply")) return BlendMode::Multiply;
  if (textIs(text, "screen")) return BlendMode::Screen;
  return BlendMode::Normal;
}

// The path modes fall back to their first value (0) for an unknown text.
PositionMode positionMode(const char* text) {
  return textIs(text, "percent") ? PositionMode::Percent : PositionMode::Fixed;
}

SpacingMode spacingMode(const char* text) {
  if (textIs(text, "fixed")) return SpacingMode::Fixed;
  if (textIs(text, "percent")) return SpacingMode::Percent;
  return SpacingMode::Length;
}

RotateMode rotateMode(const char* text) {
  if (textIs(text, "chain")) return RotateMode::Chain;
  if (textIs(text, "chainScale")) return RotateMode::ChainScale;
  return RotateMode::Tangent;
}

bool scalesPosition(PositionMode mode) { return mode == PositionMode::Fixed; }
bool scalesSpacing(SpacingMode mode) { return mode == SpacingMode::Length || mode == SpacingMode::Fixed; }

// The index of item in list; the item is known to be there.
template <typename T>
int indexIn(const Vector<T*>& list, T* item) {
  return static_cast<int>(list.indexOf(item));
}

// The time of a timeline's last key.
float lastKeyTime(const Timeline& timeline) {
  const Vector<float>& frames = timeline.getFrames();
  size_t entries = timeline.getEntries();
  return frames.size() >= entries ? frames[frames.size() - entries] : 0;
}

}  // namespace

// One read: the data being built and the first failure met. Every read
// operation returns false once the read has failed.
class SkeletonJson::Reader {
 public:
  Reader(SkeletonJson& json, SkeletonData& data) : _json(json), _data(data), _scale(json._scale) {}

  // Each section is let go once read, so a large file's tree shrinks as
  // its skeleton grows.
  // A request that failed anywhere in a section, even one whose caller
  // went on without it (a name copied empty), fails the read there.
  bool read(Json* root) {
    return readSkeleton(section(root, "skeleton")) && whole("skeleton") && readBones(section(root, "bones")) &&
           whole("bones") && readSlots(section(root, "slots")) && whole("slots") &&
           readIkConstraints(section(root, "ik")) && whole("ik") &&
           readTransformConstraints(section(root, "transform")) && whole("transform") &&
           readPathConstraints(section(root, "path")) && whole("path") && readSkins(section(root, "skins")) &&
           whole("skins") && resolveLinkedMeshes() && whole("linked meshes") && readEvents(section(root, "events")) &&
           whole("events") && readAnimations(section(root, "animations")) && whole("animations");
  }

 private:
  // The section of root with this name; the one read before it is dropped.
  Json* section(Json* root, const char* name) {
    if (_lastSection) _lastSection->dropValue();
    _lastSection = Json::getItem(root, name);
    return _lastSection;
  }

  // A failed request may have made a name or a list come out empty, and
  // the error met afterwards would then blame the file.
  bool fail(const char* message, const char* name) {
    if (_json.ranOutOfMemory()) return outOfMemory(name);
    _json._error = message;
    _json._error.append(name);
    return false;
  }

  bool whole(const char* section) { return !_json.ranOutOfMemory() || outOfMemory(section); }

  bool fail(const char* message, const String& name) { return fail(message, name.buffer()); }

  bool outOfMemory(const char* name) {
    _json.setOutOfMemory(name);
    return false;
  }

  // Adds an object just made to the list that owns it; on failure the object is deleted.
  template <typename T>
  bool keep(Vector<T*>& list, T* object, const char* name) {
    if (!object) return outOfMemory(name);
    if (list.add(object)) return true;
    delete object;
    return outOfMemory(name);
  }

  // ---- skeleton, bones, slots ----

  bool readSkeleton(Json* map) {
    if (!map) return true;
    _data.setHash(String(Json::getString(map, "hash", nullptr)));
    _data.setVersion(String(Json::getString(map, "version", nullptr)));
    if (textIs(_data.getVersion().buffer(), unsupportedVersion))
      return fail("Unsupported skeleton data, please export with a newer version of the editor.", "");
    _data.setX(Json::getFloat(map, "x", 0));
    _data.setY(Json::getFloat(map, "y", 0));
    _data.setWidth(Json::getFloat(map, "width", 0));
    _data.setHeight(Json::getFloat(map, "height", 0));
    _data.setFps(Json::getFloat(map, "fps", 30));
    _data.setAudioPath(String(Json::getString(map, "audio", nullptr)));
    _data.setImagesPath(String(Json::getString(map, "images", nullptr)));
    return true;
  }

  bool readBones(Json* bones) {
    if (bones && !_data.getBones().ensureCapacity(static_cast<size_t>(bones->getSize()))) return outOfMemory("bones");
    for (Json* map = firstChild(bones); map; map = map->getNext()) {
      // A parent must come earlier in the list, which also rules out cycles.
      BoneData* parent = nullptr;
      const char* parentName = Json::getString(map, "parent", nullptr);
      if (parentName) {
        parent = _data.findBone(String(parentName));
        if (!parent) return fail("Parent bone not found: ", parentName);
      }
      const char* name = Json::getString(map, "name", nullptr);
      int index = static_cast<int>(_data.getBones().size());
      BoneData* bone = new (__FILE__, __LINE__) BoneData(index, String(name), parent);
      if (!keep(_data.getBones(), bone, name)) return false;
      bone->setLength(Json::getFloat(map, "length", 0) * _scale);
      bone->setX(Json::getFloat(map, "x", 0) * _scale);
      bone->setY(Json::getFloat(map, "y", 0) * _scale);
      bone->setRotation(Json::getFloat(map, "rotation", 0));
      bone->setScaleX(Json::getFloat(map, "scaleX", 1));
      bone->setScaleY(Json::getFloat(map, "scaleY", 1));
      bone->setShearX(Json::getFloat(map, "shearX", 0));
      bone->setShearY(Json::getFloat(map, "shearY", 0));
      bone->setTransformMode(transformMode(Json::getString(map, "transform", "normal")));
      bone->setSkinRequired(Json::getBoolean(map, "skin"));
    }
    return true;
  }

  bool readSlots(Json* slots) {
    if (slots && !_data.getSlots().ensureCapacity(static_cast<size_t>(slots->getSize()))) return outOfMemory("slots");
    for (Json* map = firstChild(slots); map; map = map->getNext()) {
      const char* name = Json::getString(map, "name", nullptr);
      const char* boneName = Json::getString(map, "bone", nullptr);
      BoneData* bone = boneName ? _data.findBone(String(boneName)) : nullptr;
      if (!bone) return fail("Slot bone not found: ", boneName);
      int index = static_cast<int>(_data.getSlots().size());
      SlotData* slot = new (__FILE__, __LINE__) SlotData(index, String(name), *bone);
      if (!keep(_data.getSlots(), slot, name)) return false;
      readColor(map, "color", slot->getColor(), true);
      if (readColor(map, "dark", slot->getDarkColor(), false)) slot->setHasDarkColor(true);
      slot->setAttachmentName(String(Json::getString(map, "attachment", nullptr)));
      slot->setBlendMode(blendMode(Json::getString(map, "blend", nullptr)));
    }
    return true;
  }

  // ---- constraints ----

  // Fills the constrained bones; an empty or missing list loads, and the
  // constraint then moves nothing.
  bool readConstraintBones(Json* map, const char* constraintName, Vector<BoneData*>& bones, const char* notFound) {
    for (Json* item = firstChild(Json::getItem(map, "bones")); item; item = item->getNext()) {
      const char* boneName = item->getValueString();
      BoneData* bone = boneName ? _data.findBone(String(boneName)) : nullptr;
      if (!bone) return fail(notFound, boneName);
      if (!bones.add(bone)) return outOfMemory(constraintName);
    }
    return true;
  }

  bool readTargetBone(Json* map, BoneData*& target) {
    const char* targetName = Json::getString(map, "target", nullptr);
    target = targetName ? _data.findBone(String(targetName)) : nullptr;
    if (!target) return fail("Target bone not found: ", targetName);
    return true;
  }

  bool readIkConstraints(Json* list) {
    for (Json* map = firstChild(list); map; map = map->getNext()) {
      const char* name = Json::getString(map, "name", nullptr);
      IkConstraintData* data = new (__FILE__, __LINE__) IkConstraintData(String(name));
      if (!keep(_data.getIkConstraints(), data, name)) return false;
      data->setOrder(static_cast<uint64_t>(Json::getInt(map, "order", 0)));
      if (!readConstraintBones(map, name, data->getBones(), "IK bone not found: ")) return false;
      BoneData* target;
      if (!readTargetBone(map, target)) return false;
      data->setTarget(target);
      data->setMix(Json::getFloat(map, "mix", 1));
      data->setSoftness(Json::getFloat(map, "softness", 0) * _scale);
      data->setBendDirection(Json::getInt(map, "bendPositive", 1) ? 1 : -1);
      data->setCompress(Json::getInt(map, "compress", 0) != 0);
      data->setStretch(Json::getInt(map, "stretch", 0) != 0);
      data->setUniform(Json::getInt(map, "uniform", 0) != 0);
    }
    return true;
  }

  bool readTransformConstraints(Json* list) {
    for (Json* map = firstChild(list); map; map = map->getNext()) {
      const char* name = Json::getString(map, "name", nullptr);
      TransformConstraintData* data = new (__FILE__, __LINE__) TransformConstraintData(String(name));
      if (!keep(_data.getTransformConstraints(), data, name)) return false;
      data->setOrder(static_cast<uint64_t>(Json::getInt(map, "order", 0)));
      data->setSkinRequired(Json::getBoolean(map, "skin"));
      if (!readConstraintBones(map, name, data->getBones(), "Transform bone not found: ")) return false;
      BoneData* target;
      if (!readTargetBone(map, target)) return false;
      data->setTarget(target);
      data->setLocal(Json::getInt(map, "local", 0) != 0);
      data->setRelative(Json::getInt(map, "relative", 0) != 0);
      data->setOffsetRotation(Json::getFloat(map, "rotation", 0));
      data->setOffsetX(Json::getFloat(map, "x", 0) * _scale);
      data->setOffsetY(Json::getFloat(map, "y", 0) * _scale);
      data->setOffsetScaleX(Json::getFloat(map, "scaleX", 0));
      data->setOffsetScaleY(Json::getFloat(map, "scaleY", 0));
      data->setOffsetShearY(Json::getFloat(map, "shearY", 0));
      data->setRotateMix(Json::getFloat(map, "rotateMix", 1));
      data->setTranslateMix(Json::getFloat(map, "translateMix", 1));
      data->setScaleMix(Json::getFloat(map, "scaleMix", 1));
      data->setShearMix(Json::getFloat(map, "shearMix", 1));
    }
    return true;
  }

  bool readPathConstraints(Json* list) {
    for (Json* map = firstChild(list); map; map = map->getNext()) {
      const char* name = Json::getString(map, "name", nullptr);
      PathConstraintData* data = new (__FILE__, __LINE__) PathConstraintData(String(name));
      if (!keep(_data.getPathConstraints(), data, name)) return false;
      data->setOrder(static_cast<uint64_t>(Json::getInt(map, "order", 0)));
      data->setSkinRequired(Json::getBoolean(map, "skin"));
      if (!readConstraintBones(map, name, data->getBones(), "Path bone not found: ")) return false;
      const char* targetName = Json::getString(map, "target", nullptr);
      SlotData* target = targetName ? _data.findSlot(String(targetName)) : nullptr;
      if (!target) return fail("Target slot not found: ", targetName);
      data->setTarget(target);
      data->setPositionMode(positionMode(Json::getString(map, "positionMode", "percent")));
      data->setSpacingMode(spacingMode(Json::getString(map, "spacingMode", "length")));
      data->setRotateMode(rotateMode(Json::getString(map, "rotateMode", "tangent")));
      data->setOffsetRotation(Json::getFloat(map, "rotation", 0));
      float position = Json::getFloat(map, "position", 0);
      data->setPosition(scalesPosition(data->getPositionMode()) ? position * _scale : position);
      float spacing = Json::getFloat(map, "spacing", 0);
      data->setSpacing(scalesSpacing(data->getSpacingMode()) ? spacing * _scale : spacing);
      data->setRotateMix(Json::getFloat(map, "rotateMix", 1));
      data->setTranslateMix(Json::getFloat(map, "translateMix", 1));
    }
    return true;
  }

  // ---- skins and attachments ----

  bool readSkins(Json* skins) {
    if (skins && !_data.getSkins().ensureCapacity(static_cast<size_t>(skins->getSize()))) return outOfMemory("skins");
    for (Json* map = firstChild(skins); map; map = map->getNext()) {
      const char* name = Json::getString(map, "name", "");
      Skin* skin = new (__FILE__, __LINE__) Skin(String(name));
      if (!keep(_data.getSkins(), skin, name)) return false;
      if (textIs(name, "default")) _data.setDefaultSkin(skin);
      if (!readSkinBones(map, *skin) || !readSkinConstraints(map, *skin)) return false;
      for (Json* slotMap = firstChild(Json::getItem(map, "attachments")); slotMap; slotMap = slotMap->getNext()) {
        SlotData* slot = slotMap->getName() ? _data.findSlot(String(slotMap->getName())) : nullptr;
        if (!slot) return fail("Slot not found: ", slotMap->getName());
        for (Json* entry = firstChild(slotMap); entry; entry = entry->getNext())
          if (!readSkinAttachment(entry, *skin, static_cast<size_t>(slot->getIndex()))) return false;
      }
    }
    return true;
  }

  bool readSkinBones(Json* map, Skin& skin) {
    for (Json* item = firstChild(Json::getItem(map, "bones")); item; item = item->getNext()) {
      const char* boneName = item->getValueString();
      BoneData* bone = boneName ? _data.findBone(String(boneName)) : nullptr;
      if (!bone) return fail("Skin bone not found: ", boneName);
      if (!skin.getBones().add(bone)) return outOfMemory(skin.getName().buffer());
    }
    return true;
  }

  // The skin's IK, transform and path constraints, in that order.
  bool readSkinConstraints(Json* map, Skin& skin) {
    using Find = std::function<ConstraintData*(const String&)>;
    struct Kind {
      const char* key;
      const char* notFound;
      Find find;
    };
    const Kind kinds[] = {
        {"ik", "Skin IK constraint not found: ", [this](const String& n) { return _data.findIkConstraint(n); }},
        {"transform",
         "Skin transform constraint not found: ", [this](const String& n) { return _data.findTransformConstraint(n); }},
        {"path", "Skin path constraint not found: ", [this](const String& n) { return _data.findPathConstraint(n); }},
    };
    for (const Kind& kind : kinds) {
      for (Json* item = firstChild(Json::getItem(map, kind.key)); item; item = item->getNext()) {
        const char* constraintName = item->getValueString();
        ConstraintData* constraint = constraintName ? kind.find(String(constraintName)) : nullptr;
        if (!constraint) return fail(kind.notFound, constraintName);
        if (!skin.getConstraints().add(constraint)) return outOfMemory(skin.getName().buffer());
      }
    }
    return true;
  }

  bool readSkinAttachment(Json* map, Skin& skin, size_t slotIndex) {
    const String key(map->getName());
    Attachment* attachment = nullptr;
    if (!readAttachment(map, skin, slotIndex, key, attachment)) return false;
    // An entry replaced by a later one of the same name is deleted, and its
    // linked-mesh record with it.
    if (Attachment* old = skin.getAttachment(slotIndex, key)) forgetLinkedMesh(old);
    if (skin.setAttachment(slotIndex, key, attachment)) return true;
    forgetLinkedMesh(attachment);
    delete attachment;
    return outOfMemory(key.buffer());
  }

  void forgetLinkedMesh(Attachment* attachment) {
    Vector<LinkedMesh*>& linkedMeshes = _json._linkedMeshes;
    for (size_t i = linkedMeshes.size(); i-- > 0;) {
      if (linkedMeshes[i]->getMesh() != attachment) continue;
      delete linkedMeshes[i];
      linkedMeshes.removeAt(i);
    }
  }

  // Makes the attachment described by map; on failure nothing is left behind.
  bool readAttachment(Json* map, Skin& skin, size_t slotIndex, const String& key, Attachment*& attachment) {
    const String name(Json::getString(map, "name", key.buffer()));
    const String path(Json::getString(map, "path", name.buffer()));
    const char* type = Json::getString(map, "type", "region");
    bool ok;
    if (textIs(type, "region")) {
      ok = readRegion(map, skin, name, path, key, attachment);
    } else if (textIs(type, "mesh") || textIs(type, "linkedmesh")) {
      ok = readMesh(map, skin, slotIndex, name, path, key, attachment);
    } else if (textIs(type, "boundingbox")) {
      ok = readBoundingBox(map, skin, name, key, attachment);
    } else if (textIs(type, "path")) {
      ok = readPath(map, skin, name, key, attachment);
    } else if (textIs(type, "point")) {
      ok = readPoint(map, skin, name, key, attachment);
    } else if (textIs(type, "clipping")) {
      ok = readClipping(map, skin, name, key, attachment);
    } else {
      return fail("Unknown attachment type: ", type);
    }
    if (ok) {
      // A linked mesh is configured once its parent is known.
      if (pendingIndex(attachment) == _json._linkedMeshes.size())
        _json._attachmentLoader->configureAttachment(attachment);
    } else {
      delete attachment;
      attachment = nullptr;
    }
    return ok;
  }

  bool readRegion(Json* map, Skin& skin, const String& name, const String& path, const String& key,
                  Attachment*& attachment) {
    RegionAttachment* region = _json._attachmentLoader->createRegionAttachment(skin, name, path);
    if (!region) return fail("Error reading attachment: ", key);
    attachment = region;
    region->setPath(path);
    region->setX(Json::getFloat(map, "x", 0) * _scale);
    region->setY(Json::getFloat(map, "y", 0) * _scale);
    region->setScaleX(Json::getFloat(map, "scaleX", 1));
    region->setScaleY(Json::getFloat(map, "scaleY", 1));
    region->setRotation(Json::getFloat(map, "rotation", 0));
    region->setWidth(Json::getFloat(map, "width", 32) * _scale);
    region->setHeight(Json::getFloat(map, "height", 32) * _scale);
    readColor(map, "color", region->getColor(), true);
    region->updateOffset();
    return true;
  }

  bool readMesh(Json* map, Skin& skin, size_t slotIndex, const String& name, const String& path, const String& key,
                Attachment*& attachment) {
    MeshAttachment* mesh = _json._attachmentLoader->createMeshAttachment(skin, name, path);
    if (!mesh) return fail("Error reading attachment: ", key);
    attachment = mesh;
    mesh->setPath(path);
    readColor(map, "color", mesh->getColor(), true);
    mesh->setWidth(Json::getFloat(map, "width", 32) * _scale);
    mesh->setHeight(Json::getFloat(map, "height", 32) * _scale);

    if (const char* parent = Json::getString(map, "parent", nullptr)) {
      LinkedMesh* linked =
          new (__FILE__, __LINE__) LinkedMesh(mesh, String(Json::getString(map, "skin", nullptr)), slotIndex,
                                              String(parent), Json::getInt(map, "deform", 1) != 0);
      return keep(_json._linkedMeshes, linked, key.buffer());
    }

    if (!readFloats(Json::getItem(map, "uvs"), mesh->getRegionUVs(), 1)) return outOfMemory(key.buffer());
    const size_t uvCount = mesh->getRegionUVs().size();
    if (uvCount % 2 != 0) return fail("Error reading attachment: ", key);
    if (!readTriangles(Json::getItem(map, "triangles"), mesh->getTriangles(), uvCount / 2))
      return fail("Error reading attachment: ", key);
    if (!readVertices(map, *mesh, uvCount)) return fail("Error reading attachment: ", key);
    mesh->updateUVs();
    mesh->setHullLength(Json::getInt(map, "hull", 0));
    for (Json* item = firstChild(Json::getItem(map, "edges")); item; item = item->getNext())
      if (!mesh->getEdges().add(static_cast<unsigned short>(item->getValueInt()))) return outOfMemory(key.buffer());
    return true;
  }

  bool readBoundingBox(Json* map, Skin& skin, const String& name, const String& key, Attachment*& attachment) {
    BoundingBoxAttachment* box = _json._attachmentLoader->createBoundingBoxAttachment(skin, name);
    if (!box) return fail("Error reading attachment: ", key);
    attachment = box;
    if (!readVertexCount(map, *box, nullptr)) return fail("Error reading attachment: ", key);
    return true;
  }

  bool readPath(Json* map, Skin& skin, const String& name, const String& key, Attachment*& attachment) {
    PathAttachment* path = _json._attachmentLoader->createPathAttachment(skin, name);
    if (!path) return fail("Error reading attachment: ", key);
    attachment = path;
    path->setClosed(Json::getInt(map, "closed", 0) != 0);
    path->setConstantSpeed(Json::getInt(map, "constantSpeed", 1) != 0);
    int vertexCount;
    if (!readVertexCount(map, *path, &vertexCount)) return fail("Error reading attachment: ", key);
    // One length per curve; the path constraint reads all of them.
    const size_t curves = static_cast<size_t>(vertexCount / 3);
    Json* lengths = Json::getItem(map, "lengths");
    if (!lengths || static_cast<size_t>(lengths->getSize()) < curves) return fail("Error reading attachment: ", key);
    Json* item = lengths->getChild();
    for (size_t i = 0; i < curves; ++i, item = item->getNext())
      if (!path->getLengths().add(item->getValueFloat() * _scale)) return outOfMemory(key.buffer());
    return true;
  }

  bool readPoint(Json* map, Skin& skin, const String& name, const String& key, Attachment*& attachment) {
    PointAttachment* point = _json._attachmentLoader->createPointAttachment(skin, name);
    if (!point) return fail("Error reading attachment: ", key);
    attachment = point;
    point->setX(Json::getFloat(map, "x", 0) * _scale);
    point->setY(Json::getFloat(map, "y", 0) * _scale);
    point->setRotation(Json::getFloat(map, "rotation", 0));
    return true;
  }

  bool readClipping(Json* map, Skin& skin, const String& name, const String& key, Attachment*& attachment) {
    ClippingAttachment* clip = _json._attachmentLoader->createClippingAttachment(skin, name);
    if (!clip) return fail("Error reading attachment: ", key);
    attachment = clip;
    if (const char* end = Json::getString(map, "end", nullptr)) clip->setEndSlot(_data.findSlot(String(end)));
    if (!readVertexCount(map, *clip, nullptr)) return fail("Error reading attachment: ", key);
    return true;
  }

  // "vertexCount" and the vertices of a polygon or path.
  bool readVertexCount(Json* map, VertexAttachment& attachment, int* count) {
    int vertexCount = Json::getInt(map, "vertexCount", 0);
    if (count) *count = vertexCount;
    if (vertexCount < 0) return false;
    return readVertices(map, attachment, static_cast<size_t>(vertexCount) * 2);
  }

  // Triangles must be whole and name existing vertices.
  static bool readTriangles(Json* list, Vector<unsigned short>& triangles, size_t vertexCount) {
    if (list && list->getSize() % 3 != 0) return false;
    for (Json* item = firstChild(list); item; item = item->getNext()) {
      int index = item->getValueInt();
      if (index < 0 || static_cast<size_t>(index) >= vertexCount || index > 0xFFFF) return false;
      if (!triangles.add(static_cast<unsigned short>(index))) return false;
    }
    return true;
  }

  static bool readFloats(Json* list, Vector<float>& values, float scale) {
    if (list && !values.ensureCapacity(values.size() + static_cast<size_t>(list->getSize()))) return false;
    for (Json* item = firstChild(list); item; item = item->getNext())
      if (!values.add(item->getValueFloat() * scale)) return false;
    return true;
  }

  // The "vertices" of an attachment whose world vertices take length floats:
  // exactly length values are plain x, y pairs; anything else is a weighted
  // list that must describe exactly length / 2 vertices over existing bones.
  bool readVertices(Json* map, VertexAttachment& attachment, size_t length) {
    Vector<float> values;
    if (!readFloats(Json::getItem(map, "vertices"), values, 1)) return false;
    attachment.setWorldVerticesLength(length);
    if (values.size() == length) {
      if (_scale != 1)
        for (float& value : values) value *= _scale;
      attachment.getVertices() = values;
      return attachment.getVertices().size() == length;
    }
    const size_t boneCount = _data.getBones().size();
    Vector<unsigned long long>& bones = attachment.getBones();
    Vector<float>& weights = attachment.getVertices();
    size_t vertices = 0;
    for (size_t i = 0; i < values.size();) {
      // Counts and indexes are checked as floats, before any conversion.
      const float count = values[i++];
      if (!(count >= 0 && count <= static_cast<float>((values.size() - i) / 4))) return false;
      const size_t n = static_cast<size_t>(count);
      if (!bones.add(n)) return false;
      for (size_t end = i + n * 4; i < end; i += 4) {
        const float bone = values[i];
        if (!(bone >= 0 && bone < static_cast<float>(boneCount))) return false;
        if (!bones.add(static_cast<unsigned long long>(bone)) || !weights.add(values[i + 1] * _scale) ||
            !weights.add(values[i + 2] * _scale) || !weights.add(values[i + 3]))
          return false;
      }
      ++vertices;
    }
    return vertices * 2 == length;
  }

  // ---- linked meshes ----

  // A parent may itself be a linked mesh, listed before or after its child:
  // each mesh is linked once the chain of parents above it is.
  bool resolveLinkedMeshes() {
    Vector<LinkedMesh*>& linkedMeshes = _json._linkedMeshes;
    const size_t count = linkedMeshes.size();
    Vector<MeshAttachment*> parents;
    Vector<size_t> parentRecords;  // the parent's own record, or count when it waits for nothing
    Vector<int> states;            // 0 waiting, 1 on the chain being walked, 2 linked
    Vector<size_t> chain;
    if (!parents.ensureCapacity(count) || !parentRecords.ensureCapacity(count) || !states.ensureCapacity(count) ||
        !chain.ensureCapacity(count))
      return outOfMemory("linked meshes");
    for (size_t i = 0; i < count; ++i) {
      LinkedMesh& linked = *linkedMeshes[i];
      Skin* skin = linked.getSkin().isEmpty() ? _data.getDefaultSkin() : _data.findSkin(linked.getSkin());
      if (!skin) return fail("Skin not found: ", linked.getSkin().isEmpty() ? "default" : linked.getSkin().buffer());
      Attachment* parent = skin->getAttachment(linked.getSlotIndex(), linked.getParent());
      if (!parent || !parent->getRTTI().instanceOf(MeshAttachment::rtti))
        return fail("Parent mesh not found: ", linked.getParent());
      parents.add(static_cast<MeshAttachment*>(parent));
    }
    for (size_t i = 0; i < count; ++i) {
      parentRecords.add(pendingIndex(parents[i]));
      states.add(0);
    }
    for (size_t i = 0; i < count; ++i) {
      chain.clear();
      for (size_t j = i; j < count && states[j] != 2; j = parentRecords[j]) {
        // Back on the chain: a cycle, so no mesh on it has geometry to share.
        if (states[j] == 1) return fail("Parent mesh not found: ", linkedMeshes[chain[chain.size() - 1]]->getParent());
        states[j] = 1;
        chain.add(j);
      }
      for (size_t k = chain.size(); k-- > 0;) {
        const size_t j = chain[k];
        LinkedMesh& linked = *linkedMeshes[j];
        MeshAttachment* mesh = linked.getMesh();
        mesh->setDeformAttachment(linked.getInheritDeform() ? parents[j] : mesh);
        mesh->setParentMesh(parents[j]);
        mesh->updateUVs();
        _json._attachmentLoader->configureAttachment(mesh);
        states[j] = 2;
      }
    }
    _json.clearLinkedMeshes();
    return true;
  }

  // The record of a mesh still waiting for its parent, or the record count.
  size_t pendingIndex(const Attachment* attachment) const {
    const Vector<LinkedMesh*>& linkedMeshes = _json._linkedMeshes;
    for (size_t i = 0; i < linkedMeshes.size(); ++i)
      if (linkedMeshes[i]->getMesh() == attachment) return i;
    return linkedMeshes.size();
  }

  // ---- events ----

  bool readEvents(Json* events) {
    for (Json* map = firstChild(events); map; map = map->getNext()) {
      EventData* event = new (__FILE__, __LINE__) EventData(String(map->getName()));
      if (!keep(_data.getEvents(), event, map->getName())) return false;
      event->setIntValue(Json::getInt(map, "int", 0));
      event->setFloatValue(Json::getFloat(map, "float", 0));
      event->setStringValue(String(Json::getString(map, "string", nullptr)));
      if (Json::getItem(map, "audio")) {
        event->setAudioPath(String(Json::getString(map, "audio", nullptr)));
        event->setVolume(Json::getFloat(map, "volume", 1));
        event->setBalance(Json::getFloat(map, "balance", 0));
      }
    }
    return true;
  }

  // ---- animations ----

  // The timelines of one animation being read; they are deleted unless the
  // animation takes them.
  struct Timelines {
    Vector<Timeline*> list;
    float duration = 0;
    ~Timelines() { list.clearAndDeleteAll(); }
  };

  bool readAnimations(Json* animations) {
    for (Json* map = firstChild(animations); map; map = map->getNext()) {
      Timelines timelines;
      if (!readSlotTimelines(Json::getItem(map, "slots"), timelines) ||
          !readBoneTimelines(Json::getItem(map, "bones"), timelines) ||
          !readIkTimelines(Json::getItem(map, "ik"), timelines) ||
          !readTransformTimelines(Json::getItem(map, "transform"), timelines) ||
          !readPathTimelines(Json::getItem(map, "path"), timelines) ||
          !readDeformTimelines(Json::getItem(map, "deform"), timelines) ||
          !readDrawOrderTimeline(Json::getItem(map, "drawOrder"), timelines) ||
          !readEventTimeline(Json::getItem(map, "events"), timelines))
        return false;
      Animation* animation =
          new (__FILE__, __LINE__) Animation(String(map->getName()), timelines.list, timelines.duration);
      if (!animation) return outOfMemory(map->getName());
      timelines.list.clear();
      if (!keep(_data.getAnimations(), animation, map->getName())) return false;
      map->dropValue();
    }
    return true;
  }

  // A new timeline of frameCount keys, held by the list from the start.
  template <typename T>
  T* newTimeline(Timelines& timelines, size_t frameCount, const char* name) {
    T* timeline = new (__FILE__, __LINE__) T(frameCount);
    return keep(timelines.list, static_cast<Timeline*>(timeline), name) ? timeline : nullptr;
  }

  void finish(Timelines& timelines, const Timeline& timeline) {
    float time = lastKeyTime(timeline);
    if (time > timelines.duration) timelines.duration = time;
  }

  // The curve of the interval starting at key frameIndex. The last key
  // starts no interval, so a curve written on it is not kept.
  static void readCurve(Json* map, CurveTimeline& timeline, size_t frameIndex) {
    if (frameIndex + 1 >= timeline.getFrameCount()) return;
    Json* curve = Json::getItem(map, "curve");
    if (!curve) return;
    if (textIs(curve->getValueString(), "stepped")) {
      timeline.setStepped(frameIndex);
      return;
    }
    timeline.setCurve(frameIndex, Json::getFloat(map, "curve", 0), Json::getFloat(map, "c2", 0),
                      Json::getFloat(map, "c3", 1), Json::getFloat(map, "c4", 1));
  }

  static float keyTime(Json* map) { return Json::getFloat(map, "time", 0); }

  bool readSlotTimelines(Json* slots, Timelines& timelines) {
    for (Json* slotMap = firstChild(slots); slotMap; slotMap = slotMap->getNext()) {
      SlotData* slot = slotMap->getName() ? _data.findSlot(String(slotMap->getName())) : nullptr;
      if (!slot) return fail("Slot not found: ", slotMap->getName());
      for (Json* timelineMap = firstChild(slotMap); timelineMap; timelineMap = timelineMap->getNext()) {
        const char* kind = timelineMap->getName();
        const size_t frameCount = static_cast<size_t>(timelineMap->getSize());
        if (textIs(kind, "attachment")) {
          if (!readAttachmentTimeline(timelineMap, slot->getIndex(), timelines)) return false;
        } else if (textIs(kind, "color")) {
          if (frameCount == 0) continue;
          auto* timeline = newTimeline<ColorTimeline>(timelines, frameCount, kind);
          if (!timeline) return false;
          timeline->setSlotIndex(slot->getIndex());
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            Color c = keyColor(key, "color", true);
            timeline->setFrame(i, keyTime(key), c.r, c.g, c.b, c.a);
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        } else if (textIs(kind, "twoColor")) {
          if (frameCount == 0) continue;
          auto* timeline = newTimeline<TwoColorTimeline>(timelines, frameCount, kind);
          if (!timeline) return false;
          timeline->setSlotIndex(slot->getIndex());
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            Color light = keyColor(key, "light", true), dark = keyColor(key, "dark", false);
            timeline->setFrame(i, keyTime(key), light.r, light.g, light.b, light.a, dark.r, dark.g, dark.b);
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        } else {
          return fail("Invalid timeline type for a slot: ", kind);
        }
      }
    }
    return true;
  }

  bool readAttachmentTimeline(Json* list, int slotIndex, Timelines& timelines) {
    const size_t frameCount = static_cast<size_t>(list->getSize());
    if (frameCount == 0) return true;
    auto* timeline = newTimeline<AttachmentTimeline>(timelines, frameCount, list->getName());
    if (!timeline) return false;
    timeline->setSlotIndex(slotIndex);
    size_t i = 0;
    for (Json* key = list->getChild(); key; key = key->getNext(), ++i)
      timeline->setFrame(i, keyTime(key), String(Json::getString(key, "name", nullptr)));
    finish(timelines, *timeline);
    return true;
  }

  bool readBoneTimelines(Json* bones, Timelines& timelines) {
    for (Json* boneMap = firstChild(bones); boneMap; boneMap = boneMap->getNext()) {
      BoneData* bone = boneMap->getName() ? _data.findBone(String(boneMap->getName())) : nullptr;
      if (!bone) return fail("Bone not found: ", boneMap->getName());
      for (Json* timelineMap = firstChild(boneMap); timelineMap; timelineMap = timelineMap->getNext()) {
        const char* kind = timelineMap->getName();
        const size_t frameCount = static_cast<size_t>(timelineMap->getSize());
        if (textIs(kind, "rotate")) {
          if (frameCount == 0) continue;
          auto* timeline = newTimeline<RotateTimeline>(timelines, frameCount, kind);
          if (!timeline) return false;
          timeline->setBoneIndex(bone->getIndex());
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            timeline->setFrame(i, keyTime(key), Json::getFloat(key, "angle", 0));
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        } else if (textIs(kind, "translate") || textIs(kind, "scale") || textIs(kind, "shear")) {
          if (frameCount == 0) continue;
          TranslateTimeline* timeline;
          float defaultValue = 0, scale = 1;
          if (textIs(kind, "scale")) {
            timeline = newTimeline<ScaleTimeline>(timelines, frameCount, kind);
            defaultValue = 1;
          } else if (textIs(kind, "shear")) {
            timeline = newTimeline<ShearTimeline>(timelines, frameCount, kind);
          } else {
            timeline = newTimeline<TranslateTimeline>(timelines, frameCount, kind);
            scale = _scale;
          }
          if (!timeline) return false;
          timeline->setBoneIndex(bone->getIndex());
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            timeline->setFrame(i, keyTime(key), Json::getFloat(key, "x", defaultValue) * scale,
                               Json::getFloat(key, "y", defaultValue) * scale);
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        } else {
          return fail("Invalid timeline type for a bone: ", kind);
        }
      }
    }
    return true;
  }

  bool readIkTimelines(Json* list, Timelines& timelines) {
    for (Json* constraintMap = firstChild(list); constraintMap; constraintMap = constraintMap->getNext()) {
      const char* name = constraintMap->getName();
      IkConstraintData* constraint = name ? _data.findIkConstraint(String(name)) : nullptr;
      if (!constraint) return fail("IK constraint not found: ", name);
      const size_t frameCount = static_cast<size_t>(constraintMap->getSize());
      if (frameCount == 0) continue;
      auto* timeline = newTimeline<IkConstraintTimeline>(timelines, frameCount, name);
      if (!timeline) return false;
      timeline->setIkConstraintIndex(indexIn(_data.getIkConstraints(), constraint));
      size_t i = 0;
      for (Json* key = constraintMap->getChild(); key; key = key->getNext(), ++i) {
        timeline->setFrame(i, keyTime(key), Json::getFloat(key, "mix", 1), Json::getFloat(key, "softness", 0) * _scale,
                           Json::getInt(key, "bendPositive", 1) ? 1 : -1, Json::getInt(key, "compress", 0) != 0,
                           Json::getInt(key, "stretch", 0) != 0);
        readCurve(key, *timeline, i);
      }
      finish(timelines, *timeline);
    }
    return true;
  }

  bool readTransformTimelines(Json* list, Timelines& timelines) {
    for (Json* constraintMap = firstChild(list); constraintMap; constraintMap = constraintMap->getNext()) {
      const char* name = constraintMap->getName();
      TransformConstraintData* constraint = name ? _data.findTransformConstraint(String(name)) : nullptr;
      if (!constraint) return fail("Transform constraint not found: ", name);
      const size_t frameCount = static_cast<size_t>(constraintMap->getSize());
      if (frameCount == 0) continue;
      auto* timeline = newTimeline<TransformConstraintTimeline>(timelines, frameCount, name);
      if (!timeline) return false;
      timeline->setTransformConstraintIndex(indexIn(_data.getTransformConstraints(), constraint));
      size_t i = 0;
      for (Json* key = constraintMap->getChild(); key; key = key->getNext(), ++i) {
        timeline->setFrame(i, keyTime(key), Json::getFloat(key, "rotateMix", 1), Json::getFloat(key, "translateMix", 1),
                           Json::getFloat(key, "scaleMix", 1), Json::getFloat(key, "shearMix", 1));
        readCurve(key, *timeline, i);
      }
      finish(timelines, *timeline);
    }
    return true;
  }

  bool readPathTimelines(Json* list, Timelines& timelines) {
    for (Json* constraintMap = firstChild(list); constraintMap; constraintMap = constraintMap->getNext()) {
      const char* name = constraintMap->getName();
      PathConstraintData* constraint = name ? _data.findPathConstraint(String(name)) : nullptr;
      if (!constraint) return fail("Path constraint not found: ", name);
      const int index = indexIn(_data.getPathConstraints(), constraint);
      for (Json* timelineMap = firstChild(constraintMap); timelineMap; timelineMap = timelineMap->getNext()) {
        const char* kind = timelineMap->getName();
        const size_t frameCount = static_cast<size_t>(timelineMap->getSize());
        if (frameCount == 0) continue;
        if (textIs(kind, "position") || textIs(kind, "spacing")) {
          PathConstraintPositionTimeline* timeline;
          float scale = 1;
          if (textIs(kind, "spacing")) {
            timeline = newTimeline<PathConstraintSpacingTimeline>(timelines, frameCount, kind);
            if (scalesSpacing(constraint->getSpacingMode())) scale = _scale;
          } else {
            timeline = newTimeline<PathConstraintPositionTimeline>(timelines, frameCount, kind);
            if (scalesPosition(constraint->getPositionMode())) scale = _scale;
          }
          if (!timeline) return false;
          timeline->setPathConstraintIndex(index);
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            timeline->setFrame(i, keyTime(key), Json::getFloat(key, kind, 0) * scale);
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        } else if (textIs(kind, "mix")) {
          auto* timeline = newTimeline<PathConstraintMixTimeline>(timelines, frameCount, kind);
          if (!timeline) return false;
          timeline->setPathConstraintIndex(index);
          size_t i = 0;
          for (Json* key = timelineMap->getChild(); key; key = key->getNext(), ++i) {
            timeline->setFrame(i, keyTime(key), Json::getFloat(key, "rotateMix", 1),
                               Json::getFloat(key, "translateMix", 1));
            readCurve(key, *timeline, i);
          }
          finish(timelines, *timeline);
        }
      }
    }
    return true;
  }

  bool readDeformTimelines(Json* deform, Timelines& timelines) {
    for (Json* skinMap = firstChild(deform); skinMap; skinMap = skinMap->getNext()) {
      Skin* skin = skinMap->getName() ? _data.findSkin(String(skinMap->getName())) : nullptr;
      if (!skin) return fail("Skin not found: ", skinMap->getName());
      for (Json* slotMap = firstChild(skinMap); slotMap; slotMap = slotMap->getNext()) {
        SlotData* slot = slotMap->getName() ? _data.findSlot(String(slotMap->getName())) : nullptr;
        if (!slot) return fail("Slot not found: ", slotMap->getName());
        for (Json* timelineMap = firstChild(slotMap); timelineMap; timelineMap = timelineMap->getNext())
          if (!readDeformTimeline(timelineMap, *skin, slot->getIndex(), timelines)) return false;
      }
    }
    return true;
  }

  bool readDeformTimeline(Json* list, Skin& skin, int slotIndex, Timelines& timelines) {
    const char* name = list->getName();
    Attachment* found = skin.getAttachment(static_cast<size_t>(slotIndex), String(name));
    if (!found || !found->getRTTI().instanceOf(VertexAttachment::rtti)) return fail("Attachment not found: ", name);
    VertexAttachment* attachment = static_cast<VertexAttachment*>(found);
    const size_t frameCount = static_cast<size_t>(list->getSize());
    if (frameCount == 0) return true;
    auto* timeline = newTimeline<DeformTimeline>(timelines, frameCount, name);
    if (!timeline) return false;
    timeline->setSlotIndex(slotIndex);
    timeline->setAttachment(attachment);

    const bool weighted = !attachment->getBones().isEmpty();
    const Vector<float>& setup = attachment->getVertices();
    // Weighted keys hold an offset pair per bone entry; unweighted ones a position per vertex.
    const size_t deformLength = weighted ? setup.size() / 3 * 2 : setup.size();
    size_t i = 0;
    for (Json* key = list->getChild(); key; key = key->getNext(), ++i) {
      Vector<float> deform;
      deform.setSize(deformLength, 0);
      if (deform.size() != deformLength) return outOfMemory(name);
      if (Json* vertices = Json::getItem(key, "vertices")) {
        const int start = Json::getInt(key, "offset", 0);
        const size_t count = static_cast<size_t>(vertices->getSize());
        if (start < 0 || static_cast<size_t>(start) > deformLength || count > deformLength - static_cast<size_t>(start))
          return fail("Deform key too long for attachment: ", name);
        size_t v = static_cast<size_t>(start);
        for (Json* value = vertices->getChild(); value; value = value->getNext(), ++v)
          deform[v] = _scale != 1 ? value->getValueFloat() * _scale : value->getValueFloat();
      }
      if (!weighted)
        for (size_t v = 0; v < deformLength; ++v) deform[v] += setup[v];
      timeline->setFrame(i, keyTime(key), deform);
      readCurve(key, *timeline, i);
    }
    finish(timelines, *timeline);
    return true;
  }

  bool readDrawOrderTimeline(Json* list, Timelines& timelines) {
    const size_t frameCount = list ? static_cast<size_t>(list->getSize()) : 0;
    if (frameCount == 0) return true;
    auto* timeline = newTimeline<DrawOrderTimeline>(timelines, frameCount, "drawOrder");
    if (!timeline) return false;
    size_t i = 0;
    for (Json* key = list->getChild(); key; key = key->getNext(), ++i) {
      Vector<int> drawOrder;
      if (Json* offsets = Json::getItem(key, "offsets"))
        if (!readDrawOrder(offsets, drawOrder)) return false;
      timeline->setFrame(i, keyTime(key), drawOrder);
    }
    finish(timelines, *timeline);
    return true;
  }

  // Slots named in offsets move by their offset; the others keep their
  // relative order in the positions left free. The slots must be named in
  // slot order, each once, and land on distinct positions inside the order.
  bool readDrawOrder(Json* offsets, Vector<int>& drawOrder) {
    const size_t slotCount = _data.getSlots().size();
    Vector<int> unchanged;
    drawOrder.setSize(slotCount, -1);
    if (drawOrder.size() != slotCount || !unchanged.ensureCapacity(slotCount)) return outOfMemory("drawOrder");
    size_t original = 0;
    for (Json* offsetMap = firstChild(offsets); offsetMap; offsetMap = offsetMap->getNext()) {
      const char* slotName = Json::getString(offsetMap, "slot", nullptr);
      SlotData* slot = slotName ? _data.findSlot(String(slotName)) : nullptr;
      if (!slot) return fail("Slot not found: ", slotName);
      const size_t slotIndex = static_cast<size_t>(slot->getIndex());
      if (slotIndex < original) return fail("Draw order slot out of order: ", slotName);
      while (original != slotIndex) unchanged.add(static_cast<int>(original++));
      const long long position = static_cast<long long>(slotIndex) + Json::getInt(offsetMap, "offset", 0);
      if (position < 0 || position >= static_cast<long long>(slotCount))
        return fail("Draw order offset out of range: ", slotName);
      if (drawOrder[static_cast<size_t>(position)] != -1) return fail("Draw order position taken twice: ", slotName);
      drawOrder[static_cast<size_t>(position)] = static_cast<int>(original++);
    }
    while (original < slotCount) unchanged.add(static_cast<int>(original++));
    // Every slot named once leaves exactly as many free positions as unchanged slots.
    size_t next = unchanged.size();
    for (size_t i = slotCount; i-- > 0;)
      if (drawOrder[i] == -1) drawOrder[i] = unchanged[--next];
    return true;
  }

  bool readEventTimeline(Json* list, Timelines& timelines) {
    const size_t frameCount = list ? static_cast<size_t>(list->getSize()) : 0;
    if (frameCount == 0) return true;
    auto* timeline = newTimeline<EventTimeline>(timelines, frameCount, "events");
    if (!timeline) return false;
    size_t i = 0;
    for (Json* key = list->getChild(); key; key = key->getNext(), ++i) {
      const char* eventName = Json::getString(key, "name", nullptr);
      EventData* data = eventName ? _data.findEvent(String(eventName)) : nullptr;
      if (!data) return fail("Event not found: ", eventName);
      Event* event = new (__FILE__, __LINE__) Event(keyTime(key), *data);
      if (!event) return outOfMemory(eventName);
      event->setIntValue(Json::getInt(key, "int", data->getIntValue()));
      event->setFloatValue(Json::getFloat(key, "float", data->getFloatValue()));
      event->setStringValue(String(Json::getString(key, "string", data->getStringValue().buffer())));
      if (data->getAudioPath().buffer()) {
        event->setVolume(Json::getFloat(key, "volume", 1));
        event->setBalance(Json::getFloat(key, "balance", 0));
      }
      timeline->setFrame(i, event);
    }
    finish(timelines, *timeline);
    return true;
  }

  SkeletonJson& _json;
  SkeletonData& _data;
  const float _scale;
  Json* _lastSection = nullptr;
};

SkeletonJson::SkeletonJson(Atlas* atlas)
    : _attachmentLoader(new (__FILE__, __LINE__) AtlasAttachmentLoader(atlas)),
      _atlas(atlas),
      _scale(1),
      _ownsLoader(true) {}

SkeletonJson::SkeletonJson(AttachmentLoader* attachmentLoader, bool ownsLoader)
    : _attachmentLoader(attachmentLoader), _scale(1), _ownsLoader(ownsLoader) {}

SkeletonJson::~SkeletonJson() {
  clearLinkedMeshes();
  if (_ownsLoader) delete _attachmentLoader;
}

void SkeletonJson::clearLinkedMeshes() { _linkedMeshes.clearAndDeleteAll(); }

bool SkeletonJson::ranOutOfMemory() const { return SkelExtension::getFailedRequests() != _failedBefore; }

void SkeletonJson::setOutOfMemory(const char* where) {
  _error = "Out of memory reading: ";
  _error.append(where ? where : "");
}

SkeletonData* SkeletonJson::readSkeletonDataFile(const String& path) {
  // Reported, even when read from a listener of an animation state.
  OutOfMemoryEndsProgram reported(false);
  _failedBefore = SkelExtension::getFailedRequests();
  size_t length = 0;
  char* data = SkelExtension::readFileData(path, &length);
  char* text = data && length > 0 ? SkelExtension::realloc<char>(data, length + 1, __FILE__, __LINE__) : nullptr;
  if (!text) {
    SkelExtension::free(data, __FILE__, __LINE__);
    if (ranOutOfMemory()) {
      setOutOfMemory(path.buffer());
    } else {
      _error = "Unable to read skeleton file: ";
      _error.append(path);
    }
    return nullptr;
  }
  // The file is not terminated; the JSON reader needs it to be.
  text[length] = 0;
  Json* root = parse(text);
  // The tree holds copies of every text it needs; a large file need not be
  // kept beside it while the skeleton is built.
  SkelExtension::free(text, __FILE__, __LINE__);
  return root ? readTree(root) : nullptr;
}

SkeletonData* SkeletonJson::readSkeletonData(const char* json) {
  OutOfMemoryEndsProgram reported(false);
  _failedBefore = SkelExtension::getFailedRequests();
  Json* root = parse(json);
  return root ? readTree(root) : nullptr;
}

Json* SkeletonJson::parse(const char* json) {
  _error = String();
  clearLinkedMeshes();
  if (!_attachmentLoader) {
    _error = "Out of memory reading: ";
    _error.append("attachment loader");
    return nullptr;
  }
  // Every attachment would be missing from an atlas that could not be read whole.
  if (_atlas && _atlas->ranOutOfMemory()) {
    setOutOfMemory("the atlas");
    return nullptr;
  }
  Json* root = new (__FILE__, __LINE__) Json(json);
  // The reader stops where memory runs out, as at a syntax error.
  if (!root || ranOutOfMemory()) {
    delete root;
    setOutOfMemory("the JSON text");
    return nullptr;
  }
  // The reader keeps what came before a syntax error; a skeleton with parts
  // silently missing must not pass for the one in the file.
  if (const char* at = root->getSyntaxError()) {
    _error = "Invalid skeleton JSON: ";
    _error.append(lineAndColumn(json, at).c_str());
    delete root;
    return nullptr;
  }
  if (root->getType() != Json::JSON_OBJECT) {
    _error = "Invalid skeleton JSON: the text is not an object";
    delete root;
    return nullptr;
  }
  return root;
}

SkeletonData* SkeletonJson::readTree(Json* root) {
  SkeletonData* data = new (__FILE__, __LINE__) SkeletonData();
  bool ok = false;
  if (data) {
    Reader reader(*this, *data);
    ok = reader.read(root);
  } else {
    setOutOfMemory("skeleton");
  }
  clearLinkedMeshes();
  delete root;
  if (ok) {
    // Lookups into the finished data then only read, from any thread; an
    // index left short would be filled in by the first lookup instead.
    data->indexNames();
    if (!ranOutOfMemory()) return data;
    setOutOfMemory("name index");
  }
  delete data;
  return nullptr;
}

}  // namespace skel
