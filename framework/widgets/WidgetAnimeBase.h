/// @class TarnFramework::WidgetAnimeBase
/// A position offset that runs from a start to an end point
/// over a number of frames along a curve; owned by the widget it moves.
#pragma once

#include <cstdint>

namespace TarnFramework {

class MathFunctionBase;

class WidgetAnimeBase {
 public:
  /// A linear run from startX to endX over duration frames; a negative duration is at its end at once.
  WidgetAnimeBase(int32_t startX, int32_t endX, int32_t duration, bool removeAtEnd);
  WidgetAnimeBase(const WidgetAnimeBase&) = delete;
  WidgetAnimeBase& operator=(const WidgetAnimeBase&) = delete;

  virtual ~WidgetAnimeBase();
  /// Drops the curve: the offset then jumps from start to end.
  virtual void Release();
  /// One frame on.
  virtual void Advance();
  /// The offset at the current frame.
  /// @{
  virtual int32_t CurrentX();
  virtual int32_t CurrentY();
  virtual void CurrentPoint(int32_t* outX, int32_t* outY);
  /// @}

  /// Whether the last frame is reached.
  bool AtEnd() const { return frame >= duration; }

  /// The offsets at the start and at the end.
  /// @{
  int32_t startX = 0;
  int32_t startY = 0;
  int32_t endX = 0;
  int32_t endY = 0;
  /// @}
  /// The length in frames, and the frames run so far.
  /// @{
  int32_t duration = 0;
  int32_t frame = 0;
  /// @}
  /// The owned curve from progress to blend; null jumps.
  MathFunctionBase* curve = nullptr;
  /// Whether the widget is removed from its parent at the end.
  bool removeAtEnd = false;

 private:
  int32_t Value(int32_t start, int32_t end) const;
};

}  // namespace TarnFramework
