// From a key pressed in the window of `tessra device show` to the window's
// pixels showing its effect, through everything a person's key press goes
// through: the X server, the window's SDL event loop, the bus, the SpringBoard
// host's main loop, a frame drawn, its changed rectangles copied into the
// shared buffer, announced, copied into the window's texture and presented.
// The benchmark starts its own X server (Xvfb), a device and its window at
// 1×; the key is the lock button (L), which changes the screen every time;
// the window's pixels are read back from the X server until one in the middle
// of the screen changes. Goal: under 2 frames (33 ms at 60 frames a second).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int tessra(const std::string& args) {
  return std::system((std::string(TESSRA_BIN_DIR) + "/tessra " + args + " > /dev/null 2>&1").c_str());
}

// A child process running `argv` with DISPLAY set to `display` (when not empty), its output discarded.
pid_t spawn(const std::vector<std::string>& argv, const std::string& display) {
  pid_t pid = fork();
  if (pid == 0) {
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// The window whose title contains `part`, searched depth first from `window`.
Window findWindow(Display* display, Window window, const char* part) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    const bool hit = std::strstr(name, part) != nullptr;
    XFree(name);
    if (hit) return window;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && !found; ++i) found = findWindow(display, children[i], part);
  if (children) XFree(children);
  return found;
}

// Whether the window is on screen (mapped, with its parents).
bool viewable(Display* display, Window window) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// An X error (a window read while it goes away) is not fatal here: the read answers nothing.
int ignoreError(Display*, XErrorEvent*) { return 0; }

// The pixel the window shows in the middle of the home screen's icons.
unsigned long probe(Display* display, Window window) {
  XImage* image = XGetImage(display, window, 180, 300, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

void sendKey(Display* display, Window window, KeySym symbol, bool press) {
  XKeyEvent event{};
  event.type = press ? KeyPress : KeyRelease;
  event.display = display;
  event.window = window;
  event.root = DefaultRootWindow(display);
  event.subwindow = None;
  event.time = CurrentTime;
  event.same_screen = True;
  event.keycode = XKeysymToKeycode(display, symbol);
  XSendEvent(display, window, True, press ? KeyPressMask : KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
  XFlush(display);
}

// Waits until the probed pixel has not changed for `quiet` (an animation has ended).
void settle(Display* display, Window window, std::chrono::milliseconds quiet) {
  unsigned long seen = probe(display, window);
  auto since = Clock::now();
  while (Clock::now() - since < quiet) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (unsigned long now = probe(display, window); now != seen) {
      seen = now;
      since = Clock::now();
    }
  }
}

void BM_KeyToWindowPixels(benchmark::State& state) {
  if (!fs::exists("/usr/bin/Xvfb")) {
    state.SkipWithError("Xvfb is not installed");
    return;
  }
  std::string display;
  for (int n = 150 + getpid() % 50; n < 250 && display.empty(); ++n)
    if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) && !fs::exists("/tmp/.X" + std::to_string(n) + "-lock"))
      display = ":" + std::to_string(n);
  const pid_t xvfb = spawn({"/usr/bin/Xvfb", display, "-screen", "0", "800x900x24", "-nolisten", "tcp"}, "");
  const fs::path root = fs::temp_directory_path() / ("twin-" + std::to_string(getpid()));
  fs::remove_all(root);
  pid_t window = 0;
  Display* x = nullptr;
  for (int i = 0; i < 200 && !x; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    x = XOpenDisplay(display.c_str());
  }
  if (!x || tessra("device create " + root.string()) != 0 || tessra("device start " + root.string()) != 0) {
    state.SkipWithError("cannot start an X server and a device");
  } else {
    window = spawn({std::string(TESSRA_BIN_DIR) + "/tessra", "device", "show", root.string(), "--scale", "1"}, display);
    XSetErrorHandler(&ignoreError);
    Window shown = 0;
    for (int i = 0; i < 300 && !(shown && viewable(x, shown)); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      if (!shown) shown = findWindow(x, DefaultRootWindow(x), "Tessra device");
    }
    if (shown && !viewable(x, shown)) shown = 0;
    if (!shown) {
      state.SkipWithError("the window did not open");
    } else {
      settle(x, shown, std::chrono::milliseconds(300));
      for (auto _ : state) {
        const unsigned long before = probe(x, shown);
        const auto start = Clock::now();
        sendKey(x, shown, XK_l, true);
        sendKey(x, shown, XK_l, false);
        while (probe(x, shown) == before && Clock::now() - start < std::chrono::seconds(5))
          std::this_thread::sleep_for(std::chrono::microseconds(200));
        const auto elapsed = Clock::now() - start;
        if (elapsed >= std::chrono::seconds(5)) {
          state.SkipWithError("the window did not change");
          break;
        }
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        settle(x, shown, std::chrono::milliseconds(150));
      }
    }
  }
  if (x) XCloseDisplay(x);
  stop(window);
  tessra("device stop " + root.string());
  fs::remove_all(root);
  stop(xvfb);
}

BENCHMARK(BM_KeyToWindowPixels)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
