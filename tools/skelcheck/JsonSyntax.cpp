#include "JsonSyntax.h"

#include <functional>
#include <vector>

#include "skel/Json.h"

namespace skelcheck {

namespace {

// What the reader's grammar allows next.
enum class Want { Value, ValueOrEnd, NameOrEnd, Name, Colon, CommaOrEnd, Done };

struct ScanState {
  Want want = Want::Value;
  std::vector<char> closers;                // of the open arrays and objects, innermost last
  size_t at = 0;                            // where the scan stopped
  size_t unterminated = std::string::npos;  // start of a string that ran to the end
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The reader ends a string at its closing quote or at a zero byte; a
// backslash takes the next character with it.
size_t SkipString(const std::string& text, size_t i, ScanState& state) {
  size_t j = i + 1;
  while (j < text.size() && text[j] != '"' && text[j] != '\0') j += text[j] == '\\' && text[j + 1] != '\0' ? 2 : 1;
  if (j < text.size() && text[j] == '"') return j + 1;
  state.unterminated = i;
  return j;
}

// The reader's number: a minus sign alone is a number too.
size_t SkipNumber(const std::string& text, size_t i) {
  if (text[i] == '-') ++i;
  while (IsDigit(text[i])) ++i;
  if (text[i] == '.' && IsDigit(text[i + 1]))
    for (++i; IsDigit(text[i]); ++i) {
    }
  if (text[i] == 'e' || text[i] == 'E') {
    ++i;
    if (text[i] == '+' || text[i] == '-') ++i;
    while (IsDigit(text[i])) ++i;
  }
  return i;
}

size_t SkipLiteral(const std::string& text, size_t i) {
  for (const char* word : {"false", "null", "true"}) {
    if (text.compare(i, std::char_traits<char>::length(word), word) == 0)
      return i + std::char_traits<char>::length(word);
  }
  return i;
}

// Follows the grammar over text up to stop (or the end of the root value),
// which the reader accepted, to learn what it wanted at stop. The text has a
// zero byte after its end, so looking one character ahead is safe.
ScanState Scan(const std::string& text, size_t stop) {
  ScanState s;
  size_t& i = s.at;
  auto afterValue = [&s] { s.want = s.closers.empty() ? Want::Done : Want::CommaOrEnd; };
  while (i < stop && s.want != Want::Done) {
    const char c = text[i];
    if (c == '\0') break;
    if (static_cast<unsigned char>(c) <= 32) {
      ++i;
      continue;
    }
    const size_t before = i;
    switch (s.want) {
      case Want::Value:
      case Want::ValueOrEnd:
        if (c == ']' && s.want == Want::ValueOrEnd) {
          s.closers.pop_back();
          ++i;
          afterValue();
        } else if (c == '[' || c == '{') {
          s.closers.push_back(c == '[' ? ']' : '}');
          ++i;
          s.want = c == '[' ? Want::ValueOrEnd : Want::NameOrEnd;
        } else if (c == '"') {
          i = SkipString(text, i, s);
          afterValue();
        } else if (c == '-' || IsDigit(c)) {
          i = SkipNumber(text, i);
          afterValue();
        } else if ((i = SkipLiteral(text, i)) != before) {
          afterValue();
        }
        break;
      case Want::NameOrEnd:
      case Want::Name:
        if (c == '}' && s.want == Want::NameOrEnd) {
          s.closers.pop_back();
          ++i;
          afterValue();
        } else if (c == '"') {
          i = SkipString(text, i, s);
          s.want = Want::Colon;
        }
        break;
      case Want::Colon:
        if (c == ':') {
          ++i;
          s.want = Want::Value;
        }
        break;
      case Want::CommaOrEnd:
        if (c == ',') {
          ++i;
          s.want = s.closers.back() == ']' ? Want::Value : Want::Name;
        } else if (c == s.closers.back()) {
          s.closers.pop_back();
          ++i;
          afterValue();
        }
        break;
      case Want::Done: break;
    }
    if (i == before) break;  // the grammar ends here
  }
  return s;
}

std::string Expected(const ScanState& s) {
  switch (s.want) {
    case Want::Value: return "a value";
    case Want::ValueOrEnd: return "a value or ']'";
    case Want::NameOrEnd: return "a member name in double quotes or '}'";
    case Want::Name: return "a member name in double quotes";
    case Want::Colon: return "':'";
    case Want::CommaOrEnd: return s.closers.back() == ']' ? "',' or ']'" : "',' or '}'";
    case Want::Done: break;
  }
  return "nothing";
}

void Explain(const std::string& text, JsonSyntax& result) {
  ScanState s = Scan(text, result.offset);
  const size_t at = result.offset;
  const char c = at < text.size() ? text[at] : '\0';
  if (at == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    result.message =
        "the file starts with a UTF-8 byte order mark, which the reader does not skip; save it without one";
  } else if ((s.want == Want::Value || s.want == Want::ValueOrEnd) && (c == '[' || c == '{') &&
             s.closers.size() >= static_cast<size_t>(skel::Json::MAX_DEPTH)) {
    result.message = "nested deeper than " + std::to_string(skel::Json::MAX_DEPTH) + " levels";
  } else if (s.unterminated != std::string::npos && at >= text.size()) {
    result.offset = s.unterminated;
    result.message = "unterminated string";
  } else if (at < text.size() && c == '\0') {
    result.message = s.unterminated != std::string::npos
                         ? "a NUL byte (0x00) inside a string: the game stops reading the file there; remove it"
                         : "unexpected zero byte, expected " + Expected(s);
  } else if (at >= text.size()) {
    result.message = "unexpected end of file, expected " + Expected(s);
  } else {
    result.message = "expected " + Expected(s);
  }
}

}  // namespace

JsonSyntax CheckJsonSyntax(const std::string& text) {
  JsonSyntax result;
  const char* start = text.c_str();
  // The reader's error position is process-wide and kept after a clean
  // parse. Compared with the one before, a text read again into the same
  // buffer with the same error would pass as clean (a viewer reloading a
  // file); point it at text of our own first instead.
  static const char kUnclean[] = "!";
  {
    skel::Json reset(kUnclean);
    (void)reset;
  }
  {
    skel::Json root(start);
    (void)root;
  }
  const char* error = skel::Json::getError();
  size_t first = 0;
  while (first < text.size() && text[first] != '\0' && static_cast<unsigned char>(text[first]) <= 32) ++first;
  const std::less_equal<const char*> notAfter;
  if (error && notAfter(start, error) && notAfter(error, start + text.size())) {
    result.failed = true;
    result.offset = static_cast<size_t>(error - start);
    // An error on the first character means the root value never began.
    result.rootBegan = result.offset != first;
    Explain(text, result);
    return result;
  }
  result.rootBegan = true;
  ScanState s = Scan(text, text.size());
  size_t rest = s.at;
  while (rest < text.size() && text[rest] != '\0' && static_cast<unsigned char>(text[rest]) <= 32) ++rest;
  if (s.want == Want::Done && rest < text.size()) {
    result.trailing = true;
    result.trailingOffset = rest;
  }
  return result;
}

}  // namespace skelcheck
