/// @class skel::DrawOrderTimeline
/// Keys of the skeleton's draw order: per draw position, the index of the
/// slot to put there; an empty key is the setup order.
#pragma once

#include "skel/Timeline.h"

namespace skel {

class DrawOrderTimeline : public Timeline {
 public:
  /// A timeline of frameCount keys, all zero.
  explicit DrawOrderTimeline(size_t frameCount);
  ~DrawOrderTimeline() override;

  SKEL_RTTI_DECL

 public:
  /// A key naming a slot the skeleton lacks, or longer than the draw order, is not applied.
  void apply(Skeleton& skeleton, float lastTime, float time, Vector<Event*>* events, float alpha, MixBlend blend,
             MixDirection direction) override;
  int getPropertyId() const override;

  /// Sets key frameIndex: its time, then its values.
  void setFrame(size_t frameIndex, float time, const Vector<int>& drawOrder);

  /// The draw order of each key: slot indices in drawing order, or empty for the setup order.
  /// @{
  Vector<Vector<int>>& getDrawOrders() { return _drawOrders; }
  const Vector<Vector<int>>& getDrawOrders() const { return _drawOrders; }
  /// @}

 private:
  Vector<Vector<int>> _drawOrders;
};

}  // namespace skel
