// The verbs of skelcheck. Each takes its arguments after the verb and returns
// the process exit code (kClean, kProblem or kUsage, see Output.h).
#pragma once

#include <cstddef>

namespace skelcheck {

int JsonCommand(int argc, char** argv);
int AtlasCommand(int argc, char** argv);
int SkeletonCommand(int argc, char** argv);
int PoseCommand(int argc, char** argv);

struct Verb {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
  const char* help;
};

// Every verb, in the order the help lists them.
extern const Verb kVerbs[];
extern const size_t kVerbCount;

// The verb of that name, or null.
const Verb* FindVerb(const char* name);

// The verb's short usage on standard error; returns kUsage.
int UsageError(const char* verb);

}  // namespace skelcheck
