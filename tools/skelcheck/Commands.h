// The verbs of skelcheck. Each takes its arguments after the verb and returns
// the process exit code (kClean, kProblem or kUsage, see Output.h).
#pragma once

namespace skelcheck {

int JsonCommand(int argc, char** argv);
int AtlasCommand(int argc, char** argv);
int SkeletonCommand(int argc, char** argv);
int PoseCommand(int argc, char** argv);

// The verb's short usage on standard error; returns kUsage.
int UsageError(const char* verb);

}  // namespace skelcheck
