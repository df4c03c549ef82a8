// Text forms and reporting shared by the verbs.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

enum class Severity { Error, Warning };

// Where a problem lies: its file and, when known, the line and column (both
// counted from 1; 0 when unknown) and the path of names that leads to the
// value, as "bones/arm/length".
struct Place {
  explicit Place(std::string inFile = std::string(), size_t atLine = 0, size_t atColumn = 0,
                 std::string namePath = std::string())
      : file(std::move(inFile)), line(atLine), column(atColumn), path(std::move(namePath)) {}
  std::string file;
  size_t line = 0, column = 0;
  std::string path;
};

struct Problem {
  Severity severity;
  std::string code;  // stable, for --allow and for machines
  std::string message;
  Place place;
};

// Collects the problems of a run and writes them, in file order, to standard
// error as "FILE:LINE:COLUMN: [PATH: ]message" and "FILE:LINE:COLUMN:
// warning: [PATH: ]message [code]", at most
// kShown of them and then how many more there were. A quiet report prints
// nothing.
class Report {
 public:
  static constexpr size_t kShown = 100;

  explicit Report(bool print = true) : _print(print) {}
  void setPrint(bool print) { _print = print; }
  ~Report() { flush(); }
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;
  void error(const char* code, const Place& place, const std::string& message);
  void warning(const char* code, const Place& place, const std::string& message);
  // A problem of the run rather than of a place in a file (an unreadable
  // file, arguments in the wrong order): "PROGRAM: text", at once.
  void failure(const std::string& text);
  // Warnings of this code are accepted on purpose: neither shown nor counted.
  void allow(const std::string& code);
  // Codes to accept, one per line; '#' starts a comment. False with the
  // reason in why when the file cannot be read.
  bool allowFile(const char* path, std::string& why);
  // Writes what was collected and not yet written.
  void flush();

  bool hasProblems() const { return _errors > 0; }
  int errorCount() const { return _errors; }
  // 1 for an error, or for a warning when strict; else 0.
  int exitCode(bool strict) const { return _errors || (strict && _warnings) ? kProblem : kClean; }
  // The first error's line as printed (a failure's without the program
  // name); empty when there was none.
  const std::string& firstProblem() const { return _first; }
  // Every problem kept, in file order.
  std::vector<Problem> sorted() const;
  // Those as a JSON array of objects with "severity", "code", "message",
  // "file", "line", "column" and "path"; indent is put before each line.
  std::string json(const std::string& indent) const;

 private:
  void add(Severity severity, const char* code, const Place& place, const std::string& message);

  bool _print;
  int _errors = 0;
  int _warnings = 0;
  std::string _first;
  std::vector<Problem> _problems;
  std::vector<std::string> _files;  // in the order first named
  std::vector<std::string> _allowed;
  size_t _written = 0;  // problems already flushed
  size_t _shown = 0;    // of those, written out
};

// Takes "--allow CODE" or "--allow-file FILE" at argv[i] into report,
// moving i past its value: 1 when taken, 0 when argv[i] is no such option,
// -1 (after saying why) when its value is missing or the file unreadable.
int TakeAllowOption(int argc, char** argv, int& i, Report& report);

// The text form of a problem, as the report writes it.
std::string Line(const Problem& problem);

// A place at a line of a file.
Place At(const std::string& file, size_t line);
// A place at a byte offset of a text (line and column from it).
Place AtOffset(const std::string& file, const std::string& text, size_t offset);

}  // namespace skelcheck
