/// @class skel::PathConstraint
/// Lays bones along the path attachment shown by a target slot.
#pragma once

#include "skel/Updatable.h"
#include "skel/Vector.h"

namespace skel {

class Bone;
class PathAttachment;
class PathConstraintData;
class Skeleton;
class Slot;

class PathConstraint : public Updatable {
  friend class Skeleton;

 public:
  /// A constraint on the skeleton with the data's setup values.
  /// Bones and target are found in the skeleton by the data's names; names it lacks are left out.
  PathConstraint(PathConstraintData& data, Skeleton& skeleton);
  ~PathConstraint() override;

  SKEL_RTTI_DECL

 public:
  void update() override;
  bool isActive() const override { return _active; }
  void setActive(bool active) override { _active = active; }
  /// Its place in the skeleton's update order, from the data.
  virtual int getOrder() const;

  /// Fills the positions with spacesCount (x, y, angle) triples along the
  /// path; null when the path has too few vertices or lengths to walk.
  Vector<float>* computeWorldPositions(PathAttachment& path, int spacesCount, bool tangents, bool percentPosition,
                                       bool percentSpacing);

  /// The setup values the constraint was made from.
  PathConstraintData& getData() const { return _data; }
  /// The bones it moves, and the target.
  /// @{
  Vector<Bone*>& getBones() { return _bones; }
  Slot* getTarget() const { return _target; }
  void setTarget(Slot* v) { _target = v; }
  /// @}
  /// The current values, which timelines key: as in PathConstraintData.
  /// @{
  float getPosition() const { return _position; }
  void setPosition(float v) { _position = v; }
  float getSpacing() const { return _spacing; }
  void setSpacing(float v) { _spacing = v; }
  float getRotateMix() const { return _rotateMix; }
  void setRotateMix(float v) { _rotateMix = v; }
  float getTranslateMix() const { return _translateMix; }
  void setTranslateMix(float v) { _translateMix = v; }
  /// @}

 private:
  Vector<float>* computeFromCurveLengths(PathAttachment& path, int spacesCount, bool tangents, bool percentPosition,
                                         bool percentSpacing);
  Vector<float>* computeAtConstantSpeed(PathAttachment& path, int spacesCount, bool tangents, bool percentPosition,
                                        bool percentSpacing);
  static void addBeforePosition(float p, const Vector<float>& temp, size_t i, Vector<float>& out, size_t o);
  static void addAfterPosition(float p, const Vector<float>& temp, size_t i, Vector<float>& out, size_t o);
  static void addCurvePosition(float p, float x1, float y1, float cx1, float cy1, float cx2, float cy2, float x2,
                               float y2, Vector<float>& out, size_t o, bool tangents);

  PathConstraintData& _data;
  Vector<Bone*> _bones;
  Slot* _target;
  float _position, _spacing, _rotateMix, _translateMix;
  Vector<float> _spaces;
  Vector<float> _positions;
  Vector<float> _world;
  Vector<float> _curves;
  Vector<float> _lengths;
  Vector<float> _segments;
  bool _active;
};

}  // namespace skel
