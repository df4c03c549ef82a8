/// @class skel::SkeletonData
/// The setup-pose description of one skeleton, shared read-only by every
/// skeleton made from it. It owns everything in its lists.
#pragma once

#include "skel/NameIndex.h"
#include "skel/SkelObject.h"
#include "skel/String.h"
#include "skel/Vector.h"

namespace skel {

class Animation;
class BoneData;
class EventData;
class IkConstraintData;
class PathConstraintData;
class Skin;
class SlotData;
class TransformConstraintData;

class SkeletonData : public SkelObject {
 public:
  SkeletonData();
  ~SkeletonData() override;

  /// Each lookup returns the first element with an equal name, or null, in
  /// constant time through an index that follows its list.
  /// @{
  BoneData* findBone(const String& name) const;
  SlotData* findSlot(const String& name) const;
  Skin* findSkin(const String& name) const;
  EventData* findEvent(const String& name) const;
  Animation* findAnimation(const String& name) const;
  IkConstraintData* findIkConstraint(const String& name) const;
  TransformConstraintData* findTransformConstraint(const String& name) const;
  PathConstraintData* findPathConstraint(const String& name) const;
  /// @}
  /// Indexes every list as it stands, so that later lookups only read (as
  /// several threads may do at once). The skeleton reader calls it last.
  void indexNames() const;

  /// The skeleton's name.
  /// @{
  const String& getName() const { return _name; }
  void setName(const String& v) { _name = v; }
  /// @}
  /// The bones (parents before children), slots (in setup draw order) and skins.
  /// @{
  Vector<BoneData*>& getBones() { return _bones; }
  const Vector<BoneData*>& getBones() const { return _bones; }
  Vector<SlotData*>& getSlots() { return _slots; }
  const Vector<SlotData*>& getSlots() const { return _slots; }
  Vector<Skin*>& getSkins() { return _skins; }
  const Vector<Skin*>& getSkins() const { return _skins; }
  /// @}
  /// The skin searched where the current one lacks an attachment.
  /// Also listed in the skins, which own it.
  /// @{
  Skin* getDefaultSkin() const { return _defaultSkin; }
  void setDefaultSkin(Skin* v) { _defaultSkin = v; }
  /// @}
  /// The events, animations and constraints, in file order.
  /// @{
  Vector<EventData*>& getEvents() { return _events; }
  const Vector<EventData*>& getEvents() const { return _events; }
  Vector<Animation*>& getAnimations() { return _animations; }
  const Vector<Animation*>& getAnimations() const { return _animations; }
  Vector<IkConstraintData*>& getIkConstraints() { return _ikConstraints; }
  const Vector<IkConstraintData*>& getIkConstraints() const { return _ikConstraints; }
  Vector<TransformConstraintData*>& getTransformConstraints() { return _transformConstraints; }
  const Vector<TransformConstraintData*>& getTransformConstraints() const { return _transformConstraints; }
  Vector<PathConstraintData*>& getPathConstraints() { return _pathConstraints; }
  const Vector<PathConstraintData*>& getPathConstraints() const { return _pathConstraints; }
  /// @}

  /// The setup pose's bounding box: its corner and size.
  /// @{
  float getX() const { return _x; }
  void setX(float v) { _x = v; }
  float getY() const { return _y; }
  void setY(float v) { _y = v; }
  float getWidth() const { return _width; }
  void setWidth(float v) { _width = v; }
  float getHeight() const { return _height; }
  void setHeight(float v) { _height = v; }
  /// @}
  /// What the file says of itself: its version and content hash,
  /// the editor's frame rate and its image and audio folders. The runtime reads none of them.
  /// @{
  const String& getVersion() const { return _version; }
  void setVersion(const String& v) { _version = v; }
  const String& getHash() const { return _hash; }
  void setHash(const String& v) { _hash = v; }
  float getFps() const { return _fps; }
  void setFps(float v) { _fps = v; }
  const String& getImagesPath() const { return _imagesPath; }
  void setImagesPath(const String& v) { _imagesPath = v; }
  const String& getAudioPath() const { return _audioPath; }
  void setAudioPath(const String& v) { _audioPath = v; }
  /// @}

 private:
  String _name;
  Vector<BoneData*> _bones;
  Vector<SlotData*> _slots;
  Vector<Skin*> _skins;
  Skin* _defaultSkin;
  Vector<EventData*> _events;
  Vector<Animation*> _animations;
  Vector<IkConstraintData*> _ikConstraints;
  Vector<TransformConstraintData*> _transformConstraints;
  Vector<PathConstraintData*> _pathConstraints;
  float _x, _y, _width, _height;
  String _version;
  String _hash;
  float _fps;
  String _imagesPath;
  String _audioPath;
  NameIndex _boneIndex, _slotIndex, _skinIndex, _eventIndex, _animationIndex, _ikIndex, _transformIndex, _pathIndex;
};

}  // namespace skel
