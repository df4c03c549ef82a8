// Any bytes given to skelcheck's checks of an atlas, as skelcheck runs them:
// refused when no atlas text, else walked line by line and checked against
// what the reader built. Every problem must name a line inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skel/Atlas.h"
#include "skelcheck/AtlasCheck.h"
#include "skelcheck/Output.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  if (!skelcheck::NotAnAtlas(text).empty()) return 0;
  // No page image lies in this folder: each is looked for and found missing.
  const std::string file = "/nonexistent-fuzz-folder/fuzz.atlas";
  skelcheck::Report report(false);
  const skelcheck::AtlasLines lines = skelcheck::CheckAtlasText(text, file, report);
  skel::Atlas atlas(text.data(), text.size(), skel::Atlas::directoryOf(skel::String(file.c_str())), nullptr);
  if (!lines.misread) skelcheck::CheckAtlasContent(atlas, lines, file, report);
  size_t count = 1;
  for (char c : text) count += c == '\n';
  for (const skelcheck::Problem& problem : report.sorted())
    if (problem.place.line > count || problem.code.empty()) std::abort();
  return 0;
}
