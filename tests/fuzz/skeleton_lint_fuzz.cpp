// Any bytes given to skelcheck's checks of a skeleton text, as skelcheck runs
// them: the lint only on text the runtime's reader takes whole. Every problem
// must name a place inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skel/Atlas.h"
#include "skelcheck/JsonSyntax.h"
#include "skelcheck/Lint.h"
#include "skelcheck/Output.h"

namespace {

const char atlasText[] =
    "fuzz.png\nsize: 128, 128\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    "head\n  rotate: false\n  xy: 0, 0\n  size: 32, 32\n  orig: 32, 32\n  offset: 0, 0\n  index: -1\n"
    "skin\n  rotate: false\n  xy: 0, 64\n  size: 60, 60\n  orig: 64, 64\n  offset: 2, 2\n  index: -1\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static skel::Atlas atlas(atlasText, sizeof(atlasText) - 1, skel::String(""), nullptr);
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  if (skelcheck::CheckJsonSyntax(text).failed) return 0;
  skelcheck::Report report(false);
  skelcheck::LintSkeleton(text, "fuzz.json", &atlas, report);
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  for (const skelcheck::Problem& problem : report.sorted())
    if (problem.place.line > lines || problem.code.empty()) std::abort();
  return 0;
}
