// A JSON text as a tree that remembers where each value stands, for checks
// that must name a line and column. It reads what the runtime's reader reads
// (run it only on text that reader takes without a syntax error) and keeps
// every member, duplicates included, in file order.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skelcheck {

struct JsonNode {
  enum Type { False, True, Null, Number, String, Array, Object };

  Type type = Null;
  std::string name;   // the member's name inside an object
  std::string text;   // a string's value, or a number as written
  float number = 0;   // a number as the runtime reads it
  size_t at = 0;      // byte offset of the value
  size_t nameAt = 0;  // byte offset of the member's name
  std::vector<JsonNode> children;

  // The first member whose name matches ignoring ASCII case, as the runtime
  // looks keys up; null when there is none.
  const JsonNode* find(const char* key) const;
  bool isContainer() const { return type == Array || type == Object; }
};

// Parses text (zero-terminated, as ReadInput keeps it); false when the
// text holds no value that the runtime's reader would take whole.
bool ParseJsonTree(const std::string& text, JsonNode& root);

// ASCII case-insensitive equality, as the runtime compares keys.
bool SameKey(const std::string& a, const char* b);

}  // namespace skelcheck
