#include "JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "skel/Json.h"

namespace skeledit {

namespace {

// What the game will see for a number's text: the runtime reads it its own way
// (in double, then to float), which is not always the nearest float.
bool ReadsBack(const char* text, float value) {
  skel::Json json(text);
  const float read = json.getValueFloat();
  return read == value && std::signbit(read) == std::signbit(value);
}

}  // namespace

std::string JsonNumber(float value) {
  if (value == 0) return "0";  // -0 too: it poses as 0
  char text[64];
  auto written = std::to_chars(text, text + sizeof text - 1, value);
  *written.ptr = 0;
  if (ReadsBack(text, value)) return text;
  // Nine significant digits name every float; more guard against the
  // runtime's own rounding.
  for (int precision = 9; precision <= 17; ++precision) {
    written = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::general, precision);
    *written.ptr = 0;
    if (ReadsBack(text, value)) break;
  }
  return text;
}

std::string JsonString(const std::string& value) {
  std::string out = "\"";
  for (const char c : value) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

JsonLine& JsonLine::Add(const std::string& key, float value) {
  members_.emplace_back(key, JsonNumber(value));
  return *this;
}

JsonLine& JsonLine::Add(const std::string& key, const std::string& value) {
  members_.emplace_back(key, JsonString(value));
  return *this;
}

std::string JsonLine::Text() const {
  std::string out = "{";
  for (size_t i = 0; i < members_.size(); ++i)
    out += (i ? ", " : "") + JsonString(members_[i].first) + ": " + members_[i].second;
  return out + "}";
}

}  // namespace skeledit
