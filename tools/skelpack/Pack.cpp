// From decoded pictures to page images and the atlas text the runtime reads,
// and onto the disk all at once or not at all.
#include "Pack.h"

#include <lodepng.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "MeshRegions.h"

namespace fs = std::filesystem;

namespace skelpack {

namespace {

// A picture's kept pixel at (x, y) of the kept box.
const unsigned char* Kept(const Picture& p, int x, int y) {
  return &p.rgba[((static_cast<size_t>(p.top) + y) * p.width + p.left + x) * 4];
}

// Draws the kept box at its place, turned as the runtime reads "rotate:
// true": the picture's top row runs down the page region's left column,
// its left column along the region's bottom row. Then repeats the region's
// edge pixels margin times around it.
void Draw(const Picture& p, const Placed& at, int margin, Page& page) {
  const int across = at.rotated ? p.keptHeight : p.keptWidth;
  const int down = at.rotated ? p.keptWidth : p.keptHeight;
  // A fully clear picture is one clear pixel, whatever its colour was.
  const bool clear = IsFullyClear(p);
  auto pixel = [&](int x, int y) { return &page.rgba[(static_cast<size_t>(y) * page.width + x) * 4]; };
  for (int r = -margin; r < down + margin; ++r) {
    const int rr = std::min(std::max(r, 0), down - 1);
    for (int c = -margin; c < across + margin; ++c) {
      const int cc = std::min(std::max(c, 0), across - 1);
      const unsigned char* from = at.rotated ? Kept(p, p.keptWidth - 1 - rr, cc) : Kept(p, cc, rr);
      unsigned char* to = pixel(at.x + c, at.y + r);
      for (int k = 0; k < 4; ++k) to[k] = clear ? 0 : from[k];
    }
  }
}

void WriteRegion(const Picture& p, const Placed& at, std::string& text) {
  const bool clear = IsFullyClear(p);
  const int left = clear ? 0 : p.left, bottom = clear ? 0 : p.height - p.top - p.keptHeight;
  char buffer[512];
  std::snprintf(buffer, sizeof(buffer),
                "  rotate: %s\n  xy: %d, %d\n  size: %d, %d\n  orig: %d, %d\n  offset: %d, %d\n  index: %d\n",
                at.rotated ? "true" : "false", at.x, at.y, p.keptWidth, p.keptHeight, p.width, p.height, left, bottom,
                p.index);
  text += p.name + "\n" + buffer;
}

std::string WhyNot(const std::error_code& ec) { return ec ? ec.message() : "unknown error"; }

bool WriteBytes(const std::string& path, const std::string& bytes, std::string& error) {
  errno = 0;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (file) ok = std::fclose(file) == 0 && ok;
  if (!ok) error = path + ": cannot be written (" + (errno ? std::strerror(errno) : "a short write") + ")";
  return ok;
}

}  // namespace

std::string PageName(const std::string& base, size_t page) {
  const size_t slash = base.find_last_of('/');
  const std::string name = base.substr(slash == std::string::npos ? 0 : slash + 1);
  return page == 0 ? name + ".png" : name + "_" + std::to_string(page + 1) + ".png";
}

bool PackPictures(const std::vector<Picture>& pictures, const Options& options, const std::string& pageBase,
                  Packed& packed, std::string& error) {
  LayoutSettings settings;
  settings.maxSize = options.maxSize;
  settings.padding = options.padding;
  settings.margin = options.extrude;
  settings.rotate = options.rotate;
  settings.pot = options.pot;
  // One rectangle for each set of pictures with the same pixels.
  std::vector<PageSize> sizes;
  std::vector<int> rect(pictures.size(), -1);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const Picture& p = pictures[i];
    if (p.sameAs >= 0) {
      rect[i] = rect[p.sameAs];
      continue;
    }
    if (!FitsAPage(p.keptWidth, p.keptHeight, settings)) {
      const int side = LargestPage(settings);
      error = p.file + ": " + std::to_string(p.keptWidth) + "x" + std::to_string(p.keptHeight) +
              (p.keptWidth == p.width && p.keptHeight == p.height ? "" : " after trimming") +
              " does not fit a page of " + std::to_string(side) + "x" + std::to_string(side) + " with padding " +
              std::to_string(options.padding) +
              (options.extrude ? " and extrusion " + std::to_string(options.extrude) : std::string()) + " (--max-size)";
      return false;
    }
    rect[i] = static_cast<int>(sizes.size());
    sizes.push_back(PageSize{p.keptWidth, p.keptHeight});
    packed.keptArea += static_cast<long long>(p.keptWidth) * p.keptHeight;
  }
  const Layout layout = LayOut(sizes, settings);

  packed.pages.clear();
  for (size_t n = 0; n < layout.pages.size(); ++n) {
    Page page;
    page.name = PageName(pageBase, n);
    page.width = layout.pages[n].width, page.height = layout.pages[n].height;
    page.rgba.assign(static_cast<size_t>(page.width) * page.height * 4, 0);
    packed.pages.push_back(std::move(page));
  }
  for (size_t i = 0; i < pictures.size(); ++i)
    if (pictures[i].sameAs < 0) {
      const Placed& at = layout.placed[rect[i]];
      Draw(pictures[i], at, options.extrude, packed.pages[at.page]);
    }

  // Pages in order, each followed by its regions in name and index order.
  std::vector<size_t> order(pictures.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return std::make_pair(pictures[a].name, pictures[a].index) < std::make_pair(pictures[b].name, pictures[b].index);
  });
  packed.atlas.clear();
  for (size_t n = 0; n < packed.pages.size(); ++n) {
    const Page& page = packed.pages[n];
    packed.atlas += "\n" + page.name + "\nsize: " + std::to_string(page.width) + "," + std::to_string(page.height) +
                    "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n";
    for (size_t i : order) {
      const Placed& at = layout.placed[rect[i]];
      if (at.page == static_cast<int>(n)) WriteRegion(pictures[i], at, packed.atlas);
    }
  }
  return true;
}

bool WritePacked(const Packed& packed, const std::string& output, std::string& error) {
  const fs::path atlas = output + ".atlas";
  const fs::path folder = atlas.parent_path();
  std::error_code made;
  if (!folder.empty()) fs::create_directories(folder, made);
  // Every file is written beside its place first and moved there last.
  std::vector<std::pair<std::string, std::string>> moves;  // written, final
  auto abandon = [&]() {
    std::error_code ignored;
    for (const auto& move : moves) fs::remove(move.first, ignored);
    return false;
  };
  for (const Page& page : packed.pages) {
    const std::string path = (folder / page.name).string();
    moves.emplace_back(path + ".skelpack-new", path);
    std::vector<unsigned char> png;
    const unsigned failed =
        lodepng::encode(png, page.rgba, static_cast<unsigned>(page.width), static_cast<unsigned>(page.height));
    if (failed) {
      error = path + ": " + lodepng_error_text(failed);
      return abandon();
    }
    if (!WriteBytes(moves.back().first, std::string(png.begin(), png.end()), error)) return abandon();
  }
  moves.emplace_back(atlas.string() + ".skelpack-new", atlas.string());
  if (!WriteBytes(moves.back().first, packed.atlas, error)) return abandon();
  for (const auto& move : moves) {
    std::error_code ec;
    fs::rename(move.first, move.second, ec);
    if (ec) {
      error = move.second + ": cannot be written (" + WhyNot(ec) + ")";
      return abandon();
    }
  }
  return true;
}

namespace {

// An earlier run's pages, should they lie in the input folder, are not
// pictures to pack again.
std::vector<std::string> EarlierPages(const std::string& output) {
  const std::string first = PageName(output, 0);
  const std::string stem = first.substr(0, first.size() - 4) + "_";
  std::vector<std::string> pages;
  std::error_code ec;
  const fs::path folder = fs::path(output + ".atlas").parent_path();
  for (const auto& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
    const std::string name = entry.path().filename().string();
    const bool numbered = name.size() > stem.size() + 4 && name.compare(0, stem.size(), stem) == 0 &&
                          name.compare(name.size() - 4, 4, ".png") == 0 &&
                          name.find_first_not_of("0123456789", stem.size()) == name.size() - 4;
    if (name == first || numbered) pages.push_back(fs::weakly_canonical(entry.path(), ec).string());
  }
  return pages;
}

}  // namespace

int Run(const Options& options, std::string& error, Packed* result) {
  std::set<std::string> whole;
  for (const std::string& skeleton : options.skeletons)
    if (!AddMeshRegions(skeleton, whole, error)) return 1;
  std::vector<Picture> pictures;
  Packed packed;
  if (!LoadPictures(options.input, options.trim, whole, EarlierPages(options.output), pictures, error) ||
      !PackPictures(pictures, options, options.output, packed, error) || !WritePacked(packed, options.output, error))
    return 1;
  if (result) *result = std::move(packed);
  return 0;
}

}  // namespace skelpack
