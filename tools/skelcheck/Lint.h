// Checks a skeleton JSON text for every mistake the game's reader either
// takes without a word (a number written as text, an unknown key, keys out
// of time order, a name given twice) or stops at (a name that is not there),
// each at the value's line and column with the path of names leading to it.
#pragma once

#include <string>

#include "Output.h"

namespace skel {
class Atlas;
}

namespace skelcheck {

// text must be one that the runtime's reader takes without a syntax error.
// Regions are looked up in atlas when one is given.
void LintSkeleton(const std::string& text, const std::string& file, const skel::Atlas* atlas, Report& report);

}  // namespace skelcheck
