/// @class skel::BoneData
/// Setup pose of one bone, shared by every skeleton made from the same data.
#pragma once

#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/TransformMode.h"

namespace skel {

class BoneData : public SkelObject {
 public:
  /// The setup pose of the bone at index in the skeleton's list.
  /// A parent, when given, must have a smaller index.
  BoneData(int index, const String& name, BoneData* parent = nullptr);

  /// The bone's place in the skeleton's list, its name and its parent (null for the root).
  /// @{
  int getIndex() const { return _index; }
  const String& getName() const { return _name; }
  BoneData* getParent() const { return _parent; }
  /// @}

  /// The bone's length, for IK and for drawing; it does not move anything itself.
  /// @{
  float getLength() const { return _length; }
  void setLength(float v) { _length = v; }
  /// @}
  /// The setup pose relative to the parent: position, rotation in degrees, scale and shear.
  /// @{
  float getX() const { return _x; }
  void setX(float v) { _x = v; }
  float getY() const { return _y; }
  void setY(float v) { _y = v; }
  float getRotation() const { return _rotation; }
  void setRotation(float v) { _rotation = v; }
  float getScaleX() const { return _scaleX; }
  void setScaleX(float v) { _scaleX = v; }
  float getScaleY() const { return _scaleY; }
  void setScaleY(float v) { _scaleY = v; }
  float getShearX() const { return _shearX; }
  void setShearX(float v) { _shearX = v; }
  float getShearY() const { return _shearY; }
  void setShearY(float v) { _shearY = v; }
  /// @}
  /// Which of the parent's transforms the bone takes on.
  /// @{
  TransformMode getTransformMode() const { return _transformMode; }
  void setTransformMode(TransformMode v) { _transformMode = v; }
  /// @}
  /// Whether the bone is active only while a skin that lists it is worn.
  /// @{
  bool isSkinRequired() const { return _skinRequired; }
  void setSkinRequired(bool v) { _skinRequired = v; }
  /// @}

 private:
  const int _index;
  const String _name;
  BoneData* const _parent;
  float _length;
  float _x, _y, _rotation, _scaleX, _scaleY, _shearX, _shearY;
  TransformMode _transformMode;
  bool _skinRequired;
};

}  // namespace skel
