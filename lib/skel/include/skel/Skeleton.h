/// @class skel::Skeleton
/// One posable instance of a SkeletonData: bones, slots, constraints, the
/// current skin and draw order, and the order in which they are updated.
#pragma once

#include <cstddef>

#include "skel/Color.h"
#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class Attachment;
class Bone;
class IkConstraint;
class PathConstraint;
class Skin;
class SkeletonData;
class Slot;
class TransformConstraint;
class Updatable;

class Skeleton : public SkelObject {
 public:
  /// A skeleton in the data's setup pose, without a skin.
  /// The data must outlive the skeleton.
  explicit Skeleton(SkeletonData* data);
  ~Skeleton() override;

  /// Rebuilds the update order; needed again whenever the skin changes.
  void updateCache();
  /// Poses every bone and runs every constraint, in the update order.
  void updateWorldTransform();

  /// The first bone, or null for a skeleton without bones.
  Bone* getRootBone() const;
  /// The first bone or slot with that name, or null.
  /// @{
  Bone* findBone(const String& name) const;
  Slot* findSlot(const String& name) const;
  /// @}

  /// Shows, on slots showing an attachment of the old skin, the new skin's
  /// attachment of the same name (or, with no old skin, the setup attachments).
  void setSkin(Skin* newSkin);
  /// The current skin's attachment, else the default skin's; null for an empty name.
  Attachment* getAttachment(int slotIndex, const String& attachmentName) const;

  /// Bones and constraints, or slots and the draw order, back to the setup pose.
  /// @{
  void setBonesToSetupPose();
  void setSlotsToSetupPose();
  /// @}

  /// The data the skeleton was made from.
  SkeletonData* getData() const { return _data; }
  /// The bones, slots, draw order (slots in drawing order) and constraints,
  /// each parallel to the data's list except the draw order.
  /// @{
  Vector<Bone*>& getBones() { return _bones; }
  const Vector<Bone*>& getBones() const { return _bones; }
  Vector<Slot*>& getSlots() { return _slots; }
  const Vector<Slot*>& getSlots() const { return _slots; }
  Vector<Slot*>& getDrawOrder() { return _drawOrder; }
  const Vector<Slot*>& getDrawOrder() const { return _drawOrder; }
  Vector<IkConstraint*>& getIkConstraints() { return _ikConstraints; }
  Vector<TransformConstraint*>& getTransformConstraints() { return _transformConstraints; }
  Vector<PathConstraint*>& getPathConstraints() { return _pathConstraints; }
  /// @}
  /// The update order updateCache built, and the bones a constraint
  /// moves, which are reset to their local pose first.
  /// @{
  const Vector<Updatable*>& getUpdateCacheList() const { return _updateCache; }
  const Vector<Bone*>& getUpdateCacheReset() const { return _updateCacheReset; }
  /// @}
  /// The current skin, or null.
  Skin* getSkin() const { return _skin; }
  /// The tint over every slot.
  Color& getColor() { return _color; }
  /// A clock for the caller's use; the runtime does not advance it.
  /// @{
  float getTime() const { return _time; }
  void setTime(float v) { _time = v; }
  /// @}
  /// The placement of the whole skeleton: scale and the root's position.
  /// @{
  float getScaleX() const { return _scaleX; }
  void setScaleX(float v) { _scaleX = v; }
  float getScaleY() const { return _scaleY; }
  void setScaleY(float v) { _scaleY = v; }
  float getX() const { return _x; }
  void setX(float v) { _x = v; }
  float getY() const { return _y; }
  void setY(float v) { _y = v; }
  /// @}

 private:
  void sortIkConstraint(IkConstraint* constraint);
  void sortTransformConstraint(TransformConstraint* constraint);
  void sortPathConstraint(PathConstraint* constraint);
  void sortPathConstraintAttachment(Skin* skin, size_t slotIndex, Bone& slotBone);
  void sortPathConstraintAttachment(Attachment* attachment, Bone& slotBone);
  void sortBone(Bone* bone);
  static void sortReset(Vector<Bone*>& bones);
  bool skinHasConstraint(const void* constraintData) const;

  SkeletonData* _data;
  Vector<Bone*> _bones;
  Vector<Slot*> _slots;
  Vector<Slot*> _drawOrder;
  Vector<IkConstraint*> _ikConstraints;
  Vector<TransformConstraint*> _transformConstraints;
  Vector<PathConstraint*> _pathConstraints;
  Vector<Updatable*> _updateCache;
  Vector<Bone*> _updateCacheReset;
  Skin* _skin;
  Color _color;
  float _time;
  float _scaleX, _scaleY;
  float _x, _y;
};

}  // namespace skel
