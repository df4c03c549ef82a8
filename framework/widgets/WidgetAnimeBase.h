/// @class TarnFramework::WidgetAnimeBase
/// A position offset that runs from a start to an end point
/// over a number of frames along a curve; owned by the widget it moves.
#pragma once

#include <cstdint>

namespace TarnFramework {

class MathFunctionBase;

class WidgetAnimeBase {
 public:
  /// Linear from startX to endX; a negative duration is at its end at once.
  WidgetAnimeBase(int32_t startX, int32_t endX, int32_t duration, bool removeAtEnd);
  WidgetAnimeBase(const WidgetAnimeBase&) = delete;
  WidgetAnimeBase& operator=(const WidgetAnimeBase&) = delete;

  virtual ~WidgetAnimeBase();
  /// Drops the curve: the offset then jumps from start to end.
  virtual void Release();
  virtual void Advance();
  virtual int32_t CurrentX();
  virtual int32_t CurrentY();
  virtual void CurrentPoint(int32_t* outX, int32_t* outY);

  bool AtEnd() const { return frame >= duration; }

  int32_t startX = 0;
  int32_t startY = 0;
  int32_t endX = 0;
  int32_t endY = 0;
  int32_t duration = 0;
  int32_t frame = 0;
  MathFunctionBase* curve = nullptr;
  bool removeAtEnd = false;

 private:
  int32_t Value(int32_t start, int32_t end) const;
};

}  // namespace TarnFramework
