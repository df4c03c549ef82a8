// Pages are filled one at a time with MaxRects, trying a few orders and fit
// rules and keeping the one that holds the most; the last page is then made
// as small as its rectangles allow.
#include "Layout.h"

#include <algorithm>
#include <functional>

#include "MaxRects.h"

namespace skelpack {

namespace {

// A rectangle as the bin sees it: with its margin and one padding.
struct Item {
  int id = 0;
  int width = 0, height = 0;
  long long area() const { return static_cast<long long>(width) * height; }
};

struct Attempt {
  std::vector<std::pair<int, Rect>> places;  // item id, place in the bin (rotated when the sides swap)
  long long area = 0;
  int right = 0, bottom = 0;  // what the places cover
};

// An order to place in and a rule to place by.
struct Way {
  size_t order;
  FitRule rule;
};

constexpr FitRule kRules[] = {FitRule::kShortSide, FitRule::kLongSide, FitRule::kArea, FitRule::kTopLeft};

// Orders to place in, largest first by several measures; ties keep the
// order given, so the result depends on nothing else.
std::vector<std::vector<Item>> Orders(const std::vector<Item>& items) {
  using Before = std::function<bool(const Item&, const Item&)>;
  const Before measures[] = {
      [](const Item& a, const Item& b) { return a.area() > b.area(); },
      [](const Item& a, const Item& b) {
        return std::max(a.width, a.height) != std::max(b.width, b.height)
                   ? std::max(a.width, a.height) > std::max(b.width, b.height)
                   : std::min(a.width, a.height) > std::min(b.width, b.height);
      },
      [](const Item& a, const Item& b) { return a.height != b.height ? a.height > b.height : a.width > b.width; },
      [](const Item& a, const Item& b) { return a.width != b.width ? a.width > b.width : a.height > b.height; },
  };
  std::vector<std::vector<Item>> orders;
  for (const Before& before : measures) {
    orders.push_back(items);
    std::stable_sort(orders.back().begin(), orders.back().end(), before);
  }
  return orders;
}

// Places items in order into a width x height bin; those that fit nowhere
// are left out, or end the attempt at once when all must fit (then false).
bool Try(const std::vector<Item>& items, int width, int height, FitRule rule, bool rotate, bool allMustFit,
         Attempt& attempt) {
  attempt = Attempt();
  MaxRectsBin bin(width, height, rotate);
  for (const Item& item : items) {
    Rect place;
    bool rotated = false;
    if (!bin.find(item.width, item.height, rule, place, rotated)) {
      if (allMustFit) return false;
      continue;
    }
    bin.occupy(place);
    attempt.places.emplace_back(item.id, place);
    attempt.area += item.area();
    attempt.right = std::max(attempt.right, place.x + place.width);
    attempt.bottom = std::max(attempt.bottom, place.y + place.height);
  }
  return true;
}

int NextPowerOfTwo(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

class PageMaker {
 public:
  explicit PageMaker(const LayoutSettings& s) : _s(s) {}

  // The page size that holds an attempt's places.
  PageSize pageFor(const Attempt& a) const {
    PageSize page{a.right + _s.padding, a.bottom + _s.padding};
    if (_s.pot) page = PageSize{NextPowerOfTwo(page.width), NextPowerOfTwo(page.height)};
    return page;
  }

  // The attempt that holds the most of items on one page of the largest
  // size. ranked gets every order and rule, the best first.
  Attempt fullest(const std::vector<std::vector<Item>>& orders, std::vector<Way>& ranked) const {
    const int side = LargestPage(_s) - _s.padding;
    std::vector<std::pair<Way, Attempt>> tried;
    for (size_t order = 0; order < orders.size(); ++order)
      for (FitRule rule : kRules) {
        tried.emplace_back(Way{order, rule}, Attempt());
        Try(orders[order], side, side, rule, _s.rotate, false, tried.back().second);
      }
    std::stable_sort(tried.begin(), tried.end(), [this](const auto& a, const auto& b) {
      return a.second.area != b.second.area ? a.second.area > b.second.area : Area(a.second) < Area(b.second);
    });
    ranked.clear();
    for (const auto& t : tried) ranked.push_back(t.first);
    return tried.front().second;
  }

  // All of items on the smallest page found, starting from a known fit.
  Attempt smallest(const std::vector<std::vector<Item>>& orders, std::vector<Way> ways, Attempt best) const {
    // The ways that did best on the largest page are the likeliest to do best
    // on a smaller one; trying every way at every size costs too much.
    ways.resize(std::min<size_t>(ways.size(), 4));
    const std::vector<Item>& items = orders.front();
    long long total = 0;
    int widest = 1, tallest = 1;
    for (const Item& item : items) {
      total += item.area();
      const int across = _s.rotate ? std::min(item.width, item.height) : item.width;
      const int down = _s.rotate ? std::min(item.width, item.height) : item.height;
      widest = std::max(widest, across), tallest = std::max(tallest, down);
    }
    const int side = LargestPage(_s) - _s.padding;
    for (int width : widths(widest, side)) {
      // The lowest height that could hold them all at this width.
      const int low = static_cast<int>(std::max<long long>(tallest, (total + width - 1) / width));
      if (low > side || static_cast<long long>(width) * low >= Area(best)) continue;
      int lo = low, hi = std::min<long long>(side, Area(best) / width);
      Attempt found;
      bool any = false;
      // The lowest height at which some order and rule hold all of them.
      while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        Attempt attempt;
        if (fitsAll(orders, ways, width, heightFor(mid), attempt)) {
          found = attempt, any = true;
          hi = mid - 1;
        } else {
          lo = mid + 1;
        }
      }
      if (any && Area(found) < Area(best)) best = found;
    }
    return best;
  }

 private:
  // The page area an attempt needs.
  long long Area(const Attempt& a) const {
    const PageSize page = pageFor(a);
    return static_cast<long long>(page.width) * page.height;
  }

  // Bin widths worth trying: with pot only those of whole pages.
  std::vector<int> widths(int low, int high) const {
    std::vector<int> out;
    if (_s.pot) {
      for (int page = 1; page - _s.padding <= high; page *= 2)
        if (page - _s.padding >= low) out.push_back(page - _s.padding);
      return out;
    }
    const int steps = 16;
    for (int i = 0; i <= steps; ++i) {
      const int width = low + static_cast<int>(static_cast<long long>(high - low) * i / steps);
      if (out.empty() || out.back() != width) out.push_back(width);
    }
    return out;
  }

  // With pot a bin height is what a power-of-two page leaves.
  int heightFor(int height) const { return _s.pot ? NextPowerOfTwo(height + _s.padding) - _s.padding : height; }

  bool fitsAll(const std::vector<std::vector<Item>>& orders, const std::vector<Way>& ways, int width, int height,
               Attempt& attempt) const {
    for (const Way& way : ways)
      if (Try(orders[way.order], width, height, way.rule, _s.rotate, true, attempt)) return true;
    return false;
  }

  const LayoutSettings& _s;
};

}  // namespace

int LargestPage(const LayoutSettings& settings) {
  if (!settings.pot) return settings.maxSize;
  int side = 1;
  while (side * 2 <= settings.maxSize) side *= 2;
  return side;
}

bool FitsAPage(int width, int height, const LayoutSettings& settings) {
  const long long room = LargestPage(settings) - 2LL * settings.padding - 2LL * settings.margin;
  return width <= room && height <= room;
}

Layout LayOut(const std::vector<PageSize>& sizes, const LayoutSettings& settings) {
  Layout layout;
  layout.placed.assign(sizes.size(), Placed());
  const int grow = 2 * settings.margin + settings.padding;
  std::vector<Item> left;
  for (size_t i = 0; i < sizes.size(); ++i)
    left.push_back(Item{static_cast<int>(i), sizes[i].width + grow, sizes[i].height + grow});
  const PageMaker maker(settings);
  while (!left.empty()) {
    const std::vector<std::vector<Item>> orders = Orders(left);
    std::vector<Way> ways;
    Attempt page = maker.fullest(orders, ways);
    if (page.places.empty()) break;  // cannot happen when every rectangle fits a page
    if (page.places.size() == left.size()) page = maker.smallest(orders, ways, page);

    const int number = static_cast<int>(layout.pages.size());
    layout.pages.push_back(maker.pageFor(page));
    std::vector<char> done(sizes.size(), 0);
    for (const auto& place : page.places) {
      const int id = place.first;
      Placed& p = layout.placed[id];
      p.page = number;
      p.x = place.second.x + settings.padding + settings.margin;
      p.y = place.second.y + settings.padding + settings.margin;
      p.rotated = place.second.width != sizes[id].width + grow;
      done[id] = 1;
    }
    left.erase(std::remove_if(left.begin(), left.end(), [&](const Item& item) { return done[item.id]; }), left.end());
  }
  return layout;
}

}  // namespace skelpack
