/// @class skel::CurveTimeline
/// A timeline whose values are interpolated between keys, each interval with
/// its own curve: linear, stepped or a Bézier pre-sampled to nine points.
#pragma once

#include "skel/Timeline.h"

namespace skel {

class CurveTimeline : public Timeline {
 public:
  /// How an interval runs from one key to the next.
  enum CurveType { Linear = 0, Stepped = 1, Bezier = 2 };
  /// Floats per interval: the type, then nine (x, y) samples.
  /// @{
  static constexpr size_t CurveSize = 19;
  static constexpr size_t BezierSamples = 9;
  /// @}

  /// A timeline of frameCount keys of entries floats each, every interval linear.
  CurveTimeline(size_t frameCount, size_t entries);
  ~CurveTimeline() override;

  SKEL_RTTI_DECL

 public:
  /// Interval frameIndex runs from key frameIndex to the next. Out-of-range
  /// intervals are ignored.
  /// @{
  void setLinear(size_t frameIndex);
  void setStepped(size_t frameIndex);
  /// @}
  /// The cubic through (0, 0), (cx1, cy1), (cx2, cy2), (1, 1).
  void setCurve(size_t frameIndex, float cx1, float cy1, float cx2, float cy2);
  /// The CurveType of interval frameIndex; Linear for one that does not exist.
  int getCurveType(size_t frameIndex) const;
  /// Maps a linear percent (clamped to 0..1) through the interval's curve.
  float getCurvePercent(size_t frameIndex, float percent) const;

  /// CurveSize floats per interval, as the setters wrote them.
  /// @{
  Vector<float>& getCurves() { return _curves; }
  const Vector<float>& getCurves() const { return _curves; }
  /// @}

  /// The curve percent at time between the key before the search result
  /// frame (a float index, at least one key in) and the key at it.
  float percentBetween(size_t frame, float time) const;

 protected:
  /// The first valueCount values of each key at time (at or after the first
  /// key): the last key's from it on, else interpolated along the curve.
  void keyedValues(float time, float* out, size_t valueCount) const;

  /// The curve of each interval, CurveSize floats each.
  Vector<float> _curves;
};

}  // namespace skel
