// The reference's first program, as functions a test calls.
#pragma once

#include <string>

// The bones of the skeleton read with the runtime alone; -1 when it cannot be read.
int CountBones(const char* atlasPath, const char* skeletonPath);
// Runs the program for frames frames: 0 when it ran with the first
// animation showing at the end, 2 with the second, 1 when it could not
// start (the reason in why).
int RunFirstProgram(const char* atlasPath, const char* skeletonPath, int frames, std::string& why);
