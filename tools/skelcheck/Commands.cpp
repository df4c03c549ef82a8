#include "Commands.h"

#include <cstdio>
#include <cstring>

#include "Output.h"

namespace skelcheck {

const Verb kVerbs[] = {
    {"json", JsonCommand, "json [--partial] [--strict] FILE",
     "print the JSON tree the game reads from FILE; a syntax error is shown as\n"
     "FILE:LINE:COLUMN: what was expected, and the tree only with --partial"},
    {"atlas", AtlasCommand, "atlas [--strict] [--allow CODE]... [--allow-file FILE] ATLAS",
     "print every page and region of an atlas; decode its page images and report\n"
     "missing or broken ones, pages of another size than their image or without\n"
     "alpha, regions outside their page or overlapping, values the game misreads\n"
     "(rotate, numbers, repeat, orig and offset), entries cut short, another\n"
     "packer's format and duplicate names"},
    {"skeleton", SkeletonCommand,
     "skeleton [--strict] [--format text|json] [--allow CODE]... [--allow-file FILE] ATLAS JSON",
     "load a character as the game does and list its bones, slots, skins,\n"
     "constraints, events and animations; report every mistake at its line and\n"
     "column with a code: errors for what the game refuses or never draws or\n"
     "applies, warnings for what it accepts but likely draws otherwise than meant\n"
     "(--strict fails on those too; --allow CODE accepts a code)"},
    {"pose", PoseCommand, "pose [--skin NAME] ATLAS JSON ANIMATION TIME",
     "print each bone's world transform and each slot's attachment and colour\n"
     "TIME seconds into ANIMATION, played looping as the game plays it"},
};

const size_t kVerbCount = sizeof(kVerbs) / sizeof(kVerbs[0]);

const Verb* FindVerb(const char* name) {
  for (size_t i = 0; i < kVerbCount; ++i)
    if (std::strcmp(name, kVerbs[i].name) == 0) return &kVerbs[i];
  return nullptr;
}

int UsageError(const char* verb) {
  const Verb* found = FindVerb(verb);
  std::fprintf(stderr, "usage: skelcheck %s\nskelcheck help %s tells more.\n", found ? found->usage : verb, verb);
  return kUsage;
}

}  // namespace skelcheck
