#include "JsonDocument.h"

#include <algorithm>
#include <cstring>

#include "skel/Json.h"
#include "skelcheck/JsonText.h"

namespace skeledit {

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool Parse(DocNode& root, std::string& error) {
    if (!Value(root, 0)) {
      error = Where() + ": " + why_;
      return false;
    }
    return true;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  char At() const { return pos_ < text_.size() ? text_[pos_] : 0; }
  void Skip() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= 32) ++pos_;
  }
  bool Fail(const char* why) {
    why_ = why;
    return false;
  }
  std::string Where() const {
    size_t line = 1, column = 1;
    for (size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
  }

  bool Value(DocNode& node, int depth) {
    Skip();
    node.begin = pos_;
    bool ok;
    switch (At()) {
      case '"':
        node.type = DocNode::String;
        ok = String(node.text);
        break;
      case '[': ok = depth < skel::Json::MAX_DEPTH ? Container(node, depth, ']') : Fail("nested too deep"); break;
      case '{': ok = depth < skel::Json::MAX_DEPTH ? Container(node, depth, '}') : Fail("nested too deep"); break;
      case 'f': ok = Literal(node, DocNode::False, "false"); break;
      case 'n': ok = Literal(node, DocNode::Null, "null"); break;
      case 't': ok = Literal(node, DocNode::True, "true"); break;
      default: ok = Number(node);
    }
    node.end = pos_;
    return ok;
  }

  bool Literal(DocNode& node, DocNode::Type type, const char* word) {
    const size_t length = std::strlen(word);
    if (text_.compare(pos_, length, word) != 0) return Fail("not a JSON value");
    pos_ += length;
    node.type = type;
    return true;
  }

  bool Number(DocNode& node) {
    const size_t begin = pos_;
    if (At() == '-') ++pos_;
    if (!IsDigit(At())) return Fail("not a JSON value");
    while (IsDigit(At())) ++pos_;
    if (At() == '.') {
      ++pos_;
      if (!IsDigit(At())) return Fail("a number ends in its point");
      while (IsDigit(At())) ++pos_;
    }
    if (At() == 'e' || At() == 'E') {
      ++pos_;
      if (At() == '+' || At() == '-') ++pos_;
      if (!IsDigit(At())) return Fail("a number's exponent has no digits");
      while (IsDigit(At())) ++pos_;
    }
    node.type = DocNode::Number;
    // The runtime's own reading, so edits compare what the game sees.
    char digits[64];
    const size_t length = std::min(pos_ - begin, sizeof digits - 1);
    std::memcpy(digits, text_.data() + begin, length);
    digits[length] = 0;
    node.number = skel::Json(digits).getValueFloat();
    return true;
  }

  bool Hex4(unsigned& value) {
    value = 0;
    for (int i = 0; i < 4; ++i, ++pos_) {
      const char c = At();
      const int digit = skelcheck::HexDigitValue(c);
      if (digit < 0) return Fail("a \\u escape needs four hexadecimal digits");
      value = value << 4 | static_cast<unsigned>(digit);
    }
    return true;
  }

  // Escapes decode as the runtime decodes them.
  bool String(std::string& out) {
    ++pos_;
    for (;;) {
      const char c = At();
      if (!c && pos_ >= text_.size()) return Fail("a text has no closing quote");
      ++pos_;
      if (c == '"') return true;
      if (c != '\\') {
        out += c;
        continue;
      }
      const char escaped = At();
      ++pos_;
      switch (escaped) {
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned code;
          if (!Hex4(code)) return false;
          if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (At() != '\\' || pos_ + 1 >= text_.size() || text_[pos_ + 1] != 'u') break;
            pos_ += 2;
            if (!Hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) break;
            code = ((code & 0x3FF) << 10 | (low & 0x3FF)) + 0x10000;
          } else if (code == 0 || (code >= 0xDC00 && code <= 0xDFFF)) {
            break;
          }
          skelcheck::AppendUtf8(out, code);
          break;
        }
        default:
          if (!escaped) return Fail("a text has no closing quote");
          out += escaped;
      }
    }
  }

  bool Container(DocNode& node, int depth, char close) {
    const bool object = close == '}';
    node.type = object ? DocNode::Object : DocNode::Array;
    ++pos_;
    Skip();
    if (At() == close) {
      ++pos_;
      return true;
    }
    for (;;) {
      Skip();
      node.children.emplace_back();
      DocNode& child = node.children.back();
      if (object) {
        if (At() != '"') return Fail("a member's name must be a quoted text");
        child.member = true;
        child.nameBegin = pos_;
        if (!String(child.name)) return false;
        child.nameEnd = pos_;
        Skip();
        if (At() != ':') return Fail("a member's name must be followed by a colon");
        ++pos_;
      }
      if (!Value(child, depth + 1)) return false;
      Skip();
      if (At() == close) {
        ++pos_;
        return true;
      }
      if (At() != ',')
        return Fail(object ? "a comma or a closing brace is missing" : "a comma or a closing bracket is missing");
      ++pos_;
    }
  }

  const std::string& text_;
  size_t pos_ = 0;
  const char* why_ = "";
};

void Link(DocNode& node) {
  for (DocNode& child : node.children) {
    child.parent = &node;
    Link(child);
  }
}

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

DocNode* DocNode::find(const char* key) {
  if (type != Object) return nullptr;
  for (DocNode& child : children)
    if (SameKey(child.name, key)) return &child;
  return nullptr;
}

const DocNode* DocNode::find(const char* key) const { return const_cast<DocNode*>(this)->find(key); }

DocNode* DocNode::member_named(const std::string& exact) {
  if (type != Object) return nullptr;
  for (DocNode& child : children)
    if (child.name == exact) return &child;
  return nullptr;
}

DocNode* DocNode::element_named(const std::string& exact) {
  if (type != Array) return nullptr;
  for (DocNode& child : children) {
    const DocNode* named = child.find("name");
    if (named && named->type == String && named->text == exact) return &child;
  }
  return nullptr;
}

size_t DocNode::index() const { return parent ? static_cast<size_t>(this - parent->children.data()) : 0; }

bool JsonDocument::Load(std::string text, std::string& error) {
  DocNode root;
  Parser parser(text);
  if (!parser.Parse(root, error)) return false;
  text_ = std::move(text);
  root_ = std::move(root);
  Link(root_);
  pending_.clear();
  return true;
}

std::string JsonDocument::LineIndent(size_t pos) const {
  size_t lineStart = text_.rfind('\n', pos == 0 ? 0 : pos - 1);
  lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
  size_t end = lineStart;
  while (end < text_.size() && (text_[end] == ' ' || text_[end] == '\t')) ++end;
  return text_.substr(lineStart, end - lineStart);
}

std::string JsonDocument::IndentUnit() const {
  // The step from the outer object to its first member, where there is one.
  if (!root_.children.empty()) {
    const std::string outer = LineIndent(root_.begin), inner = LineIndent(root_.children[0].start());
    if (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0) return inner.substr(outer.size());
  }
  return "  ";
}

void JsonDocument::Replace(const DocNode& value, const std::string& valueText) {
  pending_.push_back({value.begin, value.end - value.begin, valueText});
}

void JsonDocument::RenameMember(const DocNode& member, const std::string& key) {
  pending_.push_back({member.nameBegin, member.nameEnd - member.nameBegin, key});
}

void JsonDocument::InsertMember(const DocNode& object, const std::string& key, const std::string& valueText) {
  InsertMemberAt(object, object.children.size(), key, valueText);
}

void JsonDocument::InsertMemberAt(const DocNode& object, size_t index, const std::string& key,
                                  const std::string& valueText) {
  const bool container = !valueText.empty() && (valueText[0] == '{' || valueText[0] == '[');
  Insert(object, std::min(index, object.children.size()), key + ": " + valueText, container);
}

void JsonDocument::InsertElement(const DocNode& array, size_t index, const std::string& valueText) {
  const bool container = !valueText.empty() && (valueText[0] == '{' || valueText[0] == '[');
  Insert(array, std::min(index, array.children.size()), valueText, container);
}

void JsonDocument::Insert(const DocNode& container, size_t index, const std::string& item, bool itemIsContainer) {
  const std::vector<DocNode>& children = container.children;
  if (children.empty()) {
    // Members that hold lists or objects go one to a line, as the files have them.
    const std::string outer = LineIndent(container.begin);
    const std::string inside = itemIsContainer ? "\n" + outer + IndentUnit() + item + "\n" + outer : item;
    pending_.push_back({container.begin + 1, container.end - container.begin - 2, inside});
    return;
  }
  const size_t first = children[0].start();
  const bool multiline = text_.find('\n', container.begin) < first;
  if (index == children.size()) {
    const DocNode& last = children.back();
    const std::string separator = multiline ? ",\n" + LineIndent(last.start()) : ", ";
    pending_.push_back({last.end, 0, separator + item});
  } else {
    const DocNode& next = children[index];
    const std::string separator = multiline ? ",\n" + LineIndent(next.start()) : ", ";
    pending_.push_back({next.start(), 0, item + separator});
  }
}

void JsonDocument::Remove(const DocNode& node) {
  const DocNode* parent = node.parent;
  if (!parent) return;
  const size_t k = node.index();
  if (parent->children.size() == 1) {
    pending_.push_back({parent->begin + 1, parent->end - parent->begin - 2, ""});
  } else if (k > 0) {
    const size_t from = parent->children[k - 1].end;
    pending_.push_back({from, node.end - from, ""});
  } else {
    const size_t from = node.start();
    pending_.push_back({from, parent->children[1].start() - from, ""});
  }
}

bool JsonDocument::Apply(std::string& error) {
  if (pending_.empty()) return true;
  // From the end back, so the places still hold; a removal before an insert
  // at the same place.
  std::stable_sort(pending_.begin(), pending_.end(), [](const Splice& a, const Splice& b) { return a.at > b.at; });
  std::string text = text_;
  for (const Splice& splice : pending_) text.replace(splice.at, splice.length, splice.text);
  pending_.clear();
  return Load(std::move(text), error);
}

}  // namespace skeledit
