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
  // Region lines whose numbers are not plain counts of pixels, or whose
  // entry is cut short: their values are not checked further.
  std::vector<size_t> badNumbers;
  // The text is in a shape the reader misreads from some line on (a byte
  // order mark, another packer's lines): said once, nothing else is checked.
  bool misread = false;
};

// A skeleton is a JSON object; an atlas starts with a page name.
bool LooksLikeJson(const std::string& text);

// Text saved as UTF-16, which no reader of ours takes.
bool LooksLikeUtf16(const std::string& text);

// Why text cannot be an atlas at all (an image, other binary data, a
// skeleton), as "is ..., not an atlas"; empty when it may be one.
std::string NotAnAtlas(const std::string& text);

// Walks the text line by line as the reader does. Errors: a byte order mark,
// another packer's shape, region numbers that are not pixels; warnings:
// entries cut short (a property line missing or out of place, or the file
// ending early).
AtlasLines CheckAtlasText(const std::string& text, const std::string& file, Report& report);

// Decodes every page image: a missing or undecodable image, or one of
// another size than its page, is an error, as is a region outside its page.
// Warns about pages without a size or with unknown settings and duplicate
// regions.
void CheckAtlasContent(const skel::Atlas& atlas, const AtlasLines& lines, const std::string& file, Report& report);

// The atlas's own words for its settings.
const char* FormatName(int format);
std::string FilterNames(int minFilter, int magFilter);
const char* RepeatName(int uWrap, int vWrap);

// The folder of an atlas path, as the game joins page images to it.
std::string PageImagePath(const std::string& atlasPath, const char* pageName);

}  // namespace skelcheck
