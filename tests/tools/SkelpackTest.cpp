// skelpack run as a content maker runs it, its atlases read back through the
// runtime's own reader, skelcheck and skelview's render. The test target
// defines SKELPACK_PATH, SKELCHECK_PATH, SKELVIEW_PATH and SKEL_ASSETS.
#include <gtest/gtest.h>
#include <lodepng.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "SkelcheckRun.h"
#include "TempDir.h"
#include "skel/Atlas.h"

namespace {

using tarn_test::TempDir;

using Outcome = skelcheck_test::Result;
using skelcheck_test::Slurp;

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

Outcome RunTool(const char* tool, const TempDir& dir, const std::string& args) {
  return skelcheck_test::RunCommand(dir, "env -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(tool) + "' " + args);
}

struct Image {
  unsigned width = 0, height = 0;
  std::vector<unsigned char> rgba;
  const unsigned char* at(unsigned x, unsigned y) const { return &rgba[(size_t{y} * width + x) * 4]; }
  unsigned char* at(unsigned x, unsigned y) { return &rgba[(size_t{y} * width + x) * 4]; }
};

Image Blank(unsigned width, unsigned height) {
  return Image{width, height, std::vector<unsigned char>(size_t{width} * height * 4, 0)};
}

Image ReadPng(const std::string& path) {
  Image image;
  EXPECT_EQ(lodepng::decode(image.rgba, image.width, image.height, path), 0u) << path;
  return image;
}

void WritePng(const std::string& path, const Image& image) {
  ASSERT_EQ(lodepng::encode(path, image.rgba, image.width, image.height), 0u) << path;
}

// A picture of width x height whose visible box (inset by the margins) holds
// a pattern no other picture has, so any misplaced or turned pixel shows.
Image Pattern(unsigned width, unsigned height, unsigned left, unsigned top, unsigned right, unsigned bottom,
              unsigned seed) {
  Image image = Blank(width, height);
  for (unsigned y = top; y + bottom < height; ++y)
    for (unsigned x = left; x + right < width; ++x) {
      unsigned char* p = image.at(x, y);
      p[0] = static_cast<unsigned char>(x * 7 + seed * 13);
      p[1] = static_cast<unsigned char>(y * 11 + seed * 29);
      p[2] = static_cast<unsigned char>(seed * 53 + x * y);
      p[3] = static_cast<unsigned char>(128 + (x + y + seed) % 128);
    }
  return image;
}

struct Source {
  std::string file;  // under the folder
  Image image;
  std::string name;
  int index;
};

// Mixed sizes, margins on some sides, folders, a sequence, a duplicate
// with other margins, a fully clear picture and a picture with no margin.
std::vector<Source> Sources() {
  std::vector<Source> sources;
  unsigned seed = 1;
  auto add = [&](const std::string& file, Image image, const std::string& name, int index) {
    sources.push_back(Source{file, std::move(image), name, index});
  };
  for (unsigned i = 0; i < 14; ++i, ++seed) {
    const unsigned w = 10 + (i * 37) % 90, h = 8 + (i * 53) % 120;
    add("part" + std::to_string(i) + ".png", Pattern(w, h, i % 4, i % 3, (i * 5) % 7, i % 2 * 6, seed),
        "part" + std::to_string(i), -1);
  }
  for (int k = 0; k < 3; ++k, ++seed)
    add("fx/walk_" + std::to_string(k) + ".png", Pattern(40, 60, 3, 4, 5, 6, seed), "fx/walk", k);
  add("ui/button.png", Pattern(120, 30, 0, 0, 0, 0, seed), "ui/button", -1);
  add("ui/button_copy.png", Pattern(124, 31, 0, 0, 0, 0, seed), "ui/button_copy", -1);
  // The same pixels as ui/button once trimmed, among other margins.
  Image framed = Blank(130, 40);
  const Image button = Pattern(120, 30, 0, 0, 0, 0, seed);
  for (unsigned y = 0; y < 30; ++y)
    for (unsigned x = 0; x < 120; ++x) std::copy_n(button.at(x, y), 4, framed.at(x + 4, y + 7));
  add("ui/button_framed.png", framed, "ui/button_framed", -1);
  add("empty_12.png", Blank(17, 9), "empty", 12);
  add("tall.png", Pattern(9, 150, 1, 0, 0, 0, ++seed), "tall", -1);
  return sources;
}

void WriteSources(const TempDir& dir, const std::string& folder, const std::vector<Source>& sources, bool reverse) {
  mkdir(dir.File(folder).c_str(), 0755);
  mkdir(dir.File(folder + "/fx").c_str(), 0755);
  mkdir(dir.File(folder + "/ui").c_str(), 0755);
  for (size_t n = 0; n < sources.size(); ++n) {
    const Source& s = sources[reverse ? sources.size() - 1 - n : n];
    WritePng(dir.File(folder + "/" + s.file), s.image);
  }
}

const skel::AtlasRegion* FindRegion(const skel::Atlas& atlas, const std::string& name, int index) {
  for (const skel::AtlasRegion* r : atlas.getRegions())
    if (name == r->name.buffer() && r->index == index) return r;
  return nullptr;
}

// The picture pixel a region shows at (x, y) of its size (unrotated, y down).
const unsigned char* PagePixel(const Image& page, const skel::AtlasRegion& r, int x, int y) {
  if (!r.rotate) return page.at(r.x + x, r.y + y);
  return page.at(r.x + y, r.y + r.width - 1 - x);
}

// A rectangle on a page as it lies there.
struct Box {
  int page, x, y, across, down;
};

TEST(Skelpack, EveryPictureLiesOnItsPageWholeAndApartFromTheOthers) {
  const std::vector<Source> sources = Sources();
  TempDir dir;
  WriteSources(dir, "in", sources, false);
  const struct {
    std::string options;
    int maxSize, padding, extrude;
    bool trim, pot;
  } cases[] = {
      {"", 2048, 2, 0, true, false},
      {"--rotate --extrude 1 --padding 3 --pot --max-size 256", 256, 3, 1, true, true},
      {"--no-trim --padding 0 --max-size 180", 180, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    const Outcome run = RunTool(SKELPACK_PATH, dir, c.options + " '" + dir.File("in") + "' '" + dir.File("out") + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    const Outcome check = RunTool(SKELCHECK_PATH, dir, "atlas --strict '" + dir.File("out.atlas") + "'");
    EXPECT_EQ(check.code, 0) << check.out << check.err;

    skel::Atlas atlas(skel::String(dir.File("out.atlas").c_str()), nullptr);
    std::vector<Image> pages;
    for (const skel::AtlasPage* page : atlas.getPages()) {
      pages.push_back(ReadPng(dir.File(page->name.buffer())));
      EXPECT_LE(page->width, c.maxSize);
      EXPECT_LE(page->height, c.maxSize);
      if (c.pot) {
        EXPECT_TRUE((page->width & (page->width - 1)) == 0 && (page->height & (page->height - 1)) == 0);
      }
    }
    if (c.maxSize < 2048) {
      EXPECT_GT(pages.size(), 1u);
    }
    EXPECT_EQ(atlas.getRegions().size(), sources.size());

    std::map<std::pair<int, int>, Box> boxes;  // one per rectangle: duplicates share theirs
    bool rotated = false;
    for (const Source& s : sources) {
      SCOPED_TRACE(s.file);
      const skel::AtlasRegion* r = FindRegion(atlas, s.name, s.index);
      ASSERT_NE(r, nullptr);
      EXPECT_EQ(r->untrimmedWidth, static_cast<int>(s.image.width));
      EXPECT_EQ(r->untrimmedHeight, static_cast<int>(s.image.height));
      const int left = static_cast<int>(r->offsetX);
      const int top = static_cast<int>(s.image.height) - static_cast<int>(r->offsetY) - r->height;
      size_t page = 0;
      while (atlas.getPages()[page] != r->page) ++page;
      // The kept pixels are the picture's, everything cut was fully clear.
      bool clear = true;
      for (unsigned y = 0; y < s.image.height; ++y)
        for (unsigned x = 0; x < s.image.width; ++x) {
          const int kx = static_cast<int>(x) - left, ky = static_cast<int>(y) - top;
          const unsigned char* want = s.image.at(x, y);
          clear = clear && want[3] == 0;
          if (kx < 0 || ky < 0 || kx >= r->width || ky >= r->height) {
            ASSERT_EQ(want[3], 0) << "a trimmed pixel at " << x << "," << y;
          } else if (want[3] != 0) {
            const unsigned char* got = PagePixel(pages[page], *r, kx, ky);
            ASSERT_EQ(std::vector<unsigned char>(want, want + 4), std::vector<unsigned char>(got, got + 4))
                << "at " << x << "," << y;
          }
        }
      if (c.trim && clear) {
        EXPECT_TRUE(r->width == 1 && r->height == 1);
      }
      if (!c.trim) {
        EXPECT_TRUE(r->width == static_cast<int>(s.image.width) && r->offsetX == 0 && r->offsetY == 0);
      }
      rotated = rotated || r->rotate;
      if (c.extrude) {
        // The edge pixels repeat outward, corners included.
        const int right = r->x + (r->rotate ? r->height : r->width) - 1;
        const int bottom = r->y + (r->rotate ? r->width : r->height) - 1;
        EXPECT_EQ(0, std::memcmp(pages[page].at(r->x - 1, r->y - 1), pages[page].at(r->x, r->y), 4));
        EXPECT_EQ(0, std::memcmp(pages[page].at(right + 1, bottom), pages[page].at(right, bottom), 4));
      }
      const Box box{static_cast<int>(page), r->x, r->y, r->rotate ? r->height : r->width,
                    r->rotate ? r->width : r->height};
      boxes.emplace(std::make_pair(static_cast<int>(page) * 100000 + r->x, r->y), box);
    }
    if (c.trim) {
      // The duplicate shares the button's rectangle; the copy of another size does not.
      const skel::AtlasRegion* a = FindRegion(atlas, "ui/button", -1);
      const skel::AtlasRegion* b = FindRegion(atlas, "ui/button_framed", -1);
      EXPECT_TRUE(a->page == b->page && a->x == b->x && a->y == b->y);
      EXPECT_EQ(b->offsetX, 4);
      EXPECT_EQ(b->offsetY, 3);
    }
    EXPECT_EQ(boxes.size(), sources.size() - (c.trim ? 1 : 0));
    if (c.options.find("--rotate") != std::string::npos) {
      EXPECT_TRUE(rotated) << "nothing to show the turn on";
    }

    // Extruded edges included, rectangles keep the padding from each other
    // and from the page's edges.
    std::vector<Box> list;
    for (const auto& b : boxes) list.push_back(b.second);
    for (size_t i = 0; i < list.size(); ++i) {
      const Box a = list[i];
      const int e = c.extrude, p = c.padding;
      const skel::AtlasPage& page = *atlas.getPages()[a.page];
      EXPECT_GE(a.x - e, p);
      EXPECT_GE(a.y - e, p);
      EXPECT_LE(a.x + a.across + e + p, page.width);
      EXPECT_LE(a.y + a.down + e + p, page.height);
      for (size_t j = i + 1; j < list.size(); ++j) {
        const Box b = list[j];
        if (b.page != a.page) continue;
        const bool apart = a.x + a.across + e + p <= b.x - e || b.x + b.across + e + p <= a.x - e ||
                           a.y + a.down + e + p <= b.y - e || b.y + b.down + e + p <= a.y - e;
        EXPECT_TRUE(apart) << a.x << "," << a.y << " and " << b.x << "," << b.y;
      }
    }
  }

  // The same pictures written in the other order give the same bytes.
  WriteSources(dir, "again", sources, true);
  ASSERT_EQ(RunTool(SKELPACK_PATH, dir, "'" + dir.File("in") + "' '" + dir.File("first") + "'").code, 0);
  ASSERT_EQ(RunTool(SKELPACK_PATH, dir, "'" + dir.File("again") + "' '" + dir.File("second.atlas") + "'").code, 0);
  std::string first = Slurp(dir.File("first.atlas")), second = Slurp(dir.File("second.atlas"));
  ASSERT_EQ(first.find("\nfirst.png\n"), 0u);
  first.replace(1, 5, "second");
  EXPECT_EQ(first, second);
  EXPECT_EQ(Slurp(dir.File("first.png")), Slurp(dir.File("second.png")));
  // Packed into the folder it reads, a second run does not take the first
  // run's page for a picture.
  for (int run = 0; run < 2; ++run)
    ASSERT_EQ(RunTool(SKELPACK_PATH, dir, "'" + dir.File("again") + "' '" + dir.File("again/self") + "'").code, 0);
  EXPECT_EQ(Slurp(dir.File("again/self.atlas")).find("\nself\n"), std::string::npos);
  EXPECT_EQ(Slurp(dir.File("again/self.png")), Slurp(dir.File("second.png")));
}

// The committed character's atlas cut back into whole pictures, one file per
// region, as a content maker would have drawn them.
void CutIntoPictures(const std::string& atlasPath, const TempDir& dir, const std::string& folder) {
  skel::Atlas atlas(skel::String(atlasPath.c_str()), nullptr);
  ASSERT_GT(atlas.getRegions().size(), 0u);
  mkdir(dir.File(folder).c_str(), 0755);
  std::map<std::string, Image> pages;
  for (const skel::AtlasRegion* r : atlas.getRegions()) {
    const std::string pageName = r->page->name.buffer();
    if (!pages.count(pageName)) pages[pageName] = ReadPng(atlasPath.substr(0, atlasPath.rfind('/') + 1) + pageName);
    Image picture = Blank(r->untrimmedWidth, r->untrimmedHeight);
    const int left = static_cast<int>(r->offsetX);
    const int top = r->untrimmedHeight - static_cast<int>(r->offsetY) - r->height;
    for (int y = 0; y < r->height; ++y)
      for (int x = 0; x < r->width; ++x)
        std::copy_n(PagePixel(pages[pageName], *r, x, y), 4, picture.at(left + x, top + y));
    const std::string name = r->name.buffer() + (r->index >= 0 ? "_" + std::to_string(r->index) : std::string());
    WritePng(dir.File(folder + "/" + name + ".png"), picture);
  }
}

// Every animation of the character rendered to a sheet of frames.
std::map<std::string, Image> Render(const TempDir& dir, const std::string& atlas, const std::string& folder) {
  mkdir(dir.File(folder).c_str(), 0755);
  const Outcome run = RunTool(SKELVIEW_PATH, dir,
                              "'" + atlas + "' '" +
                                  SKEL_ASSETS "/Char01.json' --render --all --fps 6 --frames 6 --size 320x420 --out '" +
                                  dir.File(folder) + "/%s.png'");
  EXPECT_EQ(run.code, 0) << run.err;
  std::map<std::string, Image> sheets;
  for (const char* animation : {"idle", "wave"})
    sheets[animation] = ReadPng(dir.File(folder + "/" + animation + ".png"));
  return sheets;
}

TEST(Skelpack, TheCharacterRepackedDrawsTheSame) {
  TempDir dir;
  CutIntoPictures(SKEL_ASSETS "/Char01.atlas", dir, "pictures");
  const std::map<std::string, Image> before = Render(dir, SKEL_ASSETS "/Char01.atlas", "before");
  // The skeleton keeps its mesh's picture whole; every other is trimmed.
  const std::string skeleton = " --skeleton '" SKEL_ASSETS "/Char01.json' ";
  for (const char* options : {"", "--rotate --max-size 700"}) {
    SCOPED_TRACE(options);
    const Outcome run =
        RunTool(SKELPACK_PATH, dir, options + skeleton + "'" + dir.File("pictures") + "' '" + dir.File("Char01") + "'");
    ASSERT_EQ(run.code, 0) << run.err;
    if (*options) {
      EXPECT_NE(Slurp(dir.File("Char01.atlas")).find("rotate: true"), std::string::npos);
    }
    const std::map<std::string, Image> after = Render(dir, dir.File("Char01.atlas"), "after");
    for (const auto& sheet : before) {
      SCOPED_TRACE(sheet.first);
      const Image& a = sheet.second;
      const Image& b = after.at(sheet.first);
      ASSERT_TRUE(a.width == b.width && a.height == b.height);
      // Sampling differs only where a trimmed edge met its clear margin.
      size_t drawn = 0, off = 0;
      int worst = 0;
      for (size_t i = 0; i < a.rgba.size(); i += 4) {
        int most = 0;
        for (size_t k = 0; k < 4; ++k) most = std::max(most, std::abs(a.rgba[i + k] - b.rgba[i + k]));
        drawn += a.rgba[i + 3] != 0;
        off += most > 8;
        worst = std::max(worst, most);
      }
      EXPECT_GT(drawn, a.rgba.size() / 4 / 20) << "the character is drawn";
      EXPECT_LE(off, drawn / 200) << "pixels off by more than 8; worst " << worst;
    }
  }
}

TEST(Skelpack, RefusesNamingTheFileAndWritesNothing) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;  // name, bytes ("" for a picture)
    std::string options;
    int code;
    std::string named;  // in the message
  } cases[] = {
      {"not a PNG", {{"a.png", ""}, {"b.png", "\x89PNG\r\n\x1a\n broken"}}, "", 1, "b.png"},
      {"larger than a page", {{"a.png", ""}, {"big.png", "big"}}, "--max-size 64", 1, "big.png"},
      {"the same name and index", {{"walk_01.png", ""}, {"walk_1.png", ""}}, "", 1, "walk_1.png"},
      {"no picture", {{"notes.txt", "text"}}, "", 1, "in"},
      {"no input folder", {}, "", 1, "in"},
      {"a colon in a name", {{"a:b.png", ""}}, "", 1, "a:b.png"},
      {"no output", {{"a.png", ""}}, "--no-output", 2, "unknown option --no-output"},
      {"a page too small", {{"a.png", ""}}, "--max-size 0", 2, "--max-size"},
      {"padding not a number", {{"a.png", ""}}, "--padding x", 2, "--padding"},
      {"an option without its value", {{"a.png", ""}}, "--extrude", 2, "--extrude"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    if (std::string(c.what) != "no input folder") mkdir(dir.File("in").c_str(), 0755);
    for (const auto& f : c.files) {
      if (f.second == "big")
        WritePng(dir.File("in/" + f.first), Pattern(61, 20, 0, 0, 0, 0, 3));
      else if (f.second.empty())
        WritePng(dir.File("in/" + f.first), Pattern(8, 8, 0, 0, 0, 0, 1));
      else
        dir.Write("in/" + f.first, f.second);
    }
    const Outcome run = RunTool(SKELPACK_PATH, dir, c.options + " '" + dir.File("in") + "' '" + dir.File("out") + "'");
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(dir.File("out.atlas")));
    EXPECT_FALSE(Exists(dir.File("out.png")));
  }
  TempDir dir;
  const Outcome help = RunTool(SKELPACK_PATH, dir, "--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("usage: skelpack"), std::string::npos);
}

}  // namespace
