/// @class skel::IkConstraint
/// Bends one bone, or a parent and child, so that the chain reaches a target bone.
#pragma once

#include "skel/Updatable.h"
#include "skel/Vector.h"

namespace skel {

class Bone;
class IkConstraintData;
class Skeleton;

class IkConstraint : public Updatable {
  friend class Skeleton;

 public:
  /// A constraint on the skeleton with the data's setup values.
  /// Bones and target are the skeleton's bones of the data's bone names;
  /// names the skeleton lacks are left out.
  IkConstraint(IkConstraintData& data, Skeleton& skeleton);
  ~IkConstraint() override;

  SKEL_RTTI_DECL

 public:
  void update() override;
  bool isActive() const override { return _active; }
  void setActive(bool active) override { _active = active; }
  /// Its place in the skeleton's update order, from the data.
  virtual int getOrder() const;

  /// Turns one bone toward a world point. For a root bone the skeleton's own
  /// placement stands in for the missing parent.
  static void apply(Bone& bone, float targetX, float targetY, bool compress, bool stretch, bool uniform, float alpha);
  /// Bends parent and child toward a world point; bendDirection picks the elbow side.
  static void apply(Bone& parent, Bone& child, float targetX, float targetY, int bendDirection, bool stretch,
                    float softness, float alpha);

  /// The setup values the constraint was made from.
  IkConstraintData& getData() const { return _data; }
  /// The bones it moves, and the target.
  /// @{
  Vector<Bone*>& getBones() { return _bones; }
  Bone* getTarget() const { return _target; }
  void setTarget(Bone* v) { _target = v; }
  /// @}
  /// The current values, which timelines key: as in IkConstraintData.
  /// @{
  int getBendDirection() const { return _bendDirection; }
  void setBendDirection(int v) { _bendDirection = v; }
  bool getCompress() const { return _compress; }
  void setCompress(bool v) { _compress = v; }
  bool getStretch() const { return _stretch; }
  void setStretch(bool v) { _stretch = v; }
  float getMix() const { return _mix; }
  void setMix(float v) { _mix = v; }
  float getSoftness() const { return _softness; }
  void setSoftness(float v) { _softness = v; }
  /// @}

 private:
  IkConstraintData& _data;
  Vector<Bone*> _bones;
  int _bendDirection;
  bool _compress, _stretch;
  float _mix, _softness;
  Bone* _target;
  bool _active;
};

}  // namespace skel
