// Starts a program and prints the milliseconds until a window with the given title is
// viewable on the X display (with the title --root: until the root window's background
// changes), the program's peak resident memory by then in KiB and the CPU time of all its
// threads by then in milliseconds; then ends it with SIGTERM.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

bool HasViewableWindow(Display* display, Window window, const char* title) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    bool match = std::strcmp(name, title) == 0;
    XFree(name);
    XWindowAttributes attributes;
    if (match && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) return true;
  }
  Window root, parent, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  bool found = false;
  for (unsigned int i = 0; i < count && !found; ++i) found = HasViewableWindow(display, children[i], title);
  if (children) XFree(children);
  return found;
}

unsigned long RootBackground(Display* display) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0, pixmap = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, "_XROOTPMAP_ID", False), 0, 1,
                         False, XA_PIXMAP, &type, &format, &count, &after, &data) == Success &&
      count == 1) {
    pixmap = *reinterpret_cast<unsigned long*>(data);
  }
  if (data) XFree(data);
  return pixmap;
}

long PeakKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return 0;
}

// User and system time of every thread the process has had, in milliseconds.
double CpuMs(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // Fields 14 and 15 (utime, stime), counted after the command name's closing parenthesis.
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  double ticks = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i >= 14) ticks += std::atof(field.c_str());
  }
  return 1000.0 * ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s TITLE TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no display\n");
    return 2;
  }
  const char* title = argv[1];
  const bool root = std::strcmp(title, "--root") == 0;
  const unsigned long background = RootBackground(display);
  const auto timeout = std::chrono::milliseconds(std::atoi(argv[2]));
  const auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    execv(argv[3], argv + 3);
    _exit(127);
  }
  // The root's property changes are awaited rather than polled, so that measuring takes no
  // time from the program measured; a window is looked for every millisecond.
  if (root) XSelectInput(display, DefaultRootWindow(display), PropertyChangeMask);
  int result = 1;
  while (std::chrono::steady_clock::now() - start < timeout) {
    if (root ? RootBackground(display) != background : HasViewableWindow(display, DefaultRootWindow(display), title)) {
      const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      std::printf("%.1f %ld %.1f\n", ms, PeakKib(child), CpuMs(child));
      result = 0;
      break;
    }
    if (!root) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    // Until some property of the root changes, or a while passes.
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    if (XPending(display) == 0) ::poll(&connection, 1, 100);
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  return result;
}
