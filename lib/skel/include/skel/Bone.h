/// @class skel::Bone
/// One posable bone of a skeleton: the local pose timelines write, the applied
/// values the world transform was computed from, and the world transform.
#pragma once

#include <cstdint>

#include "skel/Updatable.h"
#include "skel/Vector.h"

namespace skel {

class BoneData;
class Skeleton;

class Bone : public Updatable {
  friend class IkConstraint;
  friend class PathConstraint;
  friend class Skeleton;
  friend class TransformConstraint;

 public:
  /// Process-wide: when set, world transforms use the negated skeleton scaleY.
  /// @{
  static void setYDown(bool yDown);
  static bool isYDown();
  /// @}

  /// A bone of the skeleton in the data's setup pose; a parent is not told of its new child.
  Bone(BoneData& data, Skeleton& skeleton, Bone* parent = nullptr);
  ~Bone() override;

  SKEL_RTTI_DECL

 public:
  /// The world transform from the bone's own local pose.
  void update() override;
  bool isActive() const override { return _active; }
  void setActive(bool active) override { _active = active; }

  /// The world transform from the local pose, or from the values given, which become the applied ones.
  /// Children are not updated: the skeleton updates bones parents first.
  /// @{
  void updateWorldTransform();
  void updateWorldTransform(float x, float y, float rotation, float scaleX, float scaleY, float shearX, float shearY);
  /// @}
  /// Recovers applied local values that reproduce the current world transform.
  void updateAppliedTransform();
  /// The local pose back to the bone data's setup values.
  void setToSetupPose();

  /// The parent's world transform as a 2x3 matrix; for a root bone the
  /// skeleton's own placement (its scale and position).
  void getParentMatrix(float& pa, float& pb, float& pc, float& pd, float& px, float& py) const;

  /// The bone's setup data, skeleton, parent (null for the root) and children.
  /// @{
  BoneData& getData() const { return _data; }
  Skeleton& getSkeleton() const { return _skeleton; }
  Bone* getParent() const { return _parent; }
  Vector<Bone*>& getChildren() { return _children; }
  const Vector<Bone*>& getChildren() const { return _children; }
  /// @}

  /// The local pose, relative to the parent: position, rotation in degrees, scale and shear. Timelines write it.
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

  /// The applied pose: the local values the world transform was last computed from.
  /// Constraints change the world transform without these; isAppliedValid tells whether they still hold.
  /// @{
  float getAX() const { return _ax; }
  float getAY() const { return _ay; }
  float getARotation() const { return _arotation; }
  float getAScaleX() const { return _ascaleX; }
  float getAScaleY() const { return _ascaleY; }
  float getAShearX() const { return _ashearX; }
  float getAShearY() const { return _ashearY; }
  bool isAppliedValid() const { return _appliedValid; }
  void setAppliedValid(bool v) { _appliedValid = v; }
  /// @}

  /// The world transform: a 2x2 matrix (a b / c d) and the world position.
  /// @{
  float getA() const { return _a; }
  void setA(float v) { _a = v; }
  float getB() const { return _b; }
  void setB(float v) { _b = v; }
  float getC() const { return _c; }
  void setC(float v) { _c = v; }
  float getD() const { return _d; }
  void setD(float v) { _d = v; }
  float getWorldX() const { return _worldX; }
  void setWorldX(float v) { _worldX = v; }
  float getWorldY() const { return _worldY; }
  void setWorldY(float v) { _worldY = v; }
  /// @}

  /// The world rotation of the x axis in degrees, and the world scale along each axis.
  /// @{
  float getWorldRotationX() const;
  float getWorldScaleX() const;
  float getWorldScaleY() const;
  /// @}
  /// A point between world coordinates and this bone's local coordinates.
  /// @{
  void worldToLocal(float worldX, float worldY, float& localX, float& localY) const;
  void localToWorld(float localX, float localY, float& worldX, float& worldY) const;
  /// @}

  /// Whether the skeleton's update order holds the bone (false while it is inactive).
  bool isSorted() const { return _sorted; }

 private:
  static bool yDown;

  // The skeleton's scale with the y-down sign applied.
  void getSkeletonScale(float& sx, float& sy) const;
  // Brings the kept cosines and sines up to the two angles (radians). With
  // square (equal shears) the y axis is the x axis turned a quarter: its
  // cosine and sine are x's, exactly, with no second angle to round.
  void turnTo(float rx, float ry, bool square);

  BoneData& _data;
  Skeleton& _skeleton;
  Bone* const _parent;
  Vector<Bone*> _children;
  float _x, _y, _rotation, _scaleX, _scaleY, _shearX, _shearY;
  float _ax, _ay, _arotation, _ascaleX, _ascaleY, _ashearX, _ashearY;
  bool _appliedValid;
  float _a, _b, _worldX;
  float _c, _d, _worldY;
  bool _sorted;
  bool _active;
  // Most bones keep their angles from frame to frame: the cosines and sines
  // of the last two angles are kept (by bit pattern, so -0 and NaN too).
  uint32_t _turnBitsX, _turnBitsY;
  bool _turnYKept;  // _turnBitsY is what the y values were made from
  float _cosX, _sinX, _cosY, _sinY;
};

}  // namespace skel
