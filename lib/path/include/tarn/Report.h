/// @file
/// What the program tells the person running it: one line each on standard
/// error, "program: what: why". A run where everything loads prints nothing.
#pragma once

#include <string>

namespace tarn {

/// Set once by main from its argv[0] (the last path component); "tarn" until then.
/// @{
void SetProgramName(const char* argv0);
const char* ProgramName();
/// @}

/// A failure that ends the program: "program: what: why". Control bytes in
/// what and why are shown as `\xNN`, so a damaged file name cannot break the line.
void ReportError(const std::string& what, const std::string& why);
/// A failure the program runs on without: "program: warning: what: why".
void ReportWarning(const std::string& what, const std::string& why);

/// A file as messages name it: the path really opened, absolute, so that the
/// reader sees which folder was read ("gfx\a.png" read in /usr/share/tarn:
/// "/usr/share/tarn/gfx/a.png").
std::string FileName(const char* path);

}  // namespace tarn
