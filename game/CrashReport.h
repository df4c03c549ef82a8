// A crash says so on standard error, with the program's build id and the
// stack it happened on (the program's own frames named from its symbol table),
// and then ends the process as the signal would have (a core where cores are
// kept).
#pragma once

// Handles the crash signals that nobody handles yet: a sanitizer or a
// debugger that already watches one keeps it.
void InstallCrashReport(const char* programName);
