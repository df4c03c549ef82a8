// The verbs of skelcheck. Each takes its arguments after the verb and returns
// the process exit code: 0 success, 1 a problem in the file, 2 unusable input.
#pragma once

namespace skelcheck {

int JsonCommand(int argc, char** argv);
int AtlasCommand(int argc, char** argv);
int SkeletonCommand(int argc, char** argv);
int PoseCommand(int argc, char** argv);

}  // namespace skelcheck
