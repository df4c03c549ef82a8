// Where each rectangle goes: pages of at most the largest size, each shrunk
// to what it holds.
#pragma once

#include <vector>

namespace skelpack {

struct LayoutSettings {
  int maxSize = 2048;
  int padding = 2;  // between the rectangles (with their margins) and from the page's edges
  int margin = 0;   // kept around each rectangle, outside it (extruded pixels)
  bool rotate = false;
  bool pot = false;
};

struct Placed {
  int page = -1;
  int x = 0, y = 0;      // the rectangle's top-left on its page, margin excluded
  bool rotated = false;  // stored a quarter turn round: height across, width down
};

struct PageSize {
  int width = 0, height = 0;
};

struct Layout {
  std::vector<PageSize> pages;
  std::vector<Placed> placed;  // one for each size given
};

// The largest page side the settings allow (a power of two with pot).
int LargestPage(const LayoutSettings& settings);
// Whether a width x height rectangle fits on a page at all.
bool FitsAPage(int width, int height, const LayoutSettings& settings);

// Lays out every rectangle (each must fit a page). The same sizes in the
// same order always give the same layout.
Layout LayOut(const std::vector<PageSize>& sizes, const LayoutSettings& settings);

}  // namespace skelpack
