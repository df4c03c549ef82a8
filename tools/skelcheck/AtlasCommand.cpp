// skelcheck atlas [--strict] FILE: every page and region of an atlas with all
// its fields, one per line, in file order, and what looks wrong in it. Page
// images are decoded to be checked, not kept.
#include <cstdio>
#include <cstring>
#include <string>

#include "AtlasCheck.h"
#include "Commands.h"
#include "Output.h"
#include "skel/Atlas.h"

namespace skelcheck {

namespace {

std::string Ints(const skel::Vector<int>& values) {
  if (values.size() == 0) return "-";
  std::string out;
  for (size_t i = 0; i < values.size(); ++i) out += (i ? "," : "") + std::to_string(values[i]);
  return out;
}

void PrintPage(const skel::AtlasPage& page) {
  std::printf("page %s size %d,%d format %s filter %s repeat %s\n", Quoted(page.name.buffer()).c_str(), page.width,
              page.height, FormatName(page.format), FilterNames(page.minFilter, page.magFilter).c_str(),
              RepeatName(page.uWrap, page.vWrap));
}

void PrintRegion(const skel::AtlasRegion& region) {
  std::printf(
      "  region %s rotate %d xy %d,%d size %d,%d split %s pad %s orig %d,%d offset %s,%s index %d "
      "uv %s,%s,%s,%s\n",
      Quoted(region.name.buffer()).c_str(), region.degrees, region.x, region.y, region.width, region.height,
      Ints(region.splits).c_str(), Ints(region.pads).c_str(), region.untrimmedWidth, region.untrimmedHeight,
      Number(region.offsetX).c_str(), Number(region.offsetY).c_str(), region.index, Number(region.uMin).c_str(),
      Number(region.vMin).c_str(), Number(region.uMax).c_str(), Number(region.vMax).c_str());
}

}  // namespace

int AtlasCommand(int argc, char** argv) {
  bool strict = false;
  const char* path = nullptr;
  Report report;
  for (int i = 0; i < argc; ++i) {
    if (const int taken = TakeAllowOption(argc, argv, i, report)) {
      if (taken < 0) return UsageError("atlas");
    } else if (std::strcmp(argv[i], "--strict") == 0)
      strict = true;
    else if (!path && argv[i][0] != '-')
      path = argv[i];
    else
      return UsageError("atlas");
  }
  if (!path) return UsageError("atlas");
  std::string text;
  if (!ReadInput(path, text)) return kUsage;
  const std::string notAtlas = NotAnAtlas(text);
  if (!notAtlas.empty()) {
    report.failure(std::string(path) + " " + notAtlas);
    return kUsage;
  }

  AtlasLines lines = CheckAtlasText(text, path, report);
  skel::Atlas atlas(text.data(), text.size(), skel::Atlas::directoryOf(skel::String(path)), nullptr);
  if (atlas.getPages().size() == 0) report.error("atlas-no-pages", Place{path}, "the atlas has no pages");
  if (!lines.misread) CheckAtlasContent(atlas, lines, path, report);

  // Regions are in file order across pages, so each page is followed by its own.
  const skel::Vector<skel::AtlasPage*>& pages = atlas.getPages();
  const skel::Vector<skel::AtlasRegion*>& regions = atlas.getRegions();
  size_t next = 0;
  for (size_t p = 0; p < pages.size(); ++p) {
    PrintPage(*pages[p]);
    for (; next < regions.size() && regions[next]->page == pages[p]; ++next) PrintRegion(*regions[next]);
  }
  return report.exitCode(strict);
}

}  // namespace skelcheck
