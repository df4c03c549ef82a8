#include "skel/DrawOrderTimeline.h"

#include "skel/Skeleton.h"

namespace skel {

SKEL_RTTI_IMPL(DrawOrderTimeline, Timeline)

namespace {

void resetDrawOrder(Skeleton& skeleton) { skeleton.getDrawOrder() = skeleton.getSlots(); }

}  // namespace

DrawOrderTimeline::DrawOrderTimeline(size_t frameCount) : Timeline(frameCount, 1) {
  _drawOrders.setSize(frameCount, Vector<int>());
}

DrawOrderTimeline::~DrawOrderTimeline() {}

int DrawOrderTimeline::getPropertyId() const { return propertyId(TimelineType::DrawOrder, 0); }

void DrawOrderTimeline::setFrame(size_t frameIndex, float time, const Vector<int>& drawOrder) {
  if (frameIndex >= _frames.size() || frameIndex >= _drawOrders.size()) return;
  _frames[frameIndex] = time;
  _drawOrders[frameIndex] = drawOrder;
}

void DrawOrderTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float, MixBlend blend,
                              MixDirection direction) {
  if (direction == MixDirection::Out) {
    if (blend == MixBlend::Setup) resetDrawOrder(skeleton);
    return;
  }
  const size_t count = _frames.size();
  if (count == 0) return;
  if (time < _frames[0]) {
    if (blend == MixBlend::Setup || blend == MixBlend::First) resetDrawOrder(skeleton);
    return;
  }

  const size_t frameIndex = atOrAfter(time, _frames[count - 1]) ? count - 1 : search(_frames, time) - 1;
  if (frameIndex >= _drawOrders.size()) return;
  const Vector<int>& key = _drawOrders[frameIndex];
  if (key.size() == 0) {
    resetDrawOrder(skeleton);
    return;
  }

  Vector<Slot*>& drawOrder = skeleton.getDrawOrder();
  const Vector<Slot*>& slots = skeleton.getSlots();
  if (key.size() > drawOrder.size()) return;
  for (size_t i = 0; i < key.size(); ++i)
    if (key[i] < 0 || static_cast<size_t>(key[i]) >= slots.size()) return;
  for (size_t i = 0; i < key.size(); ++i) drawOrder[i] = slots[static_cast<size_t>(key[i])];
}

}  // namespace skel
