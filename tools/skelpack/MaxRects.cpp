// The maximal-rectangles bin: every free rectangle that no other free
// rectangle contains, split around each rectangle placed.
#include "MaxRects.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace skelpack {

namespace {

bool Contains(const Rect& outer, const Rect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

bool Overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Lower is better; the second number breaks ties.
std::pair<long long, long long> Score(const Rect& free, int width, int height, FitRule rule) {
  const long long leftW = free.width - width, leftH = free.height - height;
  switch (rule) {
    case FitRule::kShortSide: return {std::min(leftW, leftH), std::max(leftW, leftH)};
    case FitRule::kLongSide: return {std::max(leftW, leftH), std::min(leftW, leftH)};
    case FitRule::kArea:
      return {static_cast<long long>(free.width) * free.height - static_cast<long long>(width) * height,
              std::min(leftW, leftH)};
    case FitRule::kTopLeft: return {free.y + height, free.x};
  }
  return {0, 0};
}

}  // namespace

MaxRectsBin::MaxRectsBin(int width, int height, bool allowRotation) : _rotation(allowRotation) {
  if (width > 0 && height > 0) _free.push_back(Rect{0, 0, width, height});
}

bool MaxRectsBin::find(int width, int height, FitRule rule, Rect& place, bool& rotated) const {
  std::pair<long long, long long> best{LLONG_MAX, LLONG_MAX};
  bool found = false;
  for (const Rect& free : _free) {
    for (int turn = 0; turn < (_rotation && width != height ? 2 : 1); ++turn) {
      const int w = turn ? height : width, h = turn ? width : height;
      if (w > free.width || h > free.height) continue;
      const std::pair<long long, long long> score = Score(free, w, h, rule);
      if (score >= best) continue;
      best = score;
      place = Rect{free.x, free.y, w, h};
      rotated = turn == 1;
      found = true;
    }
  }
  return found;
}

void MaxRectsBin::occupy(const Rect& used) { dropContained(splitAround(used)); }

// Each free rectangle the used one cuts into is replaced by its (up to four)
// maximal parts outside it. Returns where the new parts start.
size_t MaxRectsBin::splitAround(const Rect& used) {
  std::vector<Rect> parts;
  size_t kept = 0;
  for (size_t i = 0; i < _free.size(); ++i) {
    const Rect f = _free[i];
    if (!Overlaps(f, used)) {
      _free[kept++] = f;
      continue;
    }
    if (used.x > f.x) parts.push_back(Rect{f.x, f.y, used.x - f.x, f.height});
    if (used.x + used.width < f.x + f.width)
      parts.push_back(Rect{used.x + used.width, f.y, f.x + f.width - used.x - used.width, f.height});
    if (used.y > f.y) parts.push_back(Rect{f.x, f.y, f.width, used.y - f.y});
    if (used.y + used.height < f.y + f.height)
      parts.push_back(Rect{f.x, used.y + used.height, f.width, f.y + f.height - used.y - used.height});
  }
  _free.resize(kept);
  _free.insert(_free.end(), parts.begin(), parts.end());
  return kept;
}

// Only a new part can lie inside another free rectangle: the old ones were
// maximal, and each part lies within the old rectangle it was cut from.
void MaxRectsBin::dropContained(size_t firstNew) {
  size_t kept = firstNew;
  for (size_t i = firstNew; i < _free.size(); ++i) {
    const Rect part = _free[i];
    bool inside = false;
    // Against the survivors so far (of two equal parts the first stays), then
    // the parts still to come.
    for (size_t j = 0; j < kept && !inside; ++j) inside = Contains(_free[j], part);
    for (size_t j = i + 1; j < _free.size() && !inside; ++j)
      inside = Contains(_free[j], part) && !Contains(part, _free[j]);
    if (!inside) _free[kept++] = part;
  }
  _free.resize(kept);
}

}  // namespace skelpack
