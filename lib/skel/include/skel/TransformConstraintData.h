/// @class skel::TransformConstraintData
/// Setup values of a constraint pulling bones toward a target bone's transform.
#pragma once

#include "skel/ConstraintData.h"
#include "skel/Vector.h"

namespace skel {

class BoneData;

class TransformConstraintData : public ConstraintData {
 public:
  /// The setup values of the constraint named name.
  /// Every number starts at 0; the loader supplies its own defaults.
  explicit TransformConstraintData(const String& name);

  /// The bones constrained, and the bone they are pulled toward.
  /// @{
  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  BoneData* getTarget() const { return _target; }
  void setTarget(BoneData* v) { _target = v; }
  /// @}
  /// How far, from 0 to 1, each part of the bones' transform is pulled.
  /// @{
  float getRotateMix() const { return _rotateMix; }
  void setRotateMix(float v) { _rotateMix = v; }
  float getTranslateMix() const { return _translateMix; }
  void setTranslateMix(float v) { _translateMix = v; }
  float getScaleMix() const { return _scaleMix; }
  void setScaleMix(float v) { _scaleMix = v; }
  float getShearMix() const { return _shearMix; }
  void setShearMix(float v) { _shearMix = v; }
  /// @}
  /// Offsets added to the target's transform before the bones are pulled toward it.
  /// @{
  float getOffsetRotation() const { return _offsetRotation; }
  void setOffsetRotation(float v) { _offsetRotation = v; }
  float getOffsetX() const { return _offsetX; }
  void setOffsetX(float v) { _offsetX = v; }
  float getOffsetY() const { return _offsetY; }
  void setOffsetY(float v) { _offsetY = v; }
  float getOffsetScaleX() const { return _offsetScaleX; }
  void setOffsetScaleX(float v) { _offsetScaleX = v; }
  float getOffsetScaleY() const { return _offsetScaleY; }
  void setOffsetScaleY(float v) { _offsetScaleY = v; }
  float getOffsetShearY() const { return _offsetShearY; }
  void setOffsetShearY(float v) { _offsetShearY = v; }
  /// @}
  /// Whether the target's transform is added to the bones' own rather than replacing it,
  /// and whether it is taken in local rather than world space.
  /// @{
  bool isRelative() const { return _relative; }
  void setRelative(bool v) { _relative = v; }
  bool isLocal() const { return _local; }
  void setLocal(bool v) { _local = v; }
  /// @}

 private:
  Vector<BoneData*> _bones;
  BoneData* _target;
  float _rotateMix, _translateMix, _scaleMix, _shearMix;
  float _offsetRotation, _offsetX, _offsetY, _offsetScaleX, _offsetScaleY, _offsetShearY;
  bool _relative, _local;
};

}  // namespace skel
