#include "Output.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <vector>

#include "tarn/Path.h"
#include "tarn/Report.h"

namespace skelcheck {

std::string Quoted(const char* text) {
  std::string out = "\"";
  for (const char* p = text ? text : ""; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof(escape), "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Number(float value) {
  if (std::isnan(value)) return "null";
  if (std::isinf(value)) return value > 0 ? "1e999" : "-1e999";
  char text[32];
  std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
  return text;
}

bool ReadText(const char* path, std::string& text, std::string& why) {
  std::vector<unsigned char> bytes;
  if (!tarn::ReadFile(path, bytes, &why)) return false;
  text.assign(bytes.begin(), bytes.end());
  return true;
}

bool ReadInput(const char* path, std::string& text) {
  std::string why;
  if (ReadText(path, text, why)) return true;
  std::fprintf(stderr, "%s: cannot read %s: %s\n", tarn::ProgramName(), path, why.c_str());
  return false;
}

std::string Line(const Problem& problem) {
  const Place& at = problem.place;
  std::string line = at.file;
  if (at.line) line += ":" + std::to_string(at.line);
  if (at.line && at.column) line += ":" + std::to_string(at.column);
  line += ": ";
  if (problem.severity == Severity::Warning) line += "warning: ";
  if (!at.path.empty()) line += at.path + ": ";
  line += problem.message;
  // A warning names its code, with which it can be accepted on purpose.
  if (problem.severity == Severity::Warning && !problem.code.empty()) line += " [" + problem.code + "]";
  return line;
}

void Report::add(Severity severity, const char* code, const Place& place, const std::string& message) {
  const std::string name = code ? code : "";
  if (severity == Severity::Warning && std::find(_allowed.begin(), _allowed.end(), name) != _allowed.end()) return;
  Problem problem{severity, name, message, place};
  if (severity == Severity::Error) {
    ++_errors;
    if (_first.empty()) _first = Line(problem);
  } else {
    ++_warnings;
  }
  if (std::find(_files.begin(), _files.end(), place.file) == _files.end()) _files.push_back(place.file);
  _problems.push_back(std::move(problem));
}

void Report::error(const char* code, const Place& place, const std::string& message) {
  add(Severity::Error, code, place, message);
}

void Report::warning(const char* code, const Place& place, const std::string& message) {
  add(Severity::Warning, code, place, message);
}

void Report::failure(const std::string& text) {
  ++_errors;
  if (_first.empty()) _first = text;
  if (_print) std::fprintf(stderr, "%s: %s\n", tarn::ProgramName(), text.c_str());
}

void Report::allow(const std::string& code) { _allowed.push_back(code); }

bool Report::allowFile(const char* path, std::string& why) {
  std::string text;
  if (!ReadText(path, text, why)) return false;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    line = line.substr(0, line.find('#'));
    const size_t begin = line.find_first_not_of(" \t\r");
    if (begin == std::string::npos) continue;
    allow(line.substr(begin, line.find_last_not_of(" \t\r") + 1 - begin));
  }
  return true;
}

namespace {

// Files in the order first named, then line and column; problems at the
// same place keep the order they were found in.
void SortByPlace(std::vector<Problem>& problems, const std::vector<std::string>& files) {
  auto fileIndex = [&](const std::string& file) { return std::find(files.begin(), files.end(), file) - files.begin(); };
  std::stable_sort(problems.begin(), problems.end(), [&](const Problem& a, const Problem& b) {
    const auto fa = fileIndex(a.place.file), fb = fileIndex(b.place.file);
    if (fa != fb) return fa < fb;
    // What is about a whole file comes after what has a place in it.
    if ((a.place.line == 0) != (b.place.line == 0)) return b.place.line == 0;
    if (a.place.line != b.place.line) return a.place.line < b.place.line;
    return a.place.column < b.place.column;
  });
}

}  // namespace

int TakeAllowOption(int argc, char** argv, int& i, Report& report) {
  const bool one = std::strcmp(argv[i], "--allow") == 0, file = std::strcmp(argv[i], "--allow-file") == 0;
  if (!one && !file) return 0;
  if (i + 1 >= argc) return -1;
  const char* value = argv[++i];
  if (one) {
    report.allow(value);
    return 1;
  }
  std::string why;
  if (report.allowFile(value, why)) return 1;
  report.failure(std::string("cannot read ") + value + ": " + why);
  return -1;
}

std::vector<Problem> Report::sorted() const {
  std::vector<Problem> out = _problems;
  SortByPlace(out, _files);
  return out;
}

void Report::flush() {
  std::vector<Problem> fresh(_problems.begin() + static_cast<long>(_written), _problems.end());
  _written = _problems.size();
  if (!_print || fresh.empty()) return;
  SortByPlace(fresh, _files);
  size_t hidden = 0;
  for (const Problem& problem : fresh) {
    if (_shown < kShown) {
      std::fprintf(stderr, "%s\n", Line(problem).c_str());
      ++_shown;
    } else {
      ++hidden;
    }
  }
  if (hidden) std::fprintf(stderr, "%s: %zu more problems not shown\n", tarn::ProgramName(), hidden);
}

std::string Report::json(const std::string& indent) const {
  std::string out = "[";
  const char* comma = "";
  for (const Problem& p : sorted()) {
    out += comma + std::string("\n") + indent + "  {\"severity\": \"" +
           (p.severity == Severity::Error ? "error" : "warning") + "\", \"code\": " + Quoted(p.code.c_str()) +
           ", \"message\": " + Quoted(p.message.c_str()) + ", \"file\": " + Quoted(p.place.file.c_str()) +
           ", \"line\": " + std::to_string(p.place.line) + ", \"column\": " + std::to_string(p.place.column) +
           ", \"path\": " + Quoted(p.place.path.c_str()) + "}";
    comma = ",";
  }
  return out + (_problems.empty() ? "]" : "\n" + indent + "]");
}

Place At(const std::string& file, size_t line) { return Place(file, line); }

Place AtOffset(const std::string& file, const std::string& text, size_t offset) {
  Place place(file, 1);
  size_t lineStart = 0;
  for (size_t i = 0; i < offset && i < text.size(); ++i)
    if (text[i] == '\n') {
      ++place.line;
      lineStart = i + 1;
    }
  place.column = offset - lineStart + 1;
  return place;
}

}  // namespace skelcheck
