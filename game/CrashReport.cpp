#include "CrashReport.h"

#include <execinfo.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

namespace {

struct CrashSignal {
  int number;
  const char* name;
};
const CrashSignal kSignals[] = {{SIGSEGV, "segmentation fault"},
                                {SIGBUS, "bus error"},
                                {SIGILL, "illegal instruction"},
                                {SIGFPE, "arithmetic exception"},
                                {SIGABRT, "aborted"}};

char g_prefix[64] = "tarn";
// The handler runs here: a stack overflow leaves no room on the thread's own.
alignas(16) char g_altStack[64 * 1024];

void Say(const char* text) {
  for (size_t left = std::strlen(text); left > 0;) {
    const ssize_t n = write(STDERR_FILENO, text, left);
    if (n <= 0) return;
    text += n;
    left -= static_cast<size_t>(n);
  }
}

// Only calls that are safe in a signal handler, or already made once.
void OnCrash(int number) {
  const char* name = "signal";
  for (const CrashSignal& s : kSignals)
    if (s.number == number) name = s.name;
  Say(g_prefix);
  Say(": crashed: ");
  Say(name);
  Say("\n");
  void* frames[64];
  backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
  // The handler was reset on entry: the signal now ends the process.
  raise(number);
}

}  // namespace

void InstallCrashReport(const char* programName) {
  if (programName && programName[0]) {
    std::strncpy(g_prefix, programName, sizeof g_prefix - 1);
    g_prefix[sizeof g_prefix - 1] = '\0';
  }
  // The first backtrace loads the unwinder; that must not happen in the handler.
  void* warmUp[1];
  backtrace(warmUp, 1);
  stack_t stack{};
  stack.ss_sp = g_altStack;
  stack.ss_size = sizeof g_altStack;
  const bool ownStack = sigaltstack(&stack, nullptr) == 0;
  for (const CrashSignal& s : kSignals) {
    struct sigaction current {};
    if (sigaction(s.number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction crash {};
    crash.sa_handler = OnCrash;
    sigemptyset(&crash.sa_mask);
    crash.sa_flags = SA_RESETHAND | SA_NODEFER | (ownStack ? SA_ONSTACK : 0);
    sigaction(s.number, &crash, nullptr);
  }
}
