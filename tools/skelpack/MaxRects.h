// MaxRects: a bin keeps every maximal free rectangle, so each new rectangle
// can go into any gap left so far, not only along a skyline or a shelf.
#pragma once

#include <cstddef>
#include <vector>

namespace skelpack {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// How a free rectangle is chosen for the next one placed.
enum class FitRule {
  kShortSide,  // the least leftover along the tighter side
  kLongSide,   // the least leftover along the looser side
  kArea,       // the smallest free rectangle that holds it
  kTopLeft,    // as high, then as far left, as it goes
};

class MaxRectsBin {
 public:
  MaxRectsBin(int width, int height, bool allowRotation);

  // Where a width x height rectangle would go under rule; false when it
  // fits nowhere. rotated is set when it goes turned a quarter.
  bool find(int width, int height, FitRule rule, Rect& place, bool& rotated) const;
  // Takes place out of the free space.
  void occupy(const Rect& place);

 private:
  size_t splitAround(const Rect& used);
  void dropContained(size_t firstNew);

  bool _rotation;
  std::vector<Rect> _free;
};

}  // namespace skelpack
