#include "skel/ColorTimeline.h"

#include "skel/Color.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skel {

SKEL_RTTI_IMPL(ColorTimeline, CurveTimeline)

ColorTimeline::ColorTimeline(size_t frameCount) : CurveTimeline(frameCount, Entries), _slotIndex(0) {}

ColorTimeline::~ColorTimeline() {}

int ColorTimeline::getPropertyId() const { return propertyId(TimelineType::Color, _slotIndex); }

void ColorTimeline::setFrame(size_t frameIndex, float time, float r, float g, float b, float a) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = r;
  _frames[i + 2] = g;
  _frames[i + 3] = b;
  _frames[i + 4] = a;
}

void ColorTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                          MixDirection) {
  Slot* slot = activeSlot(skeleton, _slotIndex);
  const size_t count = getFrameCount();
  if (!slot || count == 0) return;
  Color& color = slot->getColor();
  const Color& setup = slot->getData().getColor();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup)
      color.set(setup);
    else if (blend == MixBlend::First)
      color.add((setup.r - color.r) * alpha, (setup.g - color.g) * alpha, (setup.b - color.b) * alpha,
                (setup.a - color.a) * alpha);
    return;
  }

  float key[4];
  keyedValues(time, key, 4);

  if (alpha == 1) {
    color.set(key[0], key[1], key[2], key[3]);
    return;
  }
  if (blend == MixBlend::Setup) color.set(setup);
  color.add((key[0] - color.r) * alpha, (key[1] - color.g) * alpha, (key[2] - color.b) * alpha,
            (key[3] - color.a) * alpha);
}

}  // namespace skel
