/// @file
/// What the program tells the person running it: one line each on standard
/// error, "program: what: why", or to the log callback a program sets. A run
/// where everything loads says nothing.
#pragma once

#include <string>

namespace tarn {

/// The name messages begin with: set by main from its argv[0] (the last path
/// component); until then the name the process was started by.
/// @{
void SetProgramName(const char* argv0);
const char* ProgramName();
/// @}

/// How grave a message is: an error ends what was asked, a warning is gone on without.
enum class LogLevel { Error, Warning };
/// Receives each message instead of standard error: its level, and the text
/// without the program's name ("cannot read gfx/a.png: No such file or
/// directory"). It may be called from any thread the libraries start.
using LogCallback = void (*)(LogLevel level, const char* message, void* user);
/// Sends every message of the libraries (and of ReportError and
/// ReportWarning) to callback, with user; null sends them to standard error again.
void SetLogCallback(LogCallback callback, void* user = nullptr);

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
