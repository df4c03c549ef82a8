// Text forms and reporting shared by the verbs.
#pragma once

#include <cstdio>
#include <string>

namespace skelcheck {

// Exit codes of every verb.
constexpr int kClean = 0;
constexpr int kProblem = 1;
constexpr int kUsage = 2;

// A JSON string literal: bytes as they are, with quotes, backslashes and
// control characters escaped.
std::string Quoted(const char* text);

// A float with 9 significant digits, always valid JSON: infinities become
// 1e999 and -1e999, NaN becomes null.
std::string Number(float value);

// Reads the file named on the command line through the shared safe reader
// (no blocking on pipes, regular files only, capped size) and keeps it with a
// zero byte after it; false with "skelcheck: cannot read PATH: why" on
// standard error when it cannot.
bool ReadInput(const char* path, std::string& text);

// Problems and warnings go to standard error as "WHERE: text" and
// "WHERE: warning: text", WHERE being FILE, FILE:LINE or FILE:LINE:COLUMN.
class Report {
public:
    void problem(const std::string& where, const std::string& text);
    void warning(const std::string& where, const std::string& text);
    bool hasProblems() const { return _problems > 0; }
    // 1 for a problem, or for a warning when strict; else 0.
    int exitCode(bool strict) const { return _problems || (strict && _warnings) ? kProblem : kClean; }

private:
    int _problems = 0;
    int _warnings = 0;
};

// "FILE:LINE", a place for Report.
std::string At(const std::string& file, size_t line);

}  // namespace skelcheck
