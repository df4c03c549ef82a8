// Runs the real tarn program under the current X display, talks to its window
// the way a window manager would, and plays it with real X pointer events.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tarn_test {

// One capture of the window, RGBA rows from the top.
struct Screenshot {
  struct Rgb {
    int r, g, b;
  };
  unsigned width = 0;
  unsigned height = 0;
  std::vector<unsigned char> rgba;

  bool Empty() const { return rgba.empty(); }
  Rgb At(int x, int y) const;
  // Pixels of the rectangle for which test holds.
  template <class Test>
  int Count(int x, int y, int w, int h, Test test) const {
    int n = 0;
    for (int row = y; row < y + h; ++row) {
      for (int col = x; col < x + w; ++col) n += test(At(col, row)) ? 1 : 0;
    }
    return n;
  }
  // Pixels of the rectangle that differ from other's.
  int Differences(const Screenshot& other, int x, int y, int w, int h) const;
  bool Save(const std::string& pngPath) const;
};

class ProgramHarness {
 public:
  ProgramHarness();
  ~ProgramHarness();
  ProgramHarness(const ProgramHarness&) = delete;
  ProgramHarness& operator=(const ProgramHarness&) = delete;

  // An environment variable for the program (set before Start).
  void SetEnvironment(const std::string& name, const std::string& value);
  // OpenAL Soft writes the program's mix into folder/mix.wav instead of
  // playing it (set before Start); returns that file's path.
  std::string RecordSoundIn(const std::string& folder);
  // Keeps what the program writes to standard output (set before Start).
  void CaptureOutput();
  // All it wrote there so far; empty without CaptureOutput.
  std::string Output() const;
  // Keeps what the program writes to standard error (set before Start).
  void CaptureErrors();
  // All it wrote there so far; empty without CaptureErrors.
  std::string Errors() const;
  // Its own lines among them, those starting "tarn: " (a wrapper such as
  // valgrind adds lines of its own).
  std::vector<std::string> ErrorLines() const;
  // Where the program starts (set before Start); the build's working
  // directory by default.
  void SetWorkingDirectory(const std::string& path) { workdir_ = path; }
  // Runs another program than tarn (set before Start): its path, its
  // arguments and the title of the window it opens.
  void SetProgram(const std::string& binary, const std::vector<std::string>& args, const std::string& windowTitle);
  // Starts the program in its working directory; false when fork fails.
  // With withDisplay false the program gets no DISPLAY.
  bool Start(bool withDisplay = true);
  // Waits for the program's own window (titled "OpenGL" for tarn).
  bool WaitForWindow(double seconds);
  // The close button: a WM_DELETE_WINDOW client message.
  void SendDeleteWindow();
  // Waits for the process to end; its exit code (128 + the signal when a
  // signal ended it, as a shell says), or kNoExit while it runs. Once it has
  // ended, every later call gives the same.
  int WaitForExit(double seconds);
  bool Capture(const std::string& pngPath);
  Screenshot Shoot();
  // Shoots until ready holds (the program may draw slowly under a sanitizer
  // or on a busy machine), or returns the last shot after the timeout.
  Screenshot ShootWhen(const std::function<bool(const Screenshot&)>& ready, double seconds);
  // Why Shoot gives nothing: the program's end, or the window's state.
  std::string WhyNoShot();

  // Real pointer events through xdotool, in window coordinates. A click holds
  // the button for a moment, as a hand does.
  bool MoveTo(int x, int y);
  bool Click(int x, int y, int button = 1);
  // Positive notches turn the wheel towards the player (scrolling down).
  bool Wheel(int x, int y, int notches);
  // Lets the program draw a few frames.
  static void Pause(int milliseconds);

  static constexpr int kNoExit = -1000;

  Display* display() const { return display_; }
  // The running program's process, or -1 once it has been waited for.
  pid_t pid() const { return pid_; }
  // Real pointer and window events without the harness's pauses.
  bool Xdotool(const std::vector<std::string>& args);
  Window window() const { return window_; }

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
  pid_t pid_ = -1;
  int ended_ = kNoExit;  // how the last process ended
  std::vector<std::pair<std::string, std::string>> environment_;
  std::string workdir_;
  std::string binary_;  // tarn unless SetProgram names another
  std::vector<std::string> args_;
  std::string title_;
  std::FILE* errors_ = nullptr;
  std::FILE* output_ = nullptr;
};

// Loudest 16-bit sample in a WAV file's data chunk; -1 without one.
int WavPeak(const std::string& path);

}  // namespace tarn_test
