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
  /// A slot of the given place in the skeleton's list, on the bone given.
  SlotData(int index, const String& name, BoneData& boneData);

  /// The slot's place in the skeleton's list, its name and its bone.
  /// @{
  int getIndex() const { return _index; }
  const String& getName() const { return _name; }
  BoneData& getBoneData() const { return _boneData; }
  /// @}
  /// The setup tint, and the dark tint two-colour tinting uses for the shadows
  /// (hasDarkColor tells whether there is one).
  /// @{
  Color& getColor() { return _color; }
  const Color& getColor() const { return _color; }
  Color& getDarkColor() { return _darkColor; }
  const Color& getDarkColor() const { return _darkColor; }
  bool hasDarkColor() const { return _hasDarkColor; }
  void setHasDarkColor(bool v) { _hasDarkColor = v; }
  /// @}
  /// The attachment shown in the setup pose; empty for none.
  /// @{
  const String& getAttachmentName() const { return _attachmentName; }
  void setAttachmentName(const String& v) { _attachmentName = v; }
  /// @}
  /// How the slot's attachment is blended over what is drawn before it.
  /// @{
  BlendMode getBlendMode() const { return _blendMode; }
  void setBlendMode(BlendMode v) { _blendMode = v; }
  /// @}

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
