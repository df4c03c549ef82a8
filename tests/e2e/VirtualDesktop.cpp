#include "VirtualDesktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace tarn_test {

namespace {

using Clock = std::chrono::steady_clock;

bool Elapsed(Clock::time_point start, double seconds) {
  return std::chrono::duration<double>(Clock::now() - start).count() > seconds;
}

// Runs args in a child with its output thrown away and without the test's
// preloads (a sanitizer's or Mesa's, meant for the programs under test).
// keepFd stays open in the child; every other descriptor it inherits closes.
pid_t Spawn(const std::vector<std::string>& args, int keepFd = -1) {
  // Everything the child needs is made before the fork.
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0) envp.push_back(*e);
  }
  envp.push_back(nullptr);
  const long most = sysconf(_SC_OPEN_MAX);
  const int last = most > 0 && most < 65536 ? static_cast<int>(most) : 1024;
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
  }
  for (int fd = 3; fd < last; ++fd) {
    if (fd != keepFd) close(fd);
  }
  execvpe(argv[0], argv.data(), envp.data());
  _exit(127);
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  const Clock::time_point start = Clock::now();
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Elapsed(start, 5)) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid = -1;
}

bool HasProperty(Display* display, Window window, const char* name) {
  const Atom atom = XInternAtom(display, name, False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(display, window, atom, 0, 1, False, AnyPropertyType, &type, &format, &count,
                                        &remaining, &data) == Success &&
                     type != None;
  if (data) XFree(data);
  return found;
}

}  // namespace

VirtualDesktop::VirtualDesktop(int width, int height) {
  if (const char* display = std::getenv("DISPLAY")) {
    hadDisplay_ = true;
    previousDisplay_ = display;
  }
  ready_ = StartServer(width, height) && StartWindowManager();
}

VirtualDesktop::~VirtualDesktop() {
  Stop(manager_);
  Stop(server_);
  if (hadDisplay_) {
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

bool VirtualDesktop::StartServer(int width, int height) {
  int fds[2];
  if (pipe(fds) != 0) {
    why_ = "no pipe for Xvfb";
    return false;
  }
  // -displayfd: the server takes the first free display and writes its number.
  server_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                   std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset"},
                  fds[1]);
  close(fds[1]);
  std::string number;
  const Clock::time_point start = Clock::now();
  while (server_ > 0 && !Elapsed(start, 20) && number.find('\n') == std::string::npos) {
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, 200) <= 0) continue;
    char chunk[32];
    const ssize_t n = read(fds[0], chunk, sizeof chunk);
    if (n <= 0) break;
    number.append(chunk, static_cast<size_t>(n));
  }
  close(fds[0]);
  if (server_ <= 0 || number.empty() || number.find('\n') == std::string::npos) {
    why_ = "Xvfb did not start (is the xvfb package installed? scripts/deps.sh test)";
    return false;
  }
  display_ = ":" + number.substr(0, number.find('\n'));
  setenv("DISPLAY", display_.c_str(), 1);
  return true;
}

bool VirtualDesktop::StartWindowManager() {
  Display* display = XOpenDisplay(display_.c_str());
  if (!display) {
    why_ = "cannot connect to Xvfb on " + display_;
    return false;
  }
  manager_ = Spawn({"openbox", "--sm-disable"});
  // An EWMH window manager names its check window on the root once it runs.
  bool managing = false;
  const Clock::time_point start = Clock::now();
  while (manager_ > 0 && !Elapsed(start, 20)) {
    if (HasProperty(display, DefaultRootWindow(display), "_NET_SUPPORTING_WM_CHECK")) {
      managing = true;
      break;
    }
    if (waitpid(manager_, nullptr, WNOHANG) == manager_) {
      manager_ = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  XCloseDisplay(display);
  if (!managing) why_ = "openbox did not start on " + display_ + " (scripts/deps.sh test installs it)";
  return managing;
}

int WmState(Display* display, Window window) {
  const Atom atom = XInternAtom(display, "WM_STATE", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  int state = -1;
  if (XGetWindowProperty(display, window, atom, 0, 2, False, atom, &type, &format, &count, &remaining, &data) ==
          Success &&
      data) {
    if (format == 32 && count >= 1) state = static_cast<int>(reinterpret_cast<long*>(data)[0]);
    XFree(data);
  }
  return state;
}

bool WaitForWmState(Display* display, Window window, int state, double seconds) {
  const Clock::time_point start = Clock::now();
  do {
    if (WmState(display, window) == state) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (!Elapsed(start, seconds));
  return WmState(display, window) == state;
}

bool WindowSize(Display* display, Window window, int& width, int& height) {
  XWindowAttributes attributes;
  if (!display || !window || !XGetWindowAttributes(display, window, &attributes)) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
}

bool WindowPosition(Display* display, Window window, int& x, int& y) {
  XWindowAttributes attributes;
  if (!display || !window || !XGetWindowAttributes(display, window, &attributes)) return false;
  Window child = 0;
  return XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child);
}

bool SizeLimits(Display* display, Window window, int& minWidth, int& minHeight, bool& hasMax) {
  XSizeHints hints{};
  long supplied = 0;
  if (!XGetWMNormalHints(display, window, &hints, &supplied)) return false;
  minWidth = (hints.flags & PMinSize) ? hints.min_width : 0;
  minHeight = (hints.flags & PMinSize) ? hints.min_height : 0;
  hasMax = (hints.flags & PMaxSize) != 0;
  return true;
}

bool ClassHint(Display* display, Window window, std::string& instance, std::string& windowClass) {
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return false;
  instance = hint.res_name ? hint.res_name : "";
  windowClass = hint.res_class ? hint.res_class : "";
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return true;
}

std::string Title(Display* display, Window window) {
  char* name = nullptr;
  std::string title;
  if (XFetchName(display, window, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

std::vector<uint32_t> IconProperty(Display* display, Window window) {
  const Atom icon = XInternAtom(display, "_NET_WM_ICON", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  std::vector<uint32_t> values;
  if (XGetWindowProperty(display, window, icon, 0, 1 << 22, False, XA_CARDINAL, &type, &format, &count, &remaining,
                         &data) != Success ||
      !data) {
    return values;
  }
  // Xlib hands 32-bit items over as longs.
  if (format == 32 && remaining == 0) {
    const unsigned long* items = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < count; ++i) values.push_back(static_cast<uint32_t>(items[i] & 0xFFFFFFFFul));
  }
  XFree(data);
  return values;
}

double ProcessCpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Fields after the command name, which is in parentheses and may hold spaces.
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  double ticks = 0;
  // utime and stime are fields 14 and 15; the state, field 3, comes first here.
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::atof(field.c_str());
  }
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace tarn_test
