#include "framework/widgets/WidgetAnimeBase.h"

#include "framework/widgets/MathFunctionLinearity.h"

namespace TarnFramework {

WidgetAnimeBase::WidgetAnimeBase(int32_t startX_, int32_t endX_, int32_t duration_, bool removeAtEnd_)
    : startX(startX_),
      endX(endX_),
      duration(duration_),
      frame(duration_ >= 0 ? 0 : duration_),
      curve(new MathFunctionLinearity),
      removeAtEnd(removeAtEnd_) {}

WidgetAnimeBase::~WidgetAnimeBase() { delete curve; }

void WidgetAnimeBase::Release() {
  if (curve) {
    curve->Release();
    delete curve;
    curve = nullptr;
  }
}

void WidgetAnimeBase::Advance() { ++frame; }

int32_t WidgetAnimeBase::Value(int32_t start, int32_t end) const {
  if (frame >= duration) return end;
  if (!curve) return start;
  double f = curve->Evaluate(static_cast<double>(frame) / duration);
  return static_cast<int32_t>(start + (static_cast<double>(end) - start) * f);
}

int32_t WidgetAnimeBase::CurrentX() { return Value(startX, endX); }

int32_t WidgetAnimeBase::CurrentY() { return Value(startY, endY); }

void WidgetAnimeBase::CurrentPoint(int32_t* outX, int32_t* outY) {
  *outX = CurrentX();
  *outY = CurrentY();
}

}  // namespace TarnFramework
