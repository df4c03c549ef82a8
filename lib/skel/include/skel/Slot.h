/// @class skel::Slot
/// The per-skeleton state of one slot: tint, shown attachment and deform.
#pragma once

#include "skel/Color.h"
#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

class Attachment;
class Bone;
class Skeleton;
class SlotData;

class Slot : public SkelObject {
 public:
  /// The slot takes its setup pose.
  Slot(SlotData& data, Bone& bone);
  ~Slot() override;

  /// Tint, attachment and deform back to the slot data's setup values.
  void setToSetupPose();

  /// The setup data, the bone the slot is on and the skeleton.
  /// @{
  SlotData& getData() const { return _data; }
  Bone& getBone() const { return _bone; }
  Skeleton& getSkeleton() const { return _skeleton; }
  /// @}
  /// The current tint and dark tint, which timelines key.
  /// @{
  Color& getColor() { return _color; }
  Color& getDarkColor() { return _darkColor; }
  bool hasDarkColor() const { return _hasDarkColor; }
  /// @}
  /// The attachment shown, or null.
  Attachment* getAttachment() const { return _attachment; }
  /// Showing another attachment restarts its time and drops the deform.
  void setAttachment(Attachment* attachment);
  /// The animation state's mark of how the attachment was last set.
  /// @{
  int getAttachmentState() const { return _attachmentState; }
  void setAttachmentState(int v) { _attachmentState = v; }
  /// @}
  /// The skeleton time at which the current attachment was set.
  /// @{
  float getAttachmentTime() const { return _attachmentTime; }
  void setAttachmentTime(float time) { _attachmentTime = time; }
  /// @}
  /// Vertex offsets a deform timeline wrote for the attachment; empty when none.
  /// @{
  Vector<float>& getDeform() { return _deform; }
  const Vector<float>& getDeform() const { return _deform; }
  /// @}

 private:
  SlotData& _data;
  Bone& _bone;
  Skeleton& _skeleton;
  Color _color;
  Color _darkColor;
  bool _hasDarkColor;
  Attachment* _attachment;
  int _attachmentState;
  float _attachmentTime;
  Vector<float> _deform;
};

}  // namespace skel
