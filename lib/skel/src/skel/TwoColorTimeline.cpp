#include "skel/TwoColorTimeline.h"

#include "skel/Color.h"
#include "skel/Slot.h"
#include "skel/SlotData.h"

namespace skel {

SKEL_RTTI_IMPL(TwoColorTimeline, CurveTimeline)

TwoColorTimeline::TwoColorTimeline(size_t frameCount) : CurveTimeline(frameCount, Entries), _slotIndex(0) {}

TwoColorTimeline::~TwoColorTimeline() {}

int TwoColorTimeline::getPropertyId() const { return propertyId(TimelineType::TwoColor, _slotIndex); }

void TwoColorTimeline::setFrame(size_t frameIndex, float time, float r, float g, float b, float a, float r2, float g2,
                                float b2) {
  size_t i;
  if (!keyOffset(frameIndex, i)) return;
  _frames[i] = time;
  _frames[i + 1] = r;
  _frames[i + 2] = g;
  _frames[i + 3] = b;
  _frames[i + 4] = a;
  _frames[i + 5] = r2;
  _frames[i + 6] = g2;
  _frames[i + 7] = b2;
}

void TwoColorTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                             MixDirection) {
  Slot* slot = activeSlot(skeleton, _slotIndex);
  const size_t count = getFrameCount();
  if (!slot || count == 0) return;
  Color& light = slot->getColor();
  Color& dark = slot->getDarkColor();
  const Color& setupLight = slot->getData().getColor();
  const Color& setupDark = slot->getData().getDarkColor();

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup) {
      light.set(setupLight);
      dark.set(setupDark);
    } else if (blend == MixBlend::First) {
      light.add((setupLight.r - light.r) * alpha, (setupLight.g - light.g) * alpha, (setupLight.b - light.b) * alpha,
                (setupLight.a - light.a) * alpha);
      dark.add((setupDark.r - dark.r) * alpha, (setupDark.g - dark.g) * alpha, (setupDark.b - dark.b) * alpha, 0);
    }
    return;
  }

  float key[7];
  keyedValues(time, key, 7);

  if (alpha == 1) {
    light.set(key[0], key[1], key[2], key[3]);
    dark.set(key[4], key[5], key[6], 1);
    return;
  }
  if (blend == MixBlend::Setup) {
    light.set(setupLight);
    dark.set(setupDark);
  }
  light.add((key[0] - light.r) * alpha, (key[1] - light.g) * alpha, (key[2] - light.b) * alpha,
            (key[3] - light.a) * alpha);
  dark.add((key[4] - dark.r) * alpha, (key[5] - dark.g) * alpha, (key[6] - dark.b) * alpha, 0);
}

}  // namespace skel
