#include "skel/CurveTimeline.h"

namespace skel {

SKEL_RTTI_IMPL(CurveTimeline, Timeline)

CurveTimeline::CurveTimeline(size_t frameCount, size_t entries) : Timeline(frameCount, entries) {
  if (frameCount > 1) _curves.setSize((frameCount - 1) * CurveSize, 0.0f);
}

CurveTimeline::~CurveTimeline() {}

void CurveTimeline::setLinear(size_t frameIndex) {
  if ((frameIndex + 1) * CurveSize <= _curves.size()) _curves[frameIndex * CurveSize] = Linear;
}

void CurveTimeline::setStepped(size_t frameIndex) {
  if ((frameIndex + 1) * CurveSize <= _curves.size()) _curves[frameIndex * CurveSize] = Stepped;
}

// Forward differences of the cubic over ten equal steps of its parameter;
// the nine inner points are kept, so evaluation is a short walk.
void CurveTimeline::setCurve(size_t frameIndex, float cx1, float cy1, float cx2, float cy2) {
  if ((frameIndex + 1) * CurveSize > _curves.size()) return;
  const float tmpx = (cx2 - cx1 * 2) * 0.03f, tmpy = (cy2 - cy1 * 2) * 0.03f;
  const float dddfx = ((cx1 - cx2) * 3 + 1) * 0.006f, dddfy = ((cy1 - cy2) * 3 + 1) * 0.006f;
  float ddfx = tmpx * 2 + dddfx, ddfy = tmpy * 2 + dddfy;
  float dfx = cx1 * 0.3f + tmpx + dddfx * 0.16666667f, dfy = cy1 * 0.3f + tmpy + dddfy * 0.16666667f;

  size_t i = frameIndex * CurveSize;
  _curves[i++] = Bezier;
  float x = dfx, y = dfy;
  for (size_t n = 0; n < BezierSamples; ++n) {
    _curves[i++] = x;
    _curves[i++] = y;
    dfx += ddfx;
    dfy += ddfy;
    ddfx += dddfx;
    ddfy += dddfy;
    x += dfx;
    y += dfy;
  }
}

int CurveTimeline::getCurveType(size_t frameIndex) const {
  if ((frameIndex + 1) * CurveSize > _curves.size()) return Linear;
  const float type = _curves[frameIndex * CurveSize];
  if (type == Stepped) return Stepped;
  if (type == Bezier) return Bezier;
  return Linear;
}

float CurveTimeline::getCurvePercent(size_t frameIndex, float percent) const {
  // NaN (keys out of order) counts as the start of the interval.
  if (!(percent > 0)) percent = 0;
  if (percent > 1) percent = 1;
  switch (getCurveType(frameIndex)) {
    case Linear: return percent;
    case Stepped: return 0;
    default: break;
  }
  size_t i = frameIndex * CurveSize + 1;
  const size_t start = i;
  const size_t end = i + BezierSamples * 2;
  float x = 0;
  for (; i < end; i += 2) {
    x = _curves[i];
    if (x >= percent) {
      float prevX = 0, prevY = 0;
      if (i != start) {
        prevX = _curves[i - 2];
        prevY = _curves[i - 1];
      }
      if (x == prevX) return _curves[i + 1];
      return prevY + (_curves[i + 1] - prevY) * (percent - prevX) / (x - prevX);
    }
  }
  const float y = _curves[end - 1];
  return y + (1 - y) * (percent - x) / (1 - x);
}

float CurveTimeline::percentBetween(size_t frame, float time) const {
  const float frameTime = _frames[frame];
  const float prevTime = _frames[frame - _entries];
  return getCurvePercent(frame / _entries - 1, 1 - (time - frameTime) / (prevTime - frameTime));
}

void CurveTimeline::keyedValues(float time, float* out, size_t valueCount) const {
  const size_t entries = getEntries();
  const size_t last = (getFrameCount() - 1) * entries;
  if (atOrAfter(time, _frames[last])) {
    for (size_t c = 0; c < valueCount; ++c) out[c] = _frames[last + 1 + c];
    return;
  }
  const size_t frame = search(_frames, time, entries);
  const float percent = percentBetween(frame, time);
  for (size_t c = 0; c < valueCount; ++c) {
    const float prev = _frames[frame - entries + 1 + c];
    out[c] = prev + (_frames[frame + 1 + c] - prev) * percent;
  }
}

}  // namespace skel
