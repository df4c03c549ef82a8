// Checks of an atlas beyond what its reader looks at. The reader takes each
// property line by its position alone, so a missing line shifts every value
// after it without a word; these checks name the words it skips.
#pragma once

#include <string>
#include <vector>

#include "Output.h"

namespace skel {
class Atlas;
}

namespace skelcheck {

// The line of each page and region entry, in file order, as the reader meets them.
struct AtlasLines {
  std::vector<size_t> pages;
  std::vector<size_t> regions;
};

// Walks the text line by line as the reader does; warns about entries cut
// short (a property line missing or out of place, or the file ending early).
AtlasLines CheckAtlasText(const std::string& text, const std::string& file, Report& report);

// Warns about page images missing beside the atlas, pages without a size or
// with unknown settings, regions outside their page and duplicate region names.
void CheckAtlasContent(const skel::Atlas& atlas, const AtlasLines& lines, const std::string& file, Report& report);

// The atlas's own words for its settings.
const char* FormatName(int format);
std::string FilterNames(int minFilter, int magFilter);
const char* RepeatName(int uWrap, int vWrap);

// The folder of an atlas path, as the game joins page images to it.
std::string PageImagePath(const std::string& atlasPath, const char* pageName);

}  // namespace skelcheck
