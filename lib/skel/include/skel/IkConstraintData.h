/// @class skel::IkConstraintData
/// Setup values of an IK constraint bending one or two bones toward a target.
#pragma once

#include "skel/ConstraintData.h"
#include "skel/Vector.h"

namespace skel {

class BoneData;

class IkConstraintData : public ConstraintData {
 public:
  /// The setup values of the constraint named name.
  /// Every number starts at 0; the loader supplies its own defaults.
  explicit IkConstraintData(const String& name);

  /// The first bone is the parent of a two-bone chain.
  /// @{
  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  /// @}
  /// The bone the chain reaches for.
  /// @{
  BoneData* getTarget() const { return _target; }
  void setTarget(BoneData* v) { _target = v; }
  /// @}
  /// The setup values: the elbow's side (1 or -1), whether a single bone may shrink
  /// or stretch to reach, whether a shrink or stretch scales both axes, how far (0 to 1)
  /// the constraint applies and the distance over which a two-bone chain straightens softly.
  /// @{
  int getBendDirection() const { return _bendDirection; }
  void setBendDirection(int v) { _bendDirection = v; }
  bool getCompress() const { return _compress; }
  void setCompress(bool v) { _compress = v; }
  bool getStretch() const { return _stretch; }
  void setStretch(bool v) { _stretch = v; }
  bool getUniform() const { return _uniform; }
  void setUniform(bool v) { _uniform = v; }
  float getMix() const { return _mix; }
  void setMix(float v) { _mix = v; }
  float getSoftness() const { return _softness; }
  void setSoftness(float v) { _softness = v; }
  /// @}

 private:
  Vector<BoneData*> _bones;
  BoneData* _target;
  int _bendDirection;
  bool _compress, _stretch, _uniform;
  float _mix;
  float _softness;
};

}  // namespace skel
