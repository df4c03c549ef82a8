// Explains where and why the runtime's JSON reader stopped. The reader keeps
// only the position of its first syntax error and goes on with the partial
// tree; a content maker needs the line, the column and what was expected.
#pragma once

#include <cstddef>
#include <string>

namespace skelcheck {

struct JsonSyntax {
  bool failed = false;     // the reader stopped at a syntax error
  bool rootBegan = false;  // there is a partial tree to show
  size_t offset = 0;       // where the error is, in bytes
  std::string message;     // what was expected there
  bool trailing = false;   // text after the root value, which the reader ignores
  size_t trailingOffset = 0;
};

// Parses text (zero-terminated, as ReadInput keeps it) with the runtime's
// reader only to learn its error position, and explains it.
JsonSyntax CheckJsonSyntax(const std::string& text);

}  // namespace skelcheck
