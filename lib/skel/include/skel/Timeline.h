/// @class skel::Timeline
/// Keys for one property of one target, applied to a skeleton at a time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skel/MixBlend.h"
#include "skel/MixDirection.h"
#include "skel/RTTI.h"
#include "skel/SkelObject.h"
#include "skel/Vector.h"

namespace skel {

class Bone;
class Event;
class IkConstraint;
class PathConstraint;
class Skeleton;
class Slot;
class TransformConstraint;

/// The high byte of a property id; the low 24 bits hold the target index.
enum class TimelineType : int32_t {
  Rotate = 0,
  Translate,
  Scale,
  Shear,
  Attachment,
  Color,
  Deform,
  Event,
  DrawOrder,
  IkConstraint,
  TransformConstraint,
  PathConstraintPosition,
  PathConstraintSpacing,
  PathConstraintMix,
  TwoColor
};

class Timeline : public SkelObject {
 public:
  /// A timeline of frameCount keys of entries floats each (the key's time first), all zero.
  Timeline(size_t frameCount, size_t entries);
  ~Timeline() override;

  SKEL_RTTI_ROOT_DECL

 public:
  /// Writes the value keyed at time into the skeleton, mixed with the current
  /// value by alpha, blend and direction. lastTime matters to events only;
  /// events may be null. Targets missing from the skeleton are skipped.
  virtual void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha,
                     MixBlend blend, MixDirection direction) = 0;
  /// The type number times 2^24 plus the target index.
  virtual int getPropertyId() const = 0;

  /// The keys, getEntries() floats each.
  /// @{
  Vector<float>& getFrames() { return _frames; }
  const Vector<float>& getFrames() const { return _frames; }
  /// @}
  /// Floats per key, the time included.
  /// @{
  size_t getEntries() const { return _entries; }
  size_t getFrameCount() const { return _frames.size() / _entries; }
  /// @}

  /// The float index of the first key whose time is after target, for keys
  /// of step floats; the caller ensures there are at least two keys and that
  /// target lies at or after the first key's time and before the last's.
  /// @{
  static size_t search(const Vector<float>& frames, float target, size_t step);
  static size_t search(const Vector<float>& frames, float target) { return search(frames, target, 1); }
  /// @}

  /// Whether time is at or after keyTime. A NaN time counts as after, so that
  /// only times strictly between the first and the last key reach the search.
  static bool atOrAfter(float time, float keyTime) { return !(time < keyTime); }

 protected:
  /// The property id of the target of that type and index.
  /// Unsigned arithmetic: a wild index must not overflow.
  static int propertyId(TimelineType type, int index) {
    return static_cast<int>((static_cast<unsigned>(type) << 24) + static_cast<unsigned>(index));
  }

  /// The skeleton's element at index, or null when the index is out of range
  /// or the element (for slots, its bone) is inactive.
  /// @{
  static Bone* activeBone(Skeleton& skeleton, int index);
  static Slot* activeSlot(Skeleton& skeleton, int index);
  static IkConstraint* activeIkConstraint(Skeleton& skeleton, int index);
  static TransformConstraint* activeTransformConstraint(Skeleton& skeleton, int index);
  static PathConstraint* activePathConstraint(Skeleton& skeleton, int index);
  /// @}

  /// The float index of key frameIndex when it exists, else false.
  bool keyOffset(size_t frameIndex, size_t& offset) const;

  /// The keys, _entries floats each.
  Vector<float> _frames;
  /// Floats per key, the time included.
  const size_t _entries;
};

}  // namespace skel
