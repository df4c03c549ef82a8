// The text of new JSON values, in the form the skeleton files use: numbers
// as short as they can be while the runtime reads back the same float,
// strings escaped so the runtime decodes the same bytes.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace skeledit {

// The shortest decimal that the runtime's reader turns back into value.
// Not finite values have no JSON text; the callers refuse them first.
std::string JsonNumber(float value);

// value quoted, with quote, backslash and control characters escaped.
std::string JsonString(const std::string& value);

// One object on one line, members in the order added: {"name": "x", "y": 2}.
class JsonLine {
 public:
  JsonLine& Add(const std::string& key, float value);
  JsonLine& Add(const std::string& key, const std::string& value);
  JsonLine& Add(const std::string& key, const char* value) { return Add(key, std::string(value)); }
  std::string Text() const;

 private:
  std::vector<std::pair<std::string, std::string>> members_;  // key and value text
};

}  // namespace skeledit
