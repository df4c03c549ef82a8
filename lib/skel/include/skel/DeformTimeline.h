/// @class skel::DeformTimeline
/// Keys of a vertex attachment's vertices, written into the slot's deform.
/// Unweighted keys are absolute positions; weighted keys are offsets.
#pragma once

#include "skel/CurveTimeline.h"

namespace skel {

class VertexAttachment;

class DeformTimeline : public CurveTimeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit DeformTimeline(size_t frameCount);
  ~DeformTimeline() override;

  SKEL_RTTI_DECL

 public:
  /// Keys whose vertex count differs from the first key's, or that reach past
  /// an unweighted attachment's own vertices, are not applied.
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, const Vector<float>& vertices);

  /// The index in the skeleton of the slot the keys apply to.
  /// @{
  int getSlotIndex() const { return _slotIndex; }
  void setSlotIndex(int v) { _slotIndex = v; }
  /// Not owned: the attachment belongs to a skin.
  VertexAttachment* getAttachment() const { return _attachment; }
  void setAttachment(VertexAttachment* v) { _attachment = v; }
  Vector<Vector<float>>& getVertices() { return _frameVertices; }
  const Vector<Vector<float>>& getVertices() const { return _frameVertices; }

 private:
  int _slotIndex;
  VertexAttachment* _attachment;
  Vector<Vector<float>> _frameVertices;
};

}  // namespace skel
