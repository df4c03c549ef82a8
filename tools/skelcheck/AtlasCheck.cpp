#include "AtlasCheck.h"

#include <map>

#include "skel/Atlas.h"
#include "tarn/Path.h"

namespace skelcheck {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Lines trimmed as the reader trims them.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t newline = text.find('\n', pos);
    size_t end = newline == std::string::npos ? text.size() : newline;
    size_t begin = pos;
    while (begin < end && IsSpace(text[begin])) ++begin;
    while (end > begin && text[end - 1] == '\r') --end;
    lines.push_back(text.substr(begin, end - begin));
    pos = newline == std::string::npos ? text.size() : newline + 1;
  }
  return lines;
}

std::string Trimmed(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsSpace(text[begin])) ++begin;
  while (end > begin && IsSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Follows one page or region entry; only its first fault is told, as every
// value after a missing line is shifted anyway.
class EntryWalker {
 public:
  EntryWalker(const std::vector<std::string>& lines, size_t& next, const std::string& file, Report& report,
              std::string entry)
      : _lines(lines), _next(next), _file(file), _report(report), _entry(std::move(entry)) {}

  // Reads the next property line, which should start with one of keys;
  // returns its value count as the reader counts it (0 without a colon).
  int property(std::initializer_list<const char*> keys) {
    const char* wanted = *keys.begin();
    if (_next >= _lines.size()) {
      fault(At(_file, _lines.size()), "the file ends before its \"" + std::string(wanted) + ":\" line");
      return 0;
    }
    const size_t number = ++_next;
    const std::string& line = _lines[number - 1];
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      fault(At(_file, number), Expected(wanted) + Quoted(line.c_str()));
      return 0;
    }
    const std::string key = Trimmed(line.substr(0, colon));
    bool known = false;
    for (const char* k : keys) known = known || key == k;
    if (!known) fault(At(_file, number), Expected(wanted) + "\"" + key + ":\"");
    int count = 1;
    for (size_t comma = line.find(',', colon); comma != std::string::npos && count < 4;
         comma = line.find(',', comma + 1))
      ++count;
    return count;
  }

 private:
  static std::string Expected(const char* key) { return "expected the \"" + std::string(key) + ":\" line, found "; }

  void fault(const Place& where, const std::string& what) {
    if (_told) return;
    _told = true;
    _report.warning("atlas-entry-cut-short", where, _entry + " is cut short: " + what);
  }

  const std::vector<std::string>& _lines;
  size_t& _next;
  const std::string& _file;
  Report& _report;
  std::string _entry;
  bool _told = false;
};

}  // namespace

AtlasLines CheckAtlasText(const std::string& text, const std::string& file, Report& report) {
  const std::vector<std::string> lines = SplitLines(text);
  AtlasLines found;
  size_t next = 0;
  bool inPage = false;
  while (next < lines.size()) {
    const size_t number = ++next;
    const std::string& line = lines[number - 1];
    if (line.empty()) {
      inPage = false;
      continue;
    }
    if (!inPage) {
      inPage = true;
      found.pages.push_back(number);
      EntryWalker page(lines, next, file, report, "page " + Quoted(line.c_str()));
      page.property({"size"});
      page.property({"format"});
      page.property({"filter"});
      page.property({"repeat"});
      continue;
    }
    found.regions.push_back(number);
    if (line.find(':') != std::string::npos)
      report.warning("atlas-property-as-name", At(file, number),
                     "a property line " + Quoted(line.c_str()) + " stands where a region name was expected");
    EntryWalker region(lines, next, file, report, "region " + Quoted(line.c_str()));
    region.property({"rotate"});
    region.property({"xy"});
    region.property({"size"});
    if (region.property({"orig", "split"}) == 4 && region.property({"orig", "pad"}) == 4) region.property({"orig"});
    region.property({"offset"});
    region.property({"index"});
  }
  return found;
}

std::string PageImagePath(const std::string& atlasPath, const char* pageName) {
  const skel::String folder = skel::Atlas::directoryOf(skel::String(atlasPath.c_str()));
  std::string dir = folder.buffer() ? folder.buffer() : "";
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
  return dir + (pageName ? pageName : "");
}

void CheckAtlasContent(const skel::Atlas& atlas, const AtlasLines& lines, const std::string& file, Report& report) {
  const skel::Vector<skel::AtlasPage*>& pages = atlas.getPages();
  for (size_t p = 0; p < pages.size(); ++p) {
    const skel::AtlasPage& page = *pages[p];
    const Place where = p < lines.pages.size() ? At(file, lines.pages[p]) : Place{file};
    const std::string name = Quoted(page.name.buffer());
    std::string why;
    const std::string image = PageImagePath(file, page.name.buffer());
    if (!tarn::CheckRegularFile(image.c_str(), &why))
      report.warning("page-image-unreadable", where,
                     "page " + name + ": its image " + image + " cannot be read beside the atlas: " + why);
    if (page.width <= 0 || page.height <= 0) report.warning("page-no-size", where, "page " + name + " has no size");
    if (page.format == 0)
      report.warning("page-unknown-format", where, "page " + name + ": the format is not one the atlas knows");
    if (page.minFilter == 0 || page.magFilter == 0)
      report.warning("page-unknown-filter", where, "page " + name + ": a filter is not one the atlas knows");
  }

  std::map<std::string, size_t> firstLine;
  const skel::Vector<skel::AtlasRegion*>& regions = atlas.getRegions();
  for (size_t r = 0; r < regions.size(); ++r) {
    const skel::AtlasRegion& region = *regions[r];
    const size_t line = r < lines.regions.size() ? lines.regions[r] : 0;
    const Place where = line ? At(file, line) : Place{file};
    const std::string name = region.name.buffer() ? region.name.buffer() : "";
    auto first = firstLine.emplace(name, line);
    if (!first.second)
      report.warning("region-duplicate", where,
                     "region " + Quoted(name.c_str()) + " is also named at line " +
                         std::to_string(first.first->second) + "; only the first one is used");
    const skel::AtlasPage& page = *region.page;
    const long long across = region.rotate ? region.height : region.width;
    const long long down = region.rotate ? region.width : region.height;
    if (page.width > 0 && page.height > 0 &&
        (region.x < 0 || region.y < 0 || region.x + across > page.width || region.y + down > page.height))
      report.warning("region-outside-page", where,
                     "region " + Quoted(name.c_str()) + " (xy " + std::to_string(region.x) + "," +
                         std::to_string(region.y) + ", " + std::to_string(across) + "x" + std::to_string(down) +
                         " on the page) lies outside its page of " + std::to_string(page.width) + "x" +
                         std::to_string(page.height));
  }
}

const char* FormatName(int format) {
  return *skel::atlasFormatName(format) ? skel::atlasFormatName(format) : "unknown";
}

std::string FilterNames(int minFilter, int magFilter) {
  auto name = [](int filter) { return *skel::textureFilterName(filter) ? skel::textureFilterName(filter) : "unknown"; };
  return std::string(name(minFilter)) + "," + name(magFilter);
}

const char* RepeatName(int uWrap, int vWrap) {
  const bool u = uWrap == skel::TextureWrap_Repeat, v = vWrap == skel::TextureWrap_Repeat;
  return u && v ? "xy" : u ? "x" : v ? "y" : "none";
}

}  // namespace skelcheck
