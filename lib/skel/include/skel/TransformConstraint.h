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
  TransformConstraint(TransformConstraintData& data, Skeleton& skeleton);
  ~TransformConstraint() override;

  SKEL_RTTI_DECL

 public:
  void update() override;
  bool isActive() const override { return _active; }
  void setActive(bool active) override { _active = active; }
  virtual int getOrder() const;

  TransformConstraintData& getData() const { return _data; }
  Vector<Bone*>& getBones() { return _bones; }
  Bone* getTarget() const { return _target; }
  void setTarget(Bone* v) { _target = v; }
  float getRotateMix() const { return _rotateMix; }
  void setRotateMix(float v) { _rotateMix = v; }
  float getTranslateMix() const { return _translateMix; }
  void setTranslateMix(float v) { _translateMix = v; }
  float getScaleMix() const { return _scaleMix; }
  void setScaleMix(float v) { _scaleMix = v; }
  float getShearMix() const { return _shearMix; }
  void setShearMix(float v) { _shearMix = v; }

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
