// Text forms shared by the verbs.
#pragma once

#include <cstdio>
#include <string>

namespace skelcheck {

// A JSON string literal: bytes as they are, with quotes, backslashes and
// control characters escaped.
std::string Quoted(const char* text);

// A float with 9 significant digits, always valid JSON: infinities become
// 1e999 and -1e999, NaN becomes null.
std::string Number(float value);

// Reads the file named on the command line (through the path helper) and
// appends a zero byte; false with a message on standard error when it cannot.
bool ReadInput(const char* path, std::string& text);

}  // namespace skelcheck
