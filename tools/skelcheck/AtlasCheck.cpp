#include "AtlasCheck.h"

#include <dirent.h>
#include <lodepng.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

#include "Locate.h"
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

// The word before the colon of a property line ("size" of "size: 64, 64");
// empty for any other line.
std::string KeyOf(const std::string& line) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return std::string();
  const std::string key = Trimmed(line.substr(0, colon));
  for (char c : key)
    if (!std::isalpha(static_cast<unsigned char>(c))) return std::string();
  return key;
}

bool IsPageKey(const std::string& key) {
  return key == "size" || key == "format" || key == "filter" || key == "repeat";
}

// Keys a region has and a page has not.
bool IsRegionKey(const std::string& key) {
  for (const char* k : {"rotate", "xy", "split", "pad", "orig", "offset", "index"})
    if (key == k) return true;
  return false;
}

// The values of a tuple line as the reader splits them: up to four after the
// colon, each without its leading white space.
std::vector<std::string> Values(const std::string& line) {
  std::vector<std::string> values;
  size_t from = line.find(':');
  if (from == std::string::npos) return values;
  for (++from;;) {
    const size_t comma = values.size() < 3 ? line.find(',', from) : std::string::npos;
    std::string value = line.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    values.push_back(value.substr(std::min(value.size(), value.find_first_not_of(" \t\n\v\f\r"))));
    if (comma == std::string::npos) return values;
    from = comma + 1;
  }
}

// Why a value is not a plain count of pixels, which is all the reader's
// strtol takes in whole; empty when it is one.
std::string PixelFault(const std::string& value) {
  size_t i = value.empty() || (value[0] != '-' && value[0] != '+') ? 0 : 1;
  const size_t digits = i;
  while (i < value.size() && std::isdigit(static_cast<unsigned char>(value[i]))) ++i;
  const long long read = std::strtoll(value.c_str(), nullptr, 10);
  if (i > digits && value.find_first_not_of(" \t", i) == std::string::npos) return read < 0 ? "is negative" : "";
  const long long game = std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, read));
  return "is not a whole number of pixels (the game reads " + std::to_string(game) + ")";
}

// What the reader makes of a repeat value: a prefix of "none" is none, and
// "xy" or a longer prefix of it both.
std::string RepeatRead(const std::string& value) {
  auto prefixOf = [&](const char* word) { return std::string(word).compare(0, value.size(), value) == 0; };
  if (prefixOf("none")) return "none";
  if (value == "x" || value == "y") return value;
  return value.size() > 1 && prefixOf("xy") ? "xy" : "none";
}

// Whether the reader turns a region with this rotate value: a prefix of
// "true" or the number 90.
bool RotateRead(const std::string& value) {
  if (std::string("true").compare(0, value.size(), value) == 0) return true;
  if (std::string("false").compare(0, value.size(), value) == 0) return false;
  return std::strtol(value.c_str(), nullptr, 10) == 90;
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
    _matched = false;
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
    _matched = key == wanted;
    int count = 1;
    for (size_t comma = line.find(',', colon); comma != std::string::npos && count < 4;
         comma = line.find(',', comma + 1))
      ++count;
    return count;
  }

  // The line just read, when it is the one wanted, must start with two
  // counts of pixels; true after saying so when it does not.
  bool badPixels(const char* key, const char* code = "region-bad-number", size_t count = 2, bool negative = false) {
    if (!_matched) return false;  // a line out of place is told as a cut
    const std::vector<std::string> values = Values(_lines[_next - 1]);
    const std::string what = _entry + ": \"" + key + "\" ";
    if (values.size() < count) {
      _report.error(code, At(_file, _next),
                    what + "has " + std::to_string(values.size()) + " value; it needs " + std::to_string(count));
      return true;
    }
    for (size_t i = 0; i < count; ++i) {
      std::string fault = PixelFault(values[i]);
      if (negative && fault == "is negative") fault.clear();
      if (fault.empty()) continue;
      _report.error(code, At(_file, _next), what + "value " + Quoted(values[i].c_str()) + " " + fault);
      return true;
    }
    return false;
  }

  bool told() const { return _told; }

  // The value of the line just read, when it is the one wanted, as the reader takes it.
  bool value(std::string& out) const {
    if (!_matched) return false;
    out = Values(_lines[_next - 1])[0];
    return true;
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
  bool _matched = false;  // the last line read has the key wanted
};

// Another packer's page header, which the reader, taking lines by their
// place, misreads from there on: no "size:" line, or a line it does not
// know. nameLine is the page line's index; true after saying so.
bool ForeignPageHeader(const std::vector<std::string>& lines, size_t nameLine, const std::string& file,
                       Report& report) {
  const std::string page = "page " + Quoted(lines[nameLine].c_str());
  const std::string misread = ", and the game takes each line by its place, so it misreads all that follows: ";
  // The property lines up to the first region, and those of them a page has.
  std::vector<std::string> header, known;
  size_t unknownLine = 0;
  for (size_t i = nameLine + 1; i < lines.size(); ++i) {
    const std::string key = KeyOf(lines[i]);
    if (key.empty() || IsRegionKey(key)) break;
    header.push_back(key);
    if (IsPageKey(key))
      known.push_back(key);
    else if (!unknownLine)
      unknownLine = i + 1;
  }
  if (!header.empty() && IsPageKey(header[0]) && std::find(known.begin(), known.end(), "size") == known.end()) {
    report.error("atlas-no-size-line", At(file, nameLine + 1),
                 page + " has no \"size:\" line" + misread + "export the atlas with a \"size:\" line on every page");
    return true;
  }
  // A misspelt key in its place is read as it should be; one more line is not.
  if (known != std::vector<std::string>{"size", "format", "filter", "repeat"} || !unknownLine) return false;
  report.error("atlas-unknown-page-line", At(file, unknownLine),
               page + ": \"" + KeyOf(lines[unknownLine - 1]) + ":\" is not a page line the atlas knows" + misread +
                   "export the atlas without it");
  return true;
}

// Lines of a newer atlas format, which the game does not read at all.
bool NewerFormat(const std::vector<std::string>& lines, const std::string& file, Report& report) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string key = KeyOf(lines[i]);
    if (key != "bounds" && key != "pma") continue;
    report.error("atlas-newer-format", At(file, i + 1),
                 "\"" + key +
                     ":\" is a line of a newer atlas format, which the game does not read: export the "
                     "atlas in the classic format (\"xy:\" and \"size:\" lines for each region)");
    return true;
  }
  return false;
}

// What the game's loader would make of a page image.
struct PageImage {
  bool read = false, decoded = false, alpha = true;
  unsigned width = 0, height = 0;
  std::string why;  // when not read or not decoded
};

// Far above any texture; a header claiming more is not decoded at all.
constexpr unsigned kMaxSide = 16384;

bool FindChunk(const std::vector<unsigned char>& png, const char* type) {
  for (size_t at = 8; at + 12 <= png.size();) {
    const size_t length = size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3];
    if (std::memcmp(&png[at + 4], type, 4) == 0) return true;
    if (length > png.size() - at - 12) return false;
    at += length + 12;
  }
  return false;
}

// A file beside the atlas whose name differs from name only in letter case;
// empty when there is none.
std::string OtherCase(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string found;
  if (DIR* folder = opendir(dir.c_str())) {
    while (const dirent* entry = readdir(folder))
      if (entry->d_name != name && strcasecmp(entry->d_name, name.c_str()) == 0) found = entry->d_name;
    closedir(folder);
  }
  return found;
}

PageImage LoadPageImage(const std::string& path) {
  PageImage image;
  std::vector<unsigned char> file;
  if (!tarn::ReadFile(path.c_str(), file, &image.why)) return image;
  image.read = true;
  if (file.empty()) {
    image.why = "the file is empty";
    return image;
  }
  LodePNGState state;
  lodepng_state_init(&state);
  unsigned error = lodepng_inspect(&image.width, &image.height, &state, file.data(), file.size());
  // A transparent colour (tRNS) comes after the header; only the chunks would tell it.
  image.alpha = lodepng_is_alpha_type(&state.info_png.color) || lodepng_is_palette_type(&state.info_png.color) ||
                FindChunk(file, "tRNS");
  lodepng_state_cleanup(&state);
  if (error) {
    image.why = lodepng_error_text(error);
  } else if (image.width > kMaxSide || image.height > kMaxSide) {
    image.why = "its header claims " + std::to_string(image.width) + "x" + std::to_string(image.height) +
                " pixels, more than any texture holds";
  } else {
    unsigned char* pixels = nullptr;
    error = lodepng_decode32(&pixels, &image.width, &image.height, file.data(), file.size());
    std::free(pixels);
    image.decoded = !error;
    if (error) image.why = lodepng_error_text(error);
  }
  return image;
}

// Regions sharing pixels of a page, found by a sweep along x. The same
// rectangle under two names is a packer sharing one image, not a mistake.
void Overlaps(const skel::Atlas& atlas, const AtlasLines& lines, const std::string& file, Report& report) {
  struct Box {
    const skel::AtlasRegion* region;
    size_t line;
    long long x, y, right, bottom;
  };
  std::map<const skel::AtlasPage*, std::vector<Box>> pages;
  const skel::Vector<skel::AtlasRegion*>& regions = atlas.getRegions();
  for (size_t r = 0; r < regions.size(); ++r) {
    const skel::AtlasRegion& region = *regions[r];
    const size_t line = r < lines.regions.size() ? lines.regions[r] : 0;
    if (std::find(lines.badNumbers.begin(), lines.badNumbers.end(), line) != lines.badNumbers.end()) continue;
    const long long across = region.rotate ? region.height : region.width;
    const long long down = region.rotate ? region.width : region.height;
    if (across > 0 && down > 0)
      pages[region.page].push_back({&region, line, region.x, region.y, region.x + across, region.y + down});
  }
  for (auto& [page, all] : pages) {
    // One box per rectangle, kept from its first line: a page of shared
    // images then costs no more than one without.
    std::map<std::tuple<long long, long long, long long, long long>, Box> unique;
    for (const Box& box : all) unique.emplace(std::make_tuple(box.x, box.y, box.right, box.bottom), box);
    std::vector<Box> boxes;
    for (const auto& entry : unique) boxes.push_back(entry.second);
    std::stable_sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.x < b.x; });
    std::set<const skel::AtlasRegion*> told;
    for (size_t i = 0; i < boxes.size(); ++i)
      for (size_t j = i + 1; j < boxes.size() && boxes[j].x < boxes[i].right; ++j) {
        const Box &a = boxes[i].line <= boxes[j].line ? boxes[i] : boxes[j],
                  &b = boxes[i].line <= boxes[j].line ? boxes[j] : boxes[i];
        if (b.y >= a.bottom || a.y >= b.bottom || told.count(b.region)) continue;
        told.insert(b.region);
        report.warning("region-overlap", b.line ? At(file, b.line) : Place{file},
                       "region " + Quoted(b.region->name.buffer() ? b.region->name.buffer() : "") +
                           " overlaps region " + Quoted(a.region->name.buffer() ? a.region->name.buffer() : "") +
                           (a.line ? " (line " + std::to_string(a.line) + ")" : std::string()) +
                           " on the page: each shows a part of the other");
      }
  }
}

}  // namespace

bool LooksLikeJson(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) > 32) return c == '{';
    if (c == '\0') return false;
  }
  return false;
}

bool LooksLikeUtf16(const std::string& text) {
  if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0) return true;
  // Without a byte order mark: text whose every other byte is zero.
  size_t zeros = 0, pairs = std::min<size_t>(text.size() / 2, 64);
  for (size_t i = 0; i < pairs; ++i) zeros += (text[2 * i] == '\0') != (text[2 * i + 1] == '\0');
  return pairs > 0 && zeros == pairs;
}

std::string NotAnAtlas(const std::string& text) {
  if (text.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) return "is a PNG image, not an atlas";
  if (LooksLikeUtf16(text)) return "is UTF-16 text: save it as UTF-8";
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && !IsSpace(static_cast<char>(c))) || c == 0x7f) {
      char byte[8];
      std::snprintf(byte, sizeof(byte), "0x%02x", c);
      // One stray byte in a text is a name typed wrong, not a binary file.
      const size_t line = static_cast<size_t>(std::count(text.begin(), text.begin() + static_cast<long>(i), '\n')) + 1;
      if (c == 0 && text.find('\0', i + 1) == std::string::npos)
        return "holds a NUL byte (0x00) on line " + std::to_string(line) +
               ", which no name or value may hold: remove it";
      return "is binary, not an atlas (a " + std::string(byte) + " byte at offset " + std::to_string(i) + ")";
    }
  }
  return LooksLikeJson(text) ? "is a skeleton JSON, not an atlas" : "";
}

AtlasLines CheckAtlasText(const std::string& text, const std::string& file, Report& report) {
  AtlasLines found;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    report.error("atlas-byte-order-mark", Place(file, 1, 1),
                 "the file starts with a UTF-8 byte order mark, which the reader does not skip; save it without one");
    found.misread = true;
    return found;
  }
  const std::vector<std::string> lines = SplitLines(text);
  if (NewerFormat(lines, file, report)) {
    found.misread = true;
    return found;
  }
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
      if (ForeignPageHeader(lines, number - 1, file, report)) {
        found.misread = true;
        return found;
      }
      EntryWalker page(lines, next, file, report, "page " + Quoted(line.c_str()));
      page.property({"size"});
      page.badPixels("size", "atlas-bad-number");
      page.property({"format"});
      page.property({"filter"});
      page.property({"repeat"});
      std::string repeat;
      if (page.value(repeat) && repeat != "none" && repeat != "x" && repeat != "y" && repeat != "xy")
        report.warning("page-unknown-repeat", At(file, next),
                       "page " + Quoted(line.c_str()) + ": the repeat " + Quoted(repeat.c_str()) +
                           " is not none, x, y or xy: the game reads " + RepeatRead(repeat));
      continue;
    }
    found.regions.push_back(number);
    if (line.find(':') != std::string::npos)
      report.warning("atlas-property-as-name", At(file, number),
                     "a property line " + Quoted(line.c_str()) + " stands where a region name was expected");
    const std::string entry = "region " + Quoted(line.c_str());
    EntryWalker region(lines, next, file, report, entry);
    region.property({"rotate"});
    std::string rotate;
    if (region.value(rotate) && rotate != "true" && rotate != "false" && rotate != "0" && rotate != "90")
      report.error("region-rotate-value", At(file, next),
                   entry + ": the rotate " + Quoted(rotate.c_str()) +
                       " is not true, false, 0 or 90: the game draws it " +
                       (RotateRead(rotate) ? "turned by 90 degrees" : "unrotated"));
    region.property({"xy"});
    bool bad = region.badPixels("xy");
    region.property({"size"});
    bad = region.badPixels("size") || bad;
    if (region.property({"orig", "split"}) == 4 && region.property({"orig", "pad"}) == 4) region.property({"orig"});
    bad = region.badPixels("orig") || bad;
    region.property({"offset"});
    bad = region.badPixels("offset", "region-bad-number", 2, true) || bad;
    region.property({"index"});
    bad = region.badPixels("index", "region-bad-number", 1, true) || bad;
    // Values of an entry cut short are shifted: checking them would only repeat the cut.
    if (bad || region.told()) found.badNumbers.push_back(number);
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
    const std::string path = PageImagePath(file, page.name.buffer());
    const PageImage image = LoadPageImage(path);
    const std::string other = image.read ? std::string() : OtherCase(path);
    const std::string spaces = SpacesAtEnd(page.name.buffer() ? page.name.buffer() : "");
    if (!image.read && !other.empty())
      report.error("page-image-case", where,
                   "page " + name + ": " + other + " exists, the atlas says " +
                       (page.name.buffer() ? page.name.buffer() : "") +
                       ": the game finds files only in the same letter case");
    else if (!image.read)
      report.error("page-image-missing", where,
                   "page " + name + ": its image " + path + " cannot be read beside the atlas: " + image.why +
                       (spaces.empty() ? std::string() : " (" + spaces + ")"));
    else if (!image.decoded)
      report.error("page-image-undecodable", where,
                   "page " + name + ": its image " + path + " cannot be decoded as a PNG: " + image.why);
    else if (image.width != static_cast<unsigned>(page.width) || image.height != static_cast<unsigned>(page.height))
      report.error("page-size-mismatch", where,
                   "page " + name + " is " + std::to_string(page.width) + "x" + std::to_string(page.height) +
                       " in the atlas, but its image " + path + " is " + std::to_string(image.width) + "x" +
                       std::to_string(image.height));
    if (image.decoded && !image.alpha)
      report.warning("page-no-alpha", where,
                     "page " + name + ": its image " + path +
                         " has no alpha channel: every part is drawn with the box of its region around it");
    if (!image.decoded && (page.width <= 0 || page.height <= 0))
      report.warning("page-no-size", where, "page " + name + " has no size");
    if (page.format == 0)
      report.warning("page-unknown-format", where, "page " + name + ": the format is not one the atlas knows");
    if (page.minFilter == 0 || page.magFilter == 0)
      report.warning("page-unknown-filter", where, "page " + name + ": a filter is not one the atlas knows");
  }

  // Frames of an image sequence share a name and differ in index.
  std::map<std::pair<std::string, int>, size_t> firstLine;
  const skel::Vector<skel::AtlasRegion*>& regions = atlas.getRegions();
  for (size_t r = 0; r < regions.size(); ++r) {
    const skel::AtlasRegion& region = *regions[r];
    const size_t line = r < lines.regions.size() ? lines.regions[r] : 0;
    const Place where = line ? At(file, line) : Place{file};
    const std::string name = region.name.buffer() ? region.name.buffer() : "";
    auto first = firstLine.emplace(std::make_pair(name, region.index), line);
    if (!first.second)
      report.warning("region-duplicate", where,
                     "region " + Quoted(name.c_str()) +
                         (region.index < 0 ? std::string() : " index " + std::to_string(region.index)) +
                         " is also named at line " + std::to_string(first.first->second) +
                         "; only the first one is used");
    if (std::find(lines.badNumbers.begin(), lines.badNumbers.end(), line) != lines.badNumbers.end()) continue;
    const std::string size = std::to_string(region.width) + "x" + std::to_string(region.height);
    const std::string orig = std::to_string(region.untrimmedWidth) + "x" + std::to_string(region.untrimmedHeight);
    if (region.untrimmedWidth < region.width || region.untrimmedHeight < region.height)
      report.error("region-orig-small", where,
                   "region " + Quoted(name.c_str()) + ": its \"orig\" " + orig + " is smaller than its \"size\" " +
                       size + ": the game draws the picture larger than its attachment");
    else if (region.offsetX < 0 || region.offsetY < 0 || region.offsetX + region.width > region.untrimmedWidth ||
             region.offsetY + region.height > region.untrimmedHeight)
      report.error("region-offset-outside", where,
                   "region " + Quoted(name.c_str()) + ": the \"offset\" " + Number(region.offsetX) + ", " +
                       Number(region.offsetY) + " puts its " + size + " picture outside its \"orig\" " + orig +
                       ": the game draws it beside its place");
    const skel::AtlasPage& page = *region.page;
    const long long across = region.rotate ? region.height : region.width;
    const long long down = region.rotate ? region.width : region.height;
    if (page.width > 0 && page.height > 0 &&
        (region.x < 0 || region.y < 0 || region.x + across > page.width || region.y + down > page.height))
      report.error("region-outside-page", where,
                   "region " + Quoted(name.c_str()) + " (xy " + std::to_string(region.x) + "," +
                       std::to_string(region.y) + ", " + std::to_string(across) + "x" + std::to_string(down) +
                       " on the page) lies outside its page of " + std::to_string(page.width) + "x" +
                       std::to_string(page.height));
  }
  Overlaps(atlas, lines, file, report);
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
