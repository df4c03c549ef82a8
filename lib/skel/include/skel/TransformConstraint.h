/// @class skel::TransformConstraint
/// Pulls bones toward a target bone's rotation, position, scale and shear,
/// in world or local space, absolutely or relative to their own pose.
#pragma once

#include "skel/Updatable.h"
#include "skel/Vector.h"

namespace skel {

class Bone;
class Skeleton;
class TransformConstraintData;

class TransformConstraint : public Updatable {
  friend class Skeleton;

 public:
  /// A constraint on the skeleton with the data's setup values.
  /// Bones and target are found in the skeleton by the data's names; names it lacks are left out.
  TransformConstraint(TransformConstraintData& data, Skeleton& skeleton);
  ~TransformConstraint() override;

  SKEL_RTTI_DECL

 public:
  void update() override;
  bool isActive() const override { return _active; }
  void setActive(bool active) override { _active = active; }
  /// Its place in the skeleton's update order, from the data.
  virtual int getOrder() const;

  /// The setup values the constraint was made from.
  TransformConstraintData& getData() const { return _data; }
  /// The bones it moves, and the target.
  /// @{
  Vector<Bone*>& getBones() { return _bones; }
  Bone* getTarget() const { return _target; }
  void setTarget(Bone* v) { _target = v; }
  /// @}
  /// The current mixes, which timelines key: as in TransformConstraintData.
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

 private:
  void applyAbsoluteWorld();
  void applyRelativeWorld();
  void applyAbsoluteLocal();
  void applyRelativeLocal();

  TransformConstraintData& _data;
  Vector<Bone*> _bones;
  Bone* _target;
  float _rotateMix, _translateMix, _scaleMix, _shearMix;
  bool _active;
};

}  // namespace skel
