/// @class skel::SlotData
/// Setup pose of one slot: its bone, tint, setup attachment and blending.
#pragma once

#include "skel/BlendMode.h"
#include "skel/Color.h"
#include "skel/SkelObject.h"
#include "skel/String.h"

namespace skel {

class BoneData;

class SlotData : public SkelObject {
 public:
  SlotData(int index, const String& name, BoneData& boneData);

  int getIndex() const { return _index; }
  const String& getName() const { return _name; }
  BoneData& getBoneData() const { return _boneData; }
  Color& getColor() { return _color; }
  const Color& getColor() const { return _color; }
  Color& getDarkColor() { return _darkColor; }
  const Color& getDarkColor() const { return _darkColor; }
  bool hasDarkColor() const { return _hasDarkColor; }
  void setHasDarkColor(bool v) { _hasDarkColor = v; }
  const String& getAttachmentName() const { return _attachmentName; }
  void setAttachmentName(const String& v) { _attachmentName = v; }
  BlendMode getBlendMode() const { return _blendMode; }
  void setBlendMode(BlendMode v) { _blendMode = v; }

 private:
  const int _index;
  const String _name;
  BoneData& _boneData;
  Color _color;
  Color _darkColor;
  bool _hasDarkColor;
  String _attachmentName;
  BlendMode _blendMode;
};

}  // namespace skel
