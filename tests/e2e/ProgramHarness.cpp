#include "ProgramHarness.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <chrono>
#include <thread>

#include "XWindowTools.h"

namespace tarn_test {

namespace {

bool Elapsed(std::chrono::steady_clock::time_point start, double seconds) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds;
}

}  // namespace

ProgramHarness::ProgramHarness() { display_ = XOpenDisplay(nullptr); }

ProgramHarness::~ProgramHarness() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (display_) XCloseDisplay(display_);
}

bool ProgramHarness::Start(bool withDisplay) {
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    if (chdir(TARN_WORKDIR) != 0) _exit(127);
    if (!withDisplay) unsetenv("DISPLAY");
    execl(TARN_BINARY, TARN_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  return true;
}

bool ProgramHarness::WaitForWindow(double seconds) {
  if (!display_) return false;
  auto start = std::chrono::steady_clock::now();
  while (!Elapsed(start, seconds)) {
    window_ = tarn_xwin::FindWindowByTitle(display_, "OpenGL", pid_);
    if (window_) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void ProgramHarness::SendDeleteWindow() { tarn_xwin::SendDeleteWindow(display_, window_); }

bool ProgramHarness::Capture(const std::string& pngPath) {
  return window_ && tarn_xwin::CaptureWindow(display_, window_, pngPath);
}

int ProgramHarness::WaitForExit(double seconds) {
  auto start = std::chrono::steady_clock::now();
  while (!Elapsed(start, seconds)) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : kNoExit;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return kNoExit;
}

}  // namespace tarn_test
