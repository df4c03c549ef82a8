#include "ProgramHarness.h"

#include <lodepng.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "XWindowTools.h"

namespace tarn_test {

namespace {

bool Elapsed(std::chrono::steady_clock::time_point start, double seconds) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds;
}

// Windows of other programs may vanish while we look at them; Xlib's default
// handler would end the test process (leaving the program running) over that.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

ProgramHarness::ProgramHarness() : binary_(TARN_BINARY), title_("OpenGL") {
  XSetErrorHandler(IgnoreXError);
  display_ = XOpenDisplay(nullptr);
}

ProgramHarness::~ProgramHarness() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (display_) XCloseDisplay(display_);
  if (errors_) std::fclose(errors_);
  if (output_) std::fclose(output_);
}

bool ProgramHarness::Start(bool withDisplay) {
  const std::string workdir = workdir_.empty() ? TARN_WORKDIR : workdir_;
  ended_ = kNoExit;
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    if (chdir(workdir.c_str()) != 0) _exit(127);
    if (!withDisplay) unsetenv("DISPLAY");
    if (errors_) dup2(fileno(errors_), STDERR_FILENO);
    if (output_) dup2(fileno(output_), STDOUT_FILENO);
    for (const auto& [name, value] : environment_) setenv(name.c_str(), value.c_str(), 1);
    // TARN_PROGRAM_WRAPPER (words split at spaces) runs the program under a
    // tool such as valgrind.
    std::vector<std::string> words;
    if (const char* wrapper = getenv("TARN_PROGRAM_WRAPPER")) {
      std::istringstream in(wrapper);
      for (std::string word; in >> word;) words.push_back(word);
    }
    words.push_back(binary_);
    for (const std::string& arg : args_) words.push_back(arg);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return true;
}

bool ProgramHarness::WaitForWindow(double seconds) {
  if (!display_) return false;
  auto start = std::chrono::steady_clock::now();
  while (!Elapsed(start, seconds)) {
    window_ = tarn_xwin::FindWindowByTitle(display_, title_.c_str(), pid_);
    if (window_) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

void ProgramHarness::SetProgram(const std::string& binary, const std::vector<std::string>& args,
                                const std::string& windowTitle) {
  binary_ = binary;
  args_ = args;
  title_ = windowTitle;
}

void ProgramHarness::SendDeleteWindow() { tarn_xwin::SendDeleteWindow(display_, window_); }

bool ProgramHarness::Capture(const std::string& pngPath) {
  return window_ && tarn_xwin::CaptureWindow(display_, window_, pngPath);
}

int ProgramHarness::WaitForExit(double seconds) {
  if (pid_ < 0) return ended_;
  auto start = std::chrono::steady_clock::now();
  // At least one look, also with no time to wait.
  for (bool first = true; first || !Elapsed(start, seconds); first = false) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      // A crash is no exit the tests could take for "still running".
      ended_ = WIFEXITED(status) ? static_cast<signed char>(WEXITSTATUS(status)) : 128 + WTERMSIG(status);
      return ended_;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return kNoExit;
}

void ProgramHarness::SetEnvironment(const std::string& name, const std::string& value) {
  environment_.emplace_back(name, value);
}

void ProgramHarness::CaptureErrors() {
  if (!errors_) errors_ = std::tmpfile();
}

namespace {

// pread: the program shares the file offset, which must stay at its end.
std::string ReadCaptured(std::FILE* file) {
  std::string text;
  if (!file) return text;
  char chunk[4096];
  for (off_t at = 0;;) {
    const ssize_t n = pread(fileno(file), chunk, sizeof chunk, at);
    if (n <= 0) break;
    text.append(chunk, static_cast<size_t>(n));
    at += n;
  }
  return text;
}

}  // namespace

void ProgramHarness::CaptureOutput() {
  if (!output_) output_ = std::tmpfile();
}

std::string ProgramHarness::Output() const { return ReadCaptured(output_); }

std::string ProgramHarness::Errors() const { return ReadCaptured(errors_); }

std::vector<std::string> ProgramHarness::ErrorLines() const {
  std::vector<std::string> lines;
  std::istringstream in(Errors());
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("tarn: ", 0) == 0) lines.push_back(line);
  }
  return lines;
}

std::string ProgramHarness::RecordSoundIn(const std::string& folder) {
  const std::string mix = folder + "/mix.wav", conf = folder + "/alsoft.conf";
  std::ofstream(conf) << "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\n"
                         "frequency = 22050\ndither = false\n[wave]\nfile = "
                      << mix << "\n";
  SetEnvironment("ALSOFT_CONF", conf);
  SetEnvironment("ALSOFT_DRIVERS", "wave");
  return mix;
}

Screenshot ProgramHarness::ShootWhen(const std::function<bool(const Screenshot&)>& ready, double seconds) {
  const auto start = std::chrono::steady_clock::now();
  Screenshot shot;
  do {
    shot = Shoot();
    if (!shot.Empty() && ready(shot)) break;
    Pause(50);
  } while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds));
  return shot;
}

Screenshot ProgramHarness::Shoot() {
  Screenshot shot;
  if (!window_ || !tarn_xwin::CaptureWindowPixels(display_, window_, shot.rgba, shot.width, shot.height)) {
    shot.rgba.clear();
  }
  return shot;
}

std::string ProgramHarness::WhyNoShot() {
  const int ended = WaitForExit(0);
  if (ended != kNoExit) {
    return ended > 128 ? "the program was ended by signal " + std::to_string(ended - 128)
                       : "the program ended with " + std::to_string(ended);
  }
  XWindowAttributes a;
  if (!window_ || !XGetWindowAttributes(display_, window_, &a)) return "the program runs, its window is gone";
  if (a.map_state != IsViewable) return "the window is not viewable (map state " + std::to_string(a.map_state) + ")";
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display_, window_, a.root, 0, 0, &x, &y, &child);
  return "the window is viewable at " + std::to_string(x) + "," + std::to_string(y) + " (" + std::to_string(a.width) +
         "x" + std::to_string(a.height) + ") on a " + std::to_string(WidthOfScreen(a.screen)) + "x" +
         std::to_string(HeightOfScreen(a.screen)) + " screen, yet its image could not be read";
}

bool ProgramHarness::Xdotool(const std::vector<std::string>& args) {
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("xdotool"));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp("xdotool", argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool ProgramHarness::MoveTo(int x, int y) {
  return window_ && Xdotool({"mousemove", "--window", std::to_string(window_), std::to_string(x), std::to_string(y)});
}

bool ProgramHarness::Click(int x, int y, int button) {
  if (!MoveTo(x, y)) return false;
  Pause(80);
  if (!Xdotool({"mousedown", std::to_string(button)})) return false;
  Pause(120);
  const bool released = Xdotool({"mouseup", std::to_string(button)});
  Pause(120);
  return released;
}

bool ProgramHarness::Wheel(int x, int y, int notches) {
  if (!MoveTo(x, y)) return false;
  Pause(80);
  const std::string button = notches > 0 ? "5" : "4";
  for (int i = 0; i < std::abs(notches); ++i) {
    if (!Xdotool({"click", button})) return false;
    Pause(100);
  }
  return true;
}

void ProgramHarness::Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

Screenshot::Rgb Screenshot::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height)) return {-1, -1, -1};
  const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2]};
}

int Screenshot::Differences(const Screenshot& other, int x, int y, int w, int h) const {
  int n = 0;
  for (int row = y; row < y + h; ++row) {
    for (int col = x; col < x + w; ++col) {
      const Rgb a = At(col, row), b = other.At(col, row);
      n += a.r != b.r || a.g != b.g || a.b != b.b;
    }
  }
  return n;
}

bool Screenshot::Save(const std::string& pngPath) const {
  return !Empty() && lodepng::encode(pngPath, rgba, width, height) == 0;
}

int WavPeak(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (size_t pos = 12; pos + 8 <= file.size();) {
    uint32_t size = 0;
    std::memcpy(&size, file.data() + pos + 4, 4);
    if (file.compare(pos, 4, "data") == 0) {
      int peak = 0;
      for (size_t i = pos + 8; i + 1 < file.size(); i += 2) {
        int16_t sample = 0;
        std::memcpy(&sample, file.data() + i, 2);
        peak = std::max(peak, std::abs(int(sample)));
      }
      return peak;
    }
    pos += 8 + size + (size & 1);
  }
  return -1;
}

}  // namespace tarn_test
