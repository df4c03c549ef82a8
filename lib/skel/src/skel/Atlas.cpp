#include "skel/Atlas.h"

#include <climits>
#include <cstring>

#include "skel/SkelExtension.h"

namespace skel {

namespace {

// A piece of the atlas text; the text has no terminator, so nothing here may
// look past end.
struct Text {
  const char* begin = "";
  const char* end = begin;

  size_t length() const { return static_cast<size_t>(end - begin); }
  bool isEmpty() const { return begin == end; }
  // True when this text is a prefix of word (an empty text is a prefix of everything).
  bool beginsWord(const char* word) const {
    size_t n = length();
    return n <= std::strlen(word) && std::memcmp(word, begin, n) == 0;
  }
  bool equals(const char* word) const { return length() == std::strlen(word) && beginsWord(word); }
};

// The C isspace set, independent of the process locale.
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

Text trimLeading(Text text) {
  while (text.begin < text.end && isSpace(*text.begin)) ++text.begin;
  return text;
}

// Base 10 like strtol, but saturating at the int range.
int toInt(Text text) {
  const char* p = trimLeading(text).begin;
  bool negative = false;
  if (p < text.end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  long long value = 0;
  for (; p < text.end && *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

// Table index of the last entry that begins with value; 0 when none does.
int indexOf(const char* (*nameOf)(int), Text value) {
  for (int i = 7; i > 0; --i)
    if (value.beginsWord(nameOf(i))) return i;
  return 0;
}

class Reader {
 public:
  Reader(const char* data, size_t length) : _pos(data), _end(data + length) {}

  // The next line, trimmed; false at the end of the text.
  bool readLine(Text& line) {
    if (_pos >= _end) return false;
    const char* newline = static_cast<const char*>(std::memchr(_pos, '\n', static_cast<size_t>(_end - _pos)));
    const char* lineEnd = newline ? newline : _end;
    line = trimLeading(Text{_pos, lineEnd});
    while (line.end > line.begin && line.end[-1] == '\r') --line.end;
    _pos = newline ? newline + 1 : _end;
    return true;
  }

  // A property line past the end of the text reads as an empty line.
  Text propertyLine() {
    Text line;
    readLine(line);
    return line;
  }

  // The text after the colon; a line without one is taken whole.
  Text readValue() {
    Text line = propertyLine();
    const char* colon = static_cast<const char*>(std::memchr(line.begin, ':', line.length()));
    if (!colon) return line;
    return trimLeading(Text{colon + 1, line.end});
  }

  // Up to four comma-separated values; returns their count, 0 for a line
  // without a colon, which leaves the previous values in place.
  int readTuple() {
    Text line = propertyLine();
    const char* colon = static_cast<const char*>(std::memchr(line.begin, ':', line.length()));
    if (!colon) return 0;
    const char* p = colon + 1;
    int i = 0;
    for (; i < 3; ++i) {
      const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<size_t>(line.end - p)));
      if (!comma) break;
      tuple[i] = trimLeading(Text{p, comma});
      p = comma + 1;
    }
    tuple[i] = trimLeading(Text{p, line.end});
    return i + 1;
  }

  Text tuple[4];

 private:
  const char* _pos;
  const char* _end;
};

void repeatFlags(Text value, int& uWrap, int& vWrap) {
  uWrap = vWrap = TextureWrap_ClampToEdge;
  if (value.beginsWord("none")) return;
  if (value.equals("x"))
    uWrap = TextureWrap_Repeat;
  else if (value.equals("y"))
    vWrap = TextureWrap_Repeat;
  else if (value.length() > 1 && value.beginsWord("xy"))
    uWrap = vWrap = TextureWrap_Repeat;
}

// A zero page size leaves that axis at 0 rather than dividing by it.
float normalised(long long pixels, int pageSize) {
  return pageSize == 0 ? 0.0f : static_cast<float>(pixels) / static_cast<float>(pageSize);
}

void readRegion(Reader& reader, AtlasRegion& region) {
  AtlasPage& page = *region.page;

  Text rotate = reader.readValue();
  if (rotate.beginsWord("true"))
    region.degrees = 90;
  else if (rotate.beginsWord("false"))
    region.degrees = 0;
  else
    region.degrees = toInt(rotate);
  region.rotate = region.degrees == 90;

  reader.readTuple();
  region.x = toInt(reader.tuple[0]);
  region.y = toInt(reader.tuple[1]);
  reader.readTuple();
  region.width = toInt(reader.tuple[0]);
  region.height = toInt(reader.tuple[1]);

  region.uMin = normalised(region.x, page.width);
  region.vMin = normalised(region.y, page.height);
  long long across = region.rotate ? region.height : region.width;
  long long down = region.rotate ? region.width : region.height;
  region.uMax = normalised(region.x + across, page.width);
  region.vMax = normalised(region.y + down, page.height);

  if (reader.readTuple() == 4) {
    for (int i = 0; i < 4; ++i) region.splits.add(toInt(reader.tuple[i]));
    if (reader.readTuple() == 4) {
      for (int i = 0; i < 4; ++i) region.pads.add(toInt(reader.tuple[i]));
      reader.readTuple();
    }
  }
  region.untrimmedWidth = toInt(reader.tuple[0]);
  region.untrimmedHeight = toInt(reader.tuple[1]);

  reader.readTuple();
  region.offsetX = static_cast<float>(toInt(reader.tuple[0]));
  region.offsetY = static_cast<float>(toInt(reader.tuple[1]));

  region.index = toInt(reader.readValue());
}

String toString(Text text) {
  char* chars = SkelExtension::alloc<char>(text.length() + 1, __FILE__, __LINE__);
  if (!chars) return String();
  std::memcpy(chars, text.begin, text.length());
  chars[text.length()] = 0;
  return String(chars, true);
}

}  // namespace

String Atlas::directoryOf(const String& path) {
  long long slash = path.lastIndexOf('/');
  long long backslash = path.lastIndexOf('\\');
  long long last = slash > backslash ? slash : backslash;
  if (last < 0) return String("");
  return path.substring(0, last == 0 ? 1 : static_cast<size_t>(last));
}

Atlas::Atlas(const String& path, TextureLoader* textureLoader) : _textureLoader(textureLoader) {
  OutOfMemoryEndsProgram reported(false);
  const uint64_t failedBefore = SkelExtension::getFailedRequests();
  String dir = directoryOf(path);
  size_t length = 0;
  char* data = SkelExtension::readFileData(path, &length);
  if (data) load(data, length, dir);
  SkelExtension::free(data, __FILE__, __LINE__);
  _outOfMemory = SkelExtension::getFailedRequests() != failedBefore;
  if (_outOfMemory) clear();
}

Atlas::Atlas(const char* data, size_t length, const String& dir, TextureLoader* textureLoader)
    : _textureLoader(textureLoader) {
  OutOfMemoryEndsProgram reported(false);
  const uint64_t failedBefore = SkelExtension::getFailedRequests();
  if (data) load(data, length, dir);
  _outOfMemory = SkelExtension::getFailedRequests() != failedBefore;
  if (_outOfMemory) clear();
}

Atlas::~Atlas() { clear(); }

void Atlas::clear() {
  if (_textureLoader)
    for (AtlasPage* page : _pages) _textureLoader->releasePageTexture(page->getRendererObject());
  _pages.clearAndDeleteAll();
  _regions.clearAndDeleteAll();
  _regionIndex.update(_regions);
}

AtlasRegion* Atlas::findRegion(const String& name) const { return _regionIndex.find(_regions, name); }

void Atlas::load(const char* data, size_t length, const String& dir) {
  bool needsSlash = dir.length() > 0 && dir.buffer()[dir.length() - 1] != '/' && dir.buffer()[dir.length() - 1] != '\\';
  Reader reader(data, length);
  AtlasPage* page = nullptr;
  Text line;
  while (reader.readLine(line)) {
    if (line.isEmpty()) {
      page = nullptr;
      continue;
    }
    if (!page) {
      page = new (__FILE__, __LINE__) AtlasPage(toString(line));
      // Out of memory, the reading stops; the atlas is emptied after it.
      if (!page) break;
      reader.readTuple();
      page->width = toInt(reader.tuple[0]);
      page->height = toInt(reader.tuple[1]);
      reader.readTuple();
      page->format = indexOf(atlasFormatName, reader.tuple[0]);
      // The minification filter is compared without its last character.
      int filters = reader.readTuple();
      Text minFilter = reader.tuple[0];
      if (filters >= 2 && !minFilter.isEmpty()) --minFilter.end;
      page->minFilter = indexOf(textureFilterName, minFilter);
      page->magFilter = indexOf(textureFilterName, reader.tuple[1]);
      repeatFlags(reader.readValue(), page->uWrap, page->vWrap);

      if (!_pages.add(page)) {
        delete page;
        break;
      }
      if (_textureLoader) {
        String path(dir);
        if (needsSlash) path.append("/");
        path.append(page->name);
        _textureLoader->loadPageTexture(*page, path);
      }
      continue;
    }
    AtlasRegion* region = new (__FILE__, __LINE__) AtlasRegion();
    if (!region || !_regions.add(region)) {
      delete region;
      break;
    }
    region->page = page;
    region->name = toString(line);
    readRegion(reader, *region);
  }
  // Indexed now, so that lookups into a finished atlas only read.
  _regionIndex.update(_regions);
}

}  // namespace skel
