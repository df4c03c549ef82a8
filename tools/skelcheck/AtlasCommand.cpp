// skelcheck atlas FILE: every page and region of an atlas with all its
// fields, one per line, in file order. No textures are loaded.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Output.h"
#include "skel/Atlas.h"

namespace skelcheck {

namespace {

std::string Ints(const skel::Vector<int>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) out += ",";
        out += std::to_string(values[i]);
    }
    return out + "]";
}

void PrintPage(const skel::AtlasPage& page) {
    std::printf("page name=%s texturePath=%s format=%d minFilter=%d magFilter=%d uWrap=%d vWrap=%d width=%d height=%d\n",
                Quoted(page.name.buffer()).c_str(), Quoted(page.texturePath.buffer()).c_str(), page.format,
                page.minFilter, page.magFilter, page.uWrap, page.vWrap, page.width, page.height);
}

void PrintRegion(const skel::AtlasRegion& region, size_t pageIndex) {
    std::printf("region page=%zu name=%s x=%d y=%d width=%d height=%d uMin=%s vMin=%s uMax=%s vMax=%s "
                "offsetX=%s offsetY=%s untrimmedWidth=%d untrimmedHeight=%d index=%d rotate=%s degrees=%d "
                "splits=%s pads=%s\n",
                pageIndex, Quoted(region.name.buffer()).c_str(), region.x, region.y, region.width, region.height,
                Number(region.uMin).c_str(), Number(region.vMin).c_str(), Number(region.uMax).c_str(),
                Number(region.vMax).c_str(), Number(region.offsetX).c_str(), Number(region.offsetY).c_str(),
                region.untrimmedWidth, region.untrimmedHeight, region.index, region.rotate ? "true" : "false",
                region.degrees, Ints(region.splits).c_str(), Ints(region.pads).c_str());
}

}  // namespace

int AtlasCommand(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: skelcheck atlas FILE\n");
        return 2;
    }
    std::string text;
    if (!ReadInput(argv[0], text)) return 2;
    skel::Atlas atlas(text.data(), text.size(), skel::Atlas::directoryOf(skel::String(argv[0])), nullptr);

    // Regions are in file order across pages, so each page is followed by its own.
    const skel::Vector<skel::AtlasPage*>& pages = atlas.getPages();
    const skel::Vector<skel::AtlasRegion*>& regions = atlas.getRegions();
    size_t next = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        PrintPage(*pages[p]);
        for (; next < regions.size() && regions[next]->page == pages[p]; ++next) PrintRegion(*regions[next], p);
    }
    return 0;
}

}  // namespace skelcheck
