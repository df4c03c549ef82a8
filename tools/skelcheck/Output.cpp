#include "Output.h"

#include <cmath>
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

void Report::keep(const std::string& line) {
  ++_problems;
  if (_first.empty()) _first = line;
}

void Report::problem(const std::string& where, const std::string& text) {
  keep(where + ": " + text);
  if (_print) std::fprintf(stderr, "%s: %s\n", where.c_str(), text.c_str());
}

void Report::warning(const std::string& where, const std::string& text) {
  ++_warnings;
  if (_print) std::fprintf(stderr, "%s: warning: %s\n", where.c_str(), text.c_str());
}

void Report::failure(const std::string& text) {
  keep(text);
  if (_print) std::fprintf(stderr, "%s: %s\n", tarn::ProgramName(), text.c_str());
}

std::string At(const std::string& file, size_t line) { return file + ":" + std::to_string(line); }

}  // namespace skelcheck
