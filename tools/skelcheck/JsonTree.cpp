#include "JsonTree.h"

#include <cstring>

#include "JsonText.h"
#include "skel/Json.h"

namespace skelcheck {

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : _text(text.c_str()), _start(text.c_str()) {}

  bool value(JsonNode& node, int depth) {
    skip();
    node.at = static_cast<size_t>(_text - _start);
    switch (*_text) {
      case '"': node.type = JsonNode::String; return string(node.text);
      case '[': return depth < skel::Json::MAX_DEPTH && array(node, depth);
      case '{': return depth < skel::Json::MAX_DEPTH && object(node, depth);
      case 'f': return literal(node, JsonNode::False, "false");
      case 'n': return literal(node, JsonNode::Null, "null");
      case 't': return literal(node, JsonNode::True, "true");
      default: return (*_text == '-' || isDigit(*_text)) && number(node);
    }
  }

 private:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  void skip() {
    while (*_text && static_cast<unsigned char>(*_text) <= 32) ++_text;
  }

  bool literal(JsonNode& node, JsonNode::Type type, const char* word) {
    const size_t length = std::strlen(word);
    if (std::strncmp(_text, word, length) != 0) return false;
    _text += length;
    node.type = type;
    return true;
  }

  // The runtime's own reading of the number, so that the checks see the
  // value the game gets.
  bool number(JsonNode& node) {
    const char* begin = _text;
    if (*_text == '-') ++_text;
    while (isDigit(*_text)) ++_text;
    if (*_text == '.' && isDigit(_text[1]))
      for (++_text; isDigit(*_text);) ++_text;
    if (*_text == 'e' || *_text == 'E') {
      ++_text;
      if (*_text == '+' || *_text == '-') ++_text;
      while (isDigit(*_text)) ++_text;
    }
    node.type = JsonNode::Number;
    node.text.assign(begin, _text);
    node.number = skel::Json(node.text.c_str()).getValueFloat();
    return true;
  }

  unsigned hex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i, ++_text) {
      const char c = *_text;
      const int digit = HexDigitValue(c);
      if (digit < 0) break;
      value = value << 4 | static_cast<unsigned>(digit);
    }
    return value;
  }

  // Escapes decode as the runtime decodes them; a text without its closing
  // quote runs to the end.
  bool string(std::string& out) {
    ++_text;
    while (*_text && *_text != '"') {
      if (*_text != '\\') {
        out += *_text++;
        continue;
      }
      ++_text;
      const char escaped = *_text;
      if (!escaped) break;
      ++_text;
      switch (escaped) {
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned c = hex4();
          if (c >= 0xD800 && c <= 0xDBFF) {
            if (_text[0] != '\\' || _text[1] != 'u') break;
            _text += 2;
            const unsigned low = hex4();
            if (low < 0xDC00 || low > 0xDFFF) break;
            c = ((c & 0x3FF) << 10 | (low & 0x3FF)) + 0x10000;
          } else if (c == 0 || (c >= 0xDC00 && c <= 0xDFFF)) {
            break;
          }
          AppendUtf8(out, c);
          break;
        }
        default: out += escaped;
      }
    }
    if (*_text == '"') ++_text;
    return true;
  }

  bool array(JsonNode& node, int depth) {
    node.type = JsonNode::Array;
    ++_text;
    skip();
    if (*_text == ']') {
      ++_text;
      return true;
    }
    for (;;) {
      node.children.emplace_back();
      if (!value(node.children.back(), depth + 1)) return false;
      skip();
      if (*_text == ']') {
        ++_text;
        return true;
      }
      if (*_text++ != ',') return false;
    }
  }

  bool object(JsonNode& node, int depth) {
    node.type = JsonNode::Object;
    ++_text;
    skip();
    if (*_text == '}') {
      ++_text;
      return true;
    }
    for (;;) {
      skip();
      if (*_text != '"') return false;
      node.children.emplace_back();
      JsonNode& member = node.children.back();
      member.nameAt = static_cast<size_t>(_text - _start);
      string(member.name);
      skip();
      if (*_text++ != ':') return false;
      if (!value(member, depth + 1)) return false;
      skip();
      if (*_text == '}') {
        ++_text;
        return true;
      }
      if (*_text++ != ',') return false;
    }
  }

  const char* _text;
  const char* _start;
};

}  // namespace

bool SameKey(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

const JsonNode* JsonNode::find(const char* key) const {
  for (const JsonNode& child : children)
    if (SameKey(child.name, key)) return &child;
  return nullptr;
}

bool ParseJsonTree(const std::string& text, JsonNode& root) {
  root = JsonNode();
  Parser parser(text);
  return parser.value(root, 0);
}

}  // namespace skelcheck
