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

// Reads a file through the shared safe reader (no blocking on pipes, regular
// files only, capped size) and keeps it with a zero byte after it; false with
// the reason in why when it cannot.
bool ReadText(const char* path, std::string& text, std::string& why);

// ReadText for a file named on the command line; false with
// "PROGRAM: cannot read PATH: why" on standard error when it cannot.
bool ReadInput(const char* path, std::string& text);

// Problems and warnings go to standard error as "WHERE: text" and
// "WHERE: warning: text", WHERE being FILE, FILE:LINE or FILE:LINE:COLUMN.
// A quiet report prints nothing and only keeps the first problem.
class Report {
 public:
  explicit Report(bool print = true) : _print(print) {}
  void problem(const std::string& where, const std::string& text);
  void warning(const std::string& where, const std::string& text);
  // A problem of the run rather than of a place in a file (an unreadable
  // file, arguments in the wrong order): "PROGRAM: text".
  void failure(const std::string& text);
  bool hasProblems() const { return _problems > 0; }
  // 1 for a problem, or for a warning when strict; else 0.
  int exitCode(bool strict) const { return _problems || (strict && _warnings) ? kProblem : kClean; }
  // The first problem's line as printed, less the program name of a
  // failure; empty when there was none.
  const std::string& firstProblem() const { return _first; }

 private:
  void keep(const std::string& line);

  bool _print;
  int _problems = 0;
  int _warnings = 0;
  std::string _first;
};

// "FILE:LINE", a place for Report.
std::string At(const std::string& file, size_t line);

}  // namespace skelcheck
