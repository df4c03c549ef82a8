#include "skel/Json.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "skel/SkelExtension.h"

namespace skel {

namespace {

// Per thread, so that texts read on several threads at once do not race.
thread_local const char* errorPosition = nullptr;

// A node whose value could not even begin; it is taken out of the tree again.
const int UNTYPED = -1;

// Exponent digits past this value cannot change the result and would
// overflow. It lies far beyond the digits any text in memory holds, so that
// the place the digits move the point to cannot outweigh a capped exponent.
const long long MAX_EXPONENT = 100000000000000000;

const char* skip(const char* in) {
  while (*in && static_cast<unsigned char>(*in) <= 32) ++in;
  return in;
}

const char* fail(const char* at) {
  errorPosition = at;
  return nullptr;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Up to four hexadecimal digits; count says how many were there. Only digits
// are consumed, so a short escape never swallows the closing quote or the
// terminator.
unsigned readHex4(const char* in, int& count) {
  unsigned value = 0;
  for (count = 0; count < 4; ++count) {
    int digit = hexDigit(in[count]);
    if (digit < 0) break;
    value = value << 4 | static_cast<unsigned>(digit);
  }
  return value;
}

// Writes code point uc as UTF-8 if it fits before end; returns the new end of output.
char* putUtf8(char* out, const char* end, unsigned uc) {
  static const unsigned char firstByteMark[5] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};
  int len = uc < 0x80 ? 1 : uc < 0x800 ? 2 : uc < 0x10000 ? 3 : 4;
  if (end - out < len) return out;
  for (int i = len - 1; i > 0; --i) {
    out[i] = static_cast<char>((uc | 0x80) & 0xBF);
    uc >>= 6;
  }
  out[0] = static_cast<char>(uc | firstByteMark[len]);
  return out + len;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number's digits: up to 19 significant ones exactly in an integer, and the
// power of ten that scales them.
struct Decimal {
  uint64_t mantissa = 0;
  int digits = 0;          // significant digits in the mantissa
  bool dropped = false;    // a nonzero digit past those
  long long exponent = 0;  // the value is mantissa * 10^exponent, less what was dropped
};

// Adds one digit; a fraction digit also moves the point.
void addDigit(Decimal& d, char c, bool fraction) {
  const unsigned digit = static_cast<unsigned>(c - '0');
  if (d.digits < 19 && (d.mantissa != 0 || digit != 0)) {
    d.mantissa = d.mantissa * 10 + digit;
    ++d.digits;
    if (fraction) --d.exponent;
  } else if (d.mantissa == 0) {
    if (fraction) --d.exponent;  // a leading zero
  } else {
    d.dropped = d.dropped || digit != 0;
    if (!fraction) ++d.exponent;
  }
}

// Powers of ten that are exact doubles.
const double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                               1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// A mantissa of up to 53 bits times an exact power of ten is one rounding
// away from the value: the nearest double. Narrowing that to float rounds a
// second time, which differs from rounding once only when the double sits
// within a step of a point halfway between two floats (or in the subnormal
// floats, where fewer bits are kept); those are left to the exact reader.
bool quickDouble(const Decimal& d, double& value) {
  if (d.dropped || d.mantissa > (uint64_t{1} << 53) || d.exponent < -22 || d.exponent > 22) return false;
  const double m = static_cast<double>(d.mantissa);
  value = d.exponent >= 0 ? m * kPowersOfTen[d.exponent] : m / kPowersOfTen[-d.exponent];
  return true;
}

bool narrowsOnce(double value) {
  if (value == 0) return true;
  if (!(std::fabs(value) >= FLT_MIN)) return false;
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint64_t below = bits & ((uint64_t{1} << 29) - 1), half = uint64_t{1} << 28;
  return below + 1 < half || below > half + 1;
}

bool equalsIgnoreCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
    if (!x) return true;
  }
}

// The nearest float: a value past the largest float but short of the
// midpoint to the next power of two rounds down to it (so the largest float
// written with nine digits reads back as itself); from the midpoint on,
// where the tie goes to the even infinity, it overflows.
float toFloat(double value) {
  const double overflow = 0x1.ffffffp+127;
  if (value >= overflow) return INFINITY;
  if (value <= -overflow) return -INFINITY;
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}

// Truncated toward zero, saturating instead of overflowing.
int toInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

// Every node, name and text of one tree is carved from a few large blocks
// that the root releases at once. A large file has hundreds of thousands of
// nodes, and one request per node to the allocation layer (and one record in
// the tracking layer) cost more than reading the text. The members of the
// root and of its objects (a skeleton's sections, each of its animations)
// hold blocks of their own, so a reader can let each go once it is read.
class Json::Arena {
 public:
  explicit Arena(void*& blocks, size_t firstSize = FIRST_BLOCK) : _blocks(blocks), _nextSize(firstSize) {}
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  // Null when memory runs out.
  void* allocate(size_t size, size_t alignment) {
    size_t at = (_used + alignment - 1) & ~(alignment - 1);
    if (at > _capacity || size > _capacity - at) {
      // A large text gets a block of its own, so the current one is not cut short.
      if (size > LARGEST_BLOCK / 4) return addBlock(size);
      char* data = addBlock(size > _nextSize ? size : _nextSize);
      if (!data) return nullptr;
      _data = data;
      _capacity = size > _nextSize ? size : _nextSize;
      if (_nextSize < LARGEST_BLOCK) _nextSize *= 2;
      at = 0;
    }
    _used = at + size;
    return _data + at;
  }

  static void release(void* blocks) {
    while (blocks) {
      void* next = *static_cast<void**>(blocks);
      SkelExtension::free(blocks, __FILE__, __LINE__);
      blocks = next;
    }
  }

 private:
  // Small texts stay small; large ones take few requests.
  static constexpr size_t FIRST_BLOCK = 4096;
  // Most members are small: a name, a few numbers.
  static constexpr size_t MEMBER_FIRST_BLOCK = 64;
  static constexpr size_t LARGEST_BLOCK = 1 << 20;
  // Each block starts with the link to the block made before it.
  static constexpr size_t HEADER = 16;

  char* addBlock(size_t size) {
    if (size > SIZE_MAX - HEADER) return nullptr;
    char* block = SkelExtension::alloc<char>(HEADER + size, __FILE__, __LINE__);
    if (!block) return nullptr;
    *reinterpret_cast<void**>(block) = _blocks;
    _blocks = block;
    return block + HEADER;
  }

  void*& _blocks;
  char* _data = nullptr;
  size_t _used = 0;
  size_t _capacity = 0;
  size_t _nextSize;

  friend class Json;
};

Json::Json(const char* value)
    : _next(nullptr),
      _child(nullptr),
      _type(0),
      _size(0),
      _valueString(nullptr),
      _valueInt(0),
      _valueFloat(0),
      _name(nullptr),
      _blocks(nullptr),
      _syntaxError(nullptr) {
  if (!value) return;
  Arena arena(_blocks);
  // Cleared for the parse so that this text's own error shows; an older one
  // comes back when this text has none.
  const char* before = errorPosition;
  errorPosition = nullptr;
  parseValue(this, skip(value), 0, arena);
  _syntaxError = errorPosition;
  if (!errorPosition) errorPosition = before;
}

// Only the members of the root and of its objects hold blocks, so the walk
// stays off the bulk of a tree that may be far larger than the cache.
Json::~Json() { releaseBlocks(this, 0); }

void Json::releaseBlocks(Json* node, int depth) {
  // An object's members hold blocks down to OWNING_DEPTH; so do those of
  // objects in an array above it (a root that is an array of objects).
  const bool owners =
      node->_type == JSON_OBJECT ? depth < OWNING_DEPTH : node->_type == JSON_ARRAY && depth + 1 < OWNING_DEPTH;
  if (owners)
    for (Json* child = node->_child; child; child = child->_next) releaseBlocks(child, depth + 1);
  Arena::release(node->_blocks);
  node->_blocks = nullptr;
}

void Json::dropValue() {
  // Its depth is not known: walked as a root, the walk may look at members
  // that hold nothing, but misses none that do.
  releaseBlocks(this, 0);
  _type = JSON_NULL;
  _child = nullptr;
  _size = 0;
  _valueString = nullptr;
  _valueInt = 0;
  _valueFloat = 0;
}

Json* Json::getItem(Json* object, const char* name) {
  if (!object || !name) return nullptr;
  for (Json* child = object->_child; child; child = child->_next)
    if (child->_name && equalsIgnoreCase(child->_name, name)) return child;
  return nullptr;
}

const char* Json::getString(Json* object, const char* name, const char* defaultValue) {
  Json* item = getItem(object, name);
  return item ? item->_valueString : defaultValue;
}

float Json::getFloat(Json* object, const char* name, float defaultValue) {
  Json* item = getItem(object, name);
  return item ? item->_valueFloat : defaultValue;
}

int Json::getInt(Json* object, const char* name, int defaultValue) {
  Json* item = getItem(object, name);
  return item ? item->_valueInt : defaultValue;
}

bool Json::getBoolean(Json* object, const char* name) {
  Json* item = getItem(object, name);
  if (!item) return false;
  if (item->_valueString) return std::strcmp(item->_valueString, "true") == 0;
  if (item->_type == JSON_NUMBER) return item->_valueFloat != 0;
  return false;
}

const char* Json::getError() { return errorPosition; }

const char* Json::parseValue(Json* item, const char* value, int depth, Arena& arena) {
  switch (*value) {
    case '"': return parseString(item, value, arena);
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9': return parseNumber(item, value);
    case '[': return parseArray(item, value, depth, arena);
    case '{': return parseObject(item, value, depth, arena);
    case 'f':
      if (!std::strncmp(value + 1, "alse", 4)) {
        item->_type = JSON_FALSE;
        return value + 5;
      }
      break;
    case 'n':
      if (!std::strncmp(value + 1, "ull", 3)) {
        item->_type = JSON_NULL;
        return value + 4;
      }
      break;
    case 't':
      if (!std::strncmp(value + 1, "rue", 3)) {
        item->_type = JSON_TRUE;
        item->_valueInt = 1;
        return value + 4;
      }
      break;
  }
  return fail(value);
}

// Bytes the string starting at its opening quote decodes to, at most: an
// escape counts as one, and no escape yields more bytes than the characters
// it was counted as.
size_t Json::stringLength(const char* str) {
  const char* ptr = str + 1;
  size_t len = 0;
  while (*ptr != '"' && *ptr) {
    if (*ptr++ == '\\') {
      if (!*ptr) break;
      ++ptr;
    }
    ++len;
  }
  return len;
}

// Decodes the string starting at its opening quote into out, which has room
// for len bytes and the terminator; returns the text after the closing quote.
const char* Json::decodeString(const char* str, char* out, size_t len) {
  char* const end = out + len;
  char* o = out;
  const char* ptr = str + 1;
  while (*ptr != '"' && *ptr && o < end) {
    if (*ptr != '\\') {
      *o++ = *ptr++;
      continue;
    }
    ++ptr;
    switch (*ptr) {
      case '\0': continue;  // a backslash as the last character of the text
      case 'b': *o++ = '\b'; break;
      case 'f': *o++ = '\f'; break;
      case 'n': *o++ = '\n'; break;
      case 'r': *o++ = '\r'; break;
      case 't': *o++ = '\t'; break;
      case 'u': {
        int digits;
        unsigned uc = readHex4(ptr + 1, digits);
        ptr += digits;
        if (uc == 0 || (uc >= 0xDC00 && uc <= 0xDFFF)) break;
        if (uc >= 0xD800 && uc <= 0xDBFF) {
          if (ptr[1] != '\\' || ptr[2] != 'u') break;
          unsigned low = readHex4(ptr + 3, digits);
          ptr += 2 + digits;
          if (low < 0xDC00 || low > 0xDFFF) break;
          uc = 0x10000 + (((uc & 0x3FF) << 10) | (low & 0x3FF));
        }
        o = putUtf8(o, end, uc);
        break;
      }
      default: *o++ = *ptr; break;
    }
    ++ptr;
  }
  *o = 0;
  // Skip whatever the output bound cut short, up to the closing quote.
  while (*ptr != '"' && *ptr) {
    if (*ptr++ == '\\' && *ptr) ++ptr;
  }
  if (*ptr == '"') ++ptr;
  return ptr;
}

const char* Json::parseString(Json* item, const char* str, Arena& arena) {
  const size_t len = stringLength(str);
  char* out = static_cast<char*>(arena.allocate(len + 1, 1));
  if (!out) return fail(str);
  const char* end = decodeString(str, out, len);
  item->_valueString = out;
  item->_type = JSON_STRING;
  return end;
}

const char* Json::parseNumber(Json* item, const char* num) {
  const char* start = num;
  const bool negative = *num == '-';
  if (negative) ++num;
  Decimal d;
  for (; isDigit(*num); ++num) addDigit(d, *num, false);
  if (*num == '.' && isDigit(num[1]))
    for (++num; isDigit(*num); ++num) addDigit(d, *num, true);
  if (*num == 'e' || *num == 'E') {
    ++num;
    const bool down = *num == '-';
    if (*num == '+' || *num == '-') ++num;
    long long exponent = 0;
    for (; isDigit(*num); ++num)
      if (exponent < MAX_EXPONENT) exponent = exponent * 10 + (*num - '0');
    d.exponent += down ? -exponent : exponent;
  }
  if (num == start) return fail(num);

  // Each number is read as the nearest float, and its integer as the value
  // cut toward zero; the exact reader is only needed where the quick one
  // could be a step off.
  double value = 0;
  float narrow = 0;
  if (d.mantissa == 0) {
    value = 0;
    narrow = 0;
  } else if (quickDouble(d, value) && narrowsOnce(value)) {
    narrow = toFloat(value);
  } else {
    const char* first = start + negative;
    // Only the ends of the range are out of it: past the largest float or
    // below half the smallest.
    const bool huge = d.digits + d.exponent > 0;
    if (std::from_chars(first, num, value).ec != std::errc()) value = huge ? HUGE_VAL : 0;
    if (std::from_chars(first, num, narrow).ec != std::errc()) narrow = huge ? INFINITY : 0;
  }
  item->_valueFloat = negative ? -narrow : narrow;
  item->_valueInt = toInt(negative ? -value : value);
  item->_type = JSON_NUMBER;
  return num;
}

Json* Json::appendChild(Json* parent, Json*& last, size_t nameRoom, Arena& arena) {
  // A member's name follows its node.
  void* block = arena.allocate(sizeof(Json) + nameRoom, alignof(Json));
  if (!block) return nullptr;
  Json* child = new (block) Json(nullptr);
  if (nameRoom) child->_name = reinterpret_cast<char*>(child + 1);
  child->_type = UNTYPED;
  if (last)
    last->_next = child;
  else
    parent->_child = child;
  last = child;
  ++parent->_size;
  return child;
}

void Json::dropChild(Json* parent, Json*& last, Json* child) {
  Json* previous = nullptr;
  for (Json* node = parent->_child; node != child; node = node->_next) previous = node;
  if (previous)
    previous->_next = nullptr;
  else
    parent->_child = nullptr;
  last = previous;
  --parent->_size;
}

// A child that fails after its value began stays in the tree with what it
// holds; one whose value never began is taken out again.
const char* Json::parseArray(Json* item, const char* value, int depth, Arena& arena) {
  if (depth >= MAX_DEPTH) return fail(value);
  item->_type = JSON_ARRAY;
  value = skip(value + 1);
  if (*value == ']') return value + 1;
  Json* last = nullptr;
  for (;;) {
    Json* child = appendChild(item, last, 0, arena);
    if (!child) return fail(value);
    const char* end = parseValue(child, value, depth + 1, arena);
    if (!end) {
      if (child->_type == UNTYPED) dropChild(item, last, child);
      return nullptr;
    }
    value = skip(end);
    if (*value == ',') {
      value = skip(value + 1);
      continue;
    }
    if (*value == ']') return value + 1;
    return fail(value);
  }
}

const char* Json::parseObject(Json* item, const char* value, int depth, Arena& arena) {
  if (depth >= MAX_DEPTH) return fail(value);
  item->_type = JSON_OBJECT;
  value = skip(value + 1);
  if (*value == '}') return value + 1;
  Json* last = nullptr;
  for (;;) {
    if (*value != '"') return fail(value);
    const size_t nameLength = stringLength(value);
    Json* child = appendChild(item, last, nameLength + 1, arena);
    if (!child) return fail(value);
    const char* end = decodeString(value, child->_name, nameLength);
    value = skip(end);
    if (*value != ':') {
      dropChild(item, last, child);
      return fail(value);
    }
    if (depth < OWNING_DEPTH) {
      Arena own(child->_blocks, Arena::MEMBER_FIRST_BLOCK);
      end = parseValue(child, skip(value + 1), depth + 1, own);
    } else {
      end = parseValue(child, skip(value + 1), depth + 1, arena);
    }
    if (!end) {
      if (child->_type == UNTYPED) {
        releaseBlocks(child, depth + 1);
        dropChild(item, last, child);
      }
      return nullptr;
    }
    value = skip(end);
    if (*value == ',') {
      value = skip(value + 1);
      continue;
    }
    if (*value == '}') return value + 1;
    return fail(value);
  }
}

}  // namespace skel
