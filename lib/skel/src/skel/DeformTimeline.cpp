#include "skel/DeformTimeline.h"

#include "skel/Slot.h"
#include "skel/VertexAttachment.h"

namespace skel {

SKEL_RTTI_IMPL(DeformTimeline, CurveTimeline)

DeformTimeline::DeformTimeline(size_t frameCount) : CurveTimeline(frameCount, 1), _slotIndex(0), _attachment(nullptr) {
  _frameVertices.setSize(frameCount, Vector<float>());
}

DeformTimeline::~DeformTimeline() {}

int DeformTimeline::getPropertyId() const {
  const int attachmentId = _attachment ? _attachment->getId() : 0;
  return static_cast<int>(static_cast<unsigned>(propertyId(TimelineType::Deform, _slotIndex)) +
                          static_cast<unsigned>(attachmentId));
}

void DeformTimeline::setFrame(size_t frameIndex, float time, const Vector<float>& vertices) {
  if (frameIndex >= _frames.size() || frameIndex >= _frameVertices.size()) return;
  _frames[frameIndex] = time;
  _frameVertices[frameIndex] = vertices;
}

void DeformTimeline::apply(Skeleton& skeleton, float, float time, Vector<Event*>*, float alpha, MixBlend blend,
                           MixDirection) {
  Slot* slot = activeSlot(skeleton, _slotIndex);
  if (!slot || !_attachment) return;
  Attachment* shown = slot->getAttachment();
  if (!shown || !shown->getRTTI().instanceOf(VertexAttachment::rtti)) return;
  VertexAttachment* attachment = static_cast<VertexAttachment*>(shown);
  if (attachment->getDeformAttachment() != _attachment) return;

  const size_t count = _frames.size() < _frameVertices.size() ? _frames.size() : _frameVertices.size();
  if (count == 0) return;
  Vector<float>& deform = slot->getDeform();
  if (deform.size() == 0) blend = MixBlend::Setup;

  const size_t n = _frameVertices[0].size();
  const bool weighted = attachment->getBones().size() > 0;
  const Vector<float>& setup = attachment->getVertices();
  // Unweighted keys are mixed with the setup vertices, which must cover them.
  if (!weighted && setup.size() < n) return;

  if (time < _frames[0]) {
    if (blend == MixBlend::Setup || (blend == MixBlend::First && alpha == 1)) {
      deform.clear();
    } else if (blend == MixBlend::First) {
      deform.setSize(n, 0.0f);
      if (deform.size() != n) return;
      for (size_t i = 0; i < n; ++i)
        deform[i] = weighted ? deform[i] * (1 - alpha) : deform[i] + (setup[i] - deform[i]) * alpha;
    }
    return;
  }

  // The keyed vertices, interpolated between two keys when time lies between them.
  const Vector<float>* prev;
  const Vector<float>* next = nullptr;
  float percent = 0;
  if (atOrAfter(time, _frames[count - 1])) {
    prev = &_frameVertices[count - 1];
  } else {
    const size_t frame = search(_frames, time);
    if (frame >= count) return;
    prev = &_frameVertices[frame - 1];
    next = &_frameVertices[frame];
    percent = percentBetween(frame, time);
  }
  if (prev->size() != n || (next && next->size() != n)) return;

  deform.setSize(n, 0.0f);
  if (deform.size() != n) return;
  if (alpha == 1 && blend != MixBlend::Add) {
    // The keyed vertices replace the deform: the common case, kept free
    // of branches so that it runs as wide as the machine allows.
    float* out = deform.buffer();
    const float* from = prev->buffer();
    if (next) {
      const float* to = next->buffer();
      for (size_t i = 0; i < n; ++i) out[i] = from[i] + (to[i] - from[i]) * percent;
    } else {
      for (size_t i = 0; i < n; ++i) out[i] = from[i];
    }
    return;
  }
  for (size_t i = 0; i < n; ++i) {
    const float v = next ? (*prev)[i] + ((*next)[i] - (*prev)[i]) * percent : (*prev)[i];
    const float offset = weighted ? v : v - setup[i];
    if (alpha == 1) {
      deform[i] = blend == MixBlend::Add ? deform[i] + offset : v;
      continue;
    }
    switch (blend) {
      case MixBlend::Setup: deform[i] = weighted ? v * alpha : setup[i] + offset * alpha; break;
      case MixBlend::First:
      case MixBlend::Replace: deform[i] += (v - deform[i]) * alpha; break;
      case MixBlend::Add: deform[i] += offset * alpha; break;
    }
  }
}

}  // namespace skel
