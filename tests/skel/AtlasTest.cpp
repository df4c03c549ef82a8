#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "TempDir.h"
#include "skel/Atlas.h"

using skel::Atlas;
using skel::AtlasPage;
using skel::AtlasRegion;
using skel::String;

namespace {

// Hands out numbered fake textures and remembers every call.
class RecordingLoader : public skel::TextureLoader {
 public:
  void loadPageTexture(AtlasPage& page, const String& path) override {
    loaded.push_back(path.buffer() ? path.buffer() : "");
    page.setRendererObject(&textures[loaded.size() - 1]);
  }
  void releasePageTexture(void* texture) override { released.push_back(texture); }

  std::vector<std::string> loaded;
  std::vector<void*> released;
  int textures[16] = {};
};

const char* const twoPages =
    "\n"
    "first.png\n"
    "size: 1024, 512\n"
    "format: RGBA8888\n"
    "filter: Linear,Linear\n"
    "repeat: none\n"
    "head\n"
    "  rotate: false\n"
    "  xy: 2, 4\n"
    "  size: 100, 50\n"
    "  orig: 110, 60\n"
    "  offset: 3, 5\n"
    "  index: -1\n"
    "button\n"
    "  rotate: true\n"
    "  xy: 10, 20\n"
    "  size: 30, 40\n"
    "  split: 1, 2, 3, 4\n"
    "  pad: 5, 6, 7, 8\n"
    "  orig: 30, 40\n"
    "  offset: 0, 0\n"
    "  index: 7\n"
    "\n"
    "second.png\n"
    "size: 100,200\n"
    "format: Alpha\n"
    "filter: MipMap,Nearest\n"
    "repeat: x\n"
    "head\n"
    "  rotate: 180\n"
    "  xy: 0, 0\n"
    "  size: 10, 10\n"
    "  split: 9, 9, 9, 9\n"
    "  orig: 10, 10\n"
    "  offset: 0, 0\n"
    "  index: 2\n";

Atlas parse(const std::string& text, RecordingLoader* loader = nullptr, const char* dir = "") {
  return Atlas(text.data(), text.size(), String(dir), loader);
}

std::vector<int> values(const skel::Vector<int>& v) { return std::vector<int>(v.begin(), v.end()); }

}  // namespace

TEST(AtlasFormat, PagesAndRegionsInFileOrder) {
  RecordingLoader loader;
  {
    Atlas atlas = parse(twoPages, &loader, "skel_data");
    ASSERT_EQ(atlas.getPages().size(), 2u);
    ASSERT_EQ(atlas.getRegions().size(), 3u);

    const AtlasPage& first = *atlas.getPages()[0];
    EXPECT_STREQ(first.name.buffer(), "first.png");
    EXPECT_EQ(first.texturePath.buffer(), nullptr);
    EXPECT_EQ(first.width, 1024);
    EXPECT_EQ(first.height, 512);
    EXPECT_EQ(first.format, skel::Format_RGBA8888);
    EXPECT_EQ(first.minFilter, skel::TextureFilter_Linear);
    EXPECT_EQ(first.magFilter, skel::TextureFilter_Linear);
    EXPECT_EQ(first.uWrap, skel::TextureWrap_ClampToEdge);
    EXPECT_EQ(first.vWrap, skel::TextureWrap_ClampToEdge);

    const AtlasRegion& head = *atlas.getRegions()[0];
    EXPECT_EQ(head.page, &first);
    EXPECT_STREQ(head.name.buffer(), "head");
    EXPECT_FALSE(head.rotate);
    EXPECT_EQ(head.degrees, 0);
    EXPECT_EQ(head.x, 2);
    EXPECT_EQ(head.y, 4);
    EXPECT_EQ(head.width, 100);
    EXPECT_EQ(head.height, 50);
    EXPECT_FLOAT_EQ(head.uMin, 2.0f / 1024);
    EXPECT_FLOAT_EQ(head.vMax, 54.0f / 512);
    EXPECT_EQ(head.untrimmedWidth, 110);
    EXPECT_EQ(head.untrimmedHeight, 60);
    EXPECT_EQ(head.offsetX, 3);
    EXPECT_EQ(head.offsetY, 5);
    EXPECT_EQ(head.index, -1);
    EXPECT_TRUE(head.splits.isEmpty());
    EXPECT_TRUE(head.pads.isEmpty());

    const AtlasRegion& button = *atlas.getRegions()[1];
    EXPECT_TRUE(button.rotate);
    EXPECT_EQ(button.degrees, 90);
    EXPECT_EQ(values(button.splits), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(values(button.pads), (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(button.untrimmedWidth, 30);
    EXPECT_EQ(button.index, 7);

    const AtlasPage& second = *atlas.getPages()[1];
    EXPECT_EQ(second.format, skel::Format_Alpha);
    EXPECT_EQ(second.minFilter, skel::TextureFilter_MipMapLinearLinear);
    EXPECT_EQ(second.magFilter, skel::TextureFilter_Nearest);
    EXPECT_EQ(second.uWrap, skel::TextureWrap_Repeat);
    EXPECT_EQ(second.vWrap, skel::TextureWrap_ClampToEdge);
    const AtlasRegion& secondHead = *atlas.getRegions()[2];
    EXPECT_EQ(secondHead.page, &second);
    EXPECT_EQ(secondHead.degrees, 180);
    EXPECT_FALSE(secondHead.rotate);
    EXPECT_EQ(values(secondHead.splits), (std::vector<int>{9, 9, 9, 9}));
    EXPECT_TRUE(secondHead.pads.isEmpty());
    EXPECT_EQ(secondHead.untrimmedHeight, 10);

    // The first region of that name wins.
    EXPECT_EQ(atlas.findRegion(String("head")), &head);
    EXPECT_EQ(atlas.findRegion(String("button")), &button);
    EXPECT_EQ(atlas.findRegion(String("Head")), nullptr);

    EXPECT_EQ(loader.loaded, (std::vector<std::string>{"skel_data/first.png", "skel_data/second.png"}));
    EXPECT_EQ(first.getRendererObject(), &loader.textures[0]);
  }
  EXPECT_EQ(loader.released, (std::vector<void*>{&loader.textures[0], &loader.textures[1]}));
}

TEST(AtlasFormat, RotatedRegionSwapsItsExtentInTextureSpace) {
  Atlas atlas = parse(
      "p.png\nsize: 100, 200\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
      "r\n rotate: true\n xy: 10, 20\n size: 30, 40\n orig: 30, 40\n offset: 0, 0\n index: -1\n");
  ASSERT_EQ(atlas.getRegions().size(), 1u);
  const AtlasRegion& r = *atlas.getRegions()[0];
  EXPECT_EQ(r.degrees, 90);
  EXPECT_FLOAT_EQ(r.uMin, 0.1f);
  EXPECT_FLOAT_EQ(r.vMin, 0.1f);
  EXPECT_FLOAT_EQ(r.uMax, 0.5f);
  EXPECT_FLOAT_EQ(r.vMax, 0.25f);
}

TEST(AtlasFormat, FormatAndFilterNamesMatchByPrefixFromTheEndOfTheTable) {
  struct Case {
    const char* format;
    const char* filters;
    int expectedFormat, expectedMin, expectedMag;
  };
  const Case cases[] = {
      {"RGB888", "Nearest,Nearest", 6, 1, 1},
      {"RGB", "MipMap,MipMap", 7, 7, 7},  // "RGB" meets RGBA8888 first
      {"LuminanceAlpha", "MipMapNearestNearest,Linear", 3, 4, 2},
      {"Bogus", "Bogus,Bogus", 0, 0, 0},
      {"", "N,Linear", 7, 7, 2},     // "N" loses its last character and then matches anything
      {"Alpha", "Linear", 1, 2, 0},  // one value: kept whole; the second is the size line's "1"
  };
  for (const Case& c : cases) {
    std::string text =
        std::string("p.png\nsize: 1,1\nformat: ") + c.format + "\nfilter: " + c.filters + "\nrepeat: none\n";
    Atlas atlas = parse(text);
    ASSERT_EQ(atlas.getPages().size(), 1u) << c.format;
    EXPECT_EQ(atlas.getPages()[0]->format, c.expectedFormat) << c.format;
    EXPECT_EQ(atlas.getPages()[0]->minFilter, c.expectedMin) << c.filters;
    EXPECT_EQ(atlas.getPages()[0]->magFilter, c.expectedMag) << c.filters;
  }
}

TEST(AtlasFormat, RepeatValues) {
  struct Case {
    const char* repeat;
    int u, v;
  };
  const Case cases[] = {{"none", 1, 1}, {"no", 1, 1}, {"x", 2, 1},   {"y", 1, 2},
                        {"xy", 2, 2},   {"yx", 1, 1}, {"xyz", 1, 1}, {"both", 1, 1}};
  for (const Case& c : cases) {
    Atlas atlas = parse(std::string("p.png\nsize: 1,1\nformat: Alpha\nfilter: Linear,Linear\nrepeat: ") + c.repeat);
    ASSERT_EQ(atlas.getPages().size(), 1u);
    EXPECT_EQ(atlas.getPages()[0]->uWrap, c.u) << c.repeat;
    EXPECT_EQ(atlas.getPages()[0]->vWrap, c.v) << c.repeat;
  }
}

TEST(AtlasFormat, WindowsLineEndingsAndAMissingFinalLineFeedReadTheSame) {
  std::string crlf;
  for (const char* p = twoPages; *p; ++p) {
    if (*p == '\n') crlf += '\r';
    crlf += *p;
  }
  crlf.pop_back();
  crlf.pop_back();  // no final line ending at all
  Atlas unix = parse(twoPages);
  Atlas windows = parse(crlf);
  ASSERT_EQ(windows.getPages().size(), unix.getPages().size());
  ASSERT_EQ(windows.getRegions().size(), unix.getRegions().size());
  for (size_t i = 0; i < unix.getRegions().size(); ++i) {
    const AtlasRegion& a = *unix.getRegions()[i];
    const AtlasRegion& b = *windows.getRegions()[i];
    EXPECT_TRUE(a.name == b.name);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.uMax, b.uMax);
    EXPECT_EQ(a.index, b.index);
    EXPECT_TRUE(a.splits == b.splits);
  }
  EXPECT_STREQ(windows.getPages()[1]->name.buffer(), "second.png");
}

TEST(AtlasFormat, TwoValueLineAfterTheSizeIsTheUntrimmedSize) {
  Atlas atlas = parse(
      "p.png\nsize: 64,64\nformat: Alpha\nfilter: Linear,Linear\nrepeat: none\n"
      "r\nrotate: false\nxy: 0, 0\nsize: 8, 8\norig: 12, 14\noffset: 1, 2\nindex: 3\n");
  const AtlasRegion& r = *atlas.getRegions()[0];
  EXPECT_TRUE(r.splits.isEmpty());
  EXPECT_TRUE(r.pads.isEmpty());
  EXPECT_EQ(r.untrimmedWidth, 12);
  EXPECT_EQ(r.untrimmedHeight, 14);
  EXPECT_EQ(r.offsetY, 2);
}

TEST(AtlasFormat, ShortLinesKeepEarlierValuesAndNumbersReadLikeStrtol) {
  Atlas atlas = parse(
      "p.png\nsize: 64\nformat: Alpha\nfilter: Linear,Linear\nrepeat: none\n"
      "r\nrotate: 45deg\nxy: 7px,  +9 \nsize 3\norig: 5\noffset: -1,-2\nindex: 12abc");
  ASSERT_EQ(atlas.getRegions().size(), 1u);
  const AtlasRegion& r = *atlas.getRegions()[0];
  EXPECT_EQ(atlas.getPages()[0]->width, 64);
  EXPECT_EQ(atlas.getPages()[0]->height, 0);  // no second value was ever read
  EXPECT_EQ(r.degrees, 45);
  EXPECT_EQ(r.x, 7);
  EXPECT_EQ(r.y, 9);
  EXPECT_EQ(r.width, 7);  // no colon: the xy values stay in use
  EXPECT_EQ(r.untrimmedWidth, 5);
  EXPECT_EQ(r.untrimmedHeight, 9);
  EXPECT_EQ(r.offsetX, -1);
  EXPECT_EQ(r.index, 12);
  EXPECT_EQ(r.uMin, 7.0f / 64);
  EXPECT_EQ(r.vMin, 0.0f);  // a zero page height gives 0, not a division by zero
}

TEST(AtlasFormat, HugeNumbersSaturate) {
  Atlas atlas = parse(
      "p.png\nsize: 99999999999999999999, -99999999999999999999\nformat: Alpha\nfilter: Linear,Linear\n"
      "repeat: none\nr\nrotate: 99999999999999\nxy: 2147483647, 2147483647\nsize: 2147483647, 1\n"
      "orig: 1, 1\noffset: 0, 0\nindex: 0\n");
  EXPECT_EQ(atlas.getPages()[0]->width, INT_MAX);
  EXPECT_EQ(atlas.getPages()[0]->height, INT_MIN);
  const AtlasRegion& r = *atlas.getRegions()[0];
  EXPECT_EQ(r.degrees, INT_MAX);
  EXPECT_FLOAT_EQ(r.uMax, 2.0f);
}

TEST(AtlasFormat, EmptyAndTruncatedFilesNeverReadPastTheirEnd) {
  EXPECT_EQ(parse("").getPages().size(), 0u);
  EXPECT_EQ(parse("\n\n\r\n  \n").getPages().size(), 0u);
  // Each prefix of a real atlas, copied into a block of exactly its size.
  std::string full = twoPages;
  for (size_t n = 0; n <= full.size(); ++n) {
    std::vector<char> exact(full.begin(), full.begin() + static_cast<long>(n));
    Atlas atlas(exact.data(), exact.size(), String(""), nullptr);
    EXPECT_LE(atlas.getPages().size(), 2u);
    for (AtlasRegion* region : atlas.getRegions()) EXPECT_NE(region->page, nullptr);
  }
  Atlas headerOnly = parse("only.png");
  ASSERT_EQ(headerOnly.getPages().size(), 1u);
  EXPECT_EQ(headerOnly.getPages()[0]->width, 0);
}

TEST(AtlasFile, DirectoryOfThePathPrefixesPageImages) {
  EXPECT_STREQ(Atlas::directoryOf(String("skel_data\\Char01.atlas")).buffer(), "skel_data");
  EXPECT_STREQ(Atlas::directoryOf(String("a/b\\c/d.atlas")).buffer(), "a/b\\c");
  EXPECT_STREQ(Atlas::directoryOf(String("/d.atlas")).buffer(), "/");
  EXPECT_STREQ(Atlas::directoryOf(String("d.atlas")).buffer(), "");

  const char* page = "p.png\nsize: 1,1\nformat: Alpha\nfilter: Linear,Linear\nrepeat: none\n";
  RecordingLoader bare, root, trailing;
  parse(page, &bare, "");
  parse(page, &root, "/");
  parse(page, &trailing, "dir\\");
  EXPECT_EQ(bare.loaded, std::vector<std::string>{"p.png"});
  EXPECT_EQ(root.loaded, std::vector<std::string>{"/p.png"});
  EXPECT_EQ(trailing.loaded, std::vector<std::string>{"dir\\p.png"});
}

TEST(AtlasFile, ReadsThroughThePathHelperAndMissingFilesGiveAnEmptyAtlas) {
  tarn_test::TempDir dir;
  dir.Write("c.atlas", twoPages);
  RecordingLoader loader;
  std::string windowsStyle = dir.path() + "\\c.atlas";
  Atlas atlas(String(windowsStyle.c_str()), &loader);
  EXPECT_EQ(atlas.getRegions().size(), 3u);
  ASSERT_EQ(loader.loaded.size(), 2u);
  EXPECT_EQ(loader.loaded[0], dir.path() + "/first.png");

  Atlas missing(String(dir.File("missing.atlas").c_str()), &loader);
  EXPECT_EQ(missing.getPages().size(), 0u);
  EXPECT_EQ(missing.findRegion(String("head")), nullptr);
  dir.Write("empty.atlas", "");
  Atlas empty(String(dir.File("empty.atlas").c_str()), nullptr);
  EXPECT_EQ(empty.getPages().size(), 0u);
}
