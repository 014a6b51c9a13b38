// End-to-end: `tessra device show` on a started device, on an X server of the
// test's own (Xvfb): a click on an icon opens its app, and the window shows exactly
// what the device's own snapshot of that moment holds. Without a display the
// command says that DISPLAY is missing.
#include <cairo.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/bus/BusControlClient.h"
#include "tests/tools/device/DeviceProcessRunner.h"

namespace tessra::device {
namespace {

namespace fs = std::filesystem;
using testing::DeviceProcessRunner;
using testing::ProcessResult;

// The window's pixels, as `xwd` writes them (32 bits a pixel, red/green/blue masks of a true-colour visual).
struct WindowImage {
  int width = 0, height = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB
};

uint32_t bigEndian(const unsigned char* p) { return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

std::optional<WindowImage> readXwd(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 100) return std::nullopt;
  auto field = [&](int i) { return bigEndian(reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * i); };
  const uint32_t headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
  const uint32_t bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
  if (bitsPerPixel != 32 || field(14) != 0xFF0000 || field(15) != 0xFF00 || field(16) != 0xFF) return std::nullopt;
  const size_t start = headerSize + size_t{colours} * 12;
  if (bytes.size() < start + size_t{bytesPerLine} * height) return std::nullopt;
  WindowImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + start + size_t{y} * bytesPerLine + x * 4;
      const uint32_t value = byteOrder == 0 ? (uint32_t{p[3]} << 24) | (p[2] << 16) | (p[1] << 8) | p[0] : bigEndian(p);
      image.rgb.push_back(value & 0xFFFFFF);
    }
  }
  return image;
}

// A PNG's pixels laid over black, as the window shows a screen: premultiplied colour is exactly that.
std::optional<WindowImage> readPngOverBlack(const fs::path& path) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return std::nullopt;
  }
  WindowImage image;
  image.width = cairo_image_surface_get_width(surface);
  image.height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      image.rgb.push_back(reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride)[x] & 0xFFFFFF);
  cairo_surface_destroy(surface);
  return image;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// An environment variable set for the test's children while alive, put back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class DeviceWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    scratch_ = fs::temp_directory_path() / ("twin-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    fs::remove_all(scratch_);
    fs::create_directories(scratch_);
    root_ = scratch_ / "device";
    ProcessResult created = tessra({"device", "create", root_.string()});
    ASSERT_EQ(created.status, 0) << created.err;
  }
  void TearDown() override {
    stop(window_);
    if (started_) tessra({"device", "stop", root_.string()});
    stop(xvfb_);
    fs::remove_all(scratch_);
  }

  ProcessResult tessra(const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(fs::path(TESSRA_BIN_DIR) / "tessra", args, scratch_);
  }
  ProcessResult tool(const std::string& name, const std::vector<std::string>& args) {
    return DeviceProcessRunner::run(fs::path("/usr/bin") / name, args, scratch_, std::chrono::seconds(20));
  }
  // Starts `argv` in the background with its output in the scratch folder.
  pid_t spawn(std::vector<std::string> args, const std::string& log) {
    pid_t pid = fork();
    if (pid == 0) {
      std::FILE* out = std::fopen((scratch_ / log).c_str(), "w");
      if (out) {
        dup2(fileno(out), 1);
        dup2(fileno(out), 2);
      }
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    return pid;
  }
  static void stop(pid_t& pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
  }
  // An X server on a display number nobody uses; false when Xvfb is not installed.
  bool startXvfb() {
    if (!fs::exists("/usr/bin/Xvfb")) return false;
    for (int n = 90 + getpid() % 50; n < 200; ++n) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (fs::exists(socket) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
      display_ = ":" + std::to_string(n);
      xvfb_ = spawn({"/usr/bin/Xvfb", display_, "-screen", "0", "800x900x24", "-nolisten", "tcp"}, "xvfb.log");
      for (int i = 0; i < 200 && !fs::exists(socket); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      return fs::exists(socket);
    }
    return false;
  }
  std::string readLog(const std::string& name) {
    std::ifstream in(scratch_ / name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path scratch_;
  fs::path root_;
  std::string display_;
  pid_t xvfb_ = -1;
  pid_t window_ = -1;
  bool started_ = false;
};

TEST_F(DeviceWindowTest, AClickOpensAnAppAndTheWindowShowsExactlyTheDeviceScreen) {
  if (!startXvfb()) GTEST_SKIP() << "Xvfb is not installed";
  ScopedEnv display("DISPLAY", display_.c_str());
  ProcessResult started = tessra({"device", "start", root_.string()});
  ASSERT_EQ(started.status, 0) << started.err;
  started_ = true;

  window_ = spawn({(fs::path(TESSRA_BIN_DIR) / "tessra").string(), "device", "show", root_.string()}, "show.log");
  ProcessResult found = tool("xdotool", {"search", "--sync", "--name", "Tessra device"});
  ASSERT_EQ(found.status, 0) << found.err << readLog("show.log");
  const std::string id = found.out.substr(0, found.out.find('\n'));

  // Maps is the second icon of the first row of a phone's home screen (the window is at 1 pixel a point).
  // A click made before the window has attached to the device reaches nobody: click again until it lands.
  std::string state;
  for (int click = 0; click < 10 && !contains(state, "front: com.apple.Maps"); ++click) {
    ProcessResult clicked = tool("xdotool", {"mousemove", "--window", id, "140", "88", "click", "1"});
    ASSERT_EQ(clicked.status, 0) << clicked.err;
    for (int i = 0; i < 10 && !contains(state, "front: com.apple.Maps"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      state = tessra({"device", "state", root_.string()}).out;
    }
  }
  EXPECT_TRUE(contains(state, "front: com.apple.Maps")) << state;

  // Once the screen is still, the window holds what the device draws (exactly, as the frames are copied).
  bool compared = false;
  for (int attempt = 0; attempt < 10 && !compared; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const fs::path before = scratch_ / "before.xwd", after = scratch_ / "after.xwd", png = scratch_ / "device.png";
    ASSERT_EQ(tool("xwd", {"-silent", "-id", id, "-out", before.string()}).status, 0);
    ProcessResult snap = tessra({"device", "snapshot", root_.string(), png.string(), "--scale", "1"});
    ASSERT_EQ(snap.status, 0) << snap.err;
    ASSERT_EQ(tool("xwd", {"-silent", "-id", id, "-out", after.string()}).status, 0);
    auto first = readXwd(before), second = readXwd(after);
    auto device = readPngOverBlack(png);
    ASSERT_TRUE(first && second && device);
    if (first->rgb != second->rgb) continue;  // still moving
    ASSERT_EQ(first->width, device->width);
    ASSERT_EQ(first->height, device->height);
    size_t differing = 0, black = 0;
    for (size_t i = 0; i < first->rgb.size(); ++i) {
      differing += first->rgb[i] != device->rgb[i];
      black += first->rgb[i] == 0;
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_LT(black, first->rgb.size() / 2) << "the window shows no screen";
    fs::copy_file(after, fs::temp_directory_path() / "tessra-window-test.xwd", fs::copy_options::overwrite_existing);
    compared = true;
  }
  EXPECT_TRUE(compared) << "the screen never stood still";

  // Closing the window leaves the device running.
  stop(window_);
  EXPECT_TRUE(platform::BusControlClient::call(root_, "ping", {}).answered());
}

TEST_F(DeviceWindowTest, WithoutADisplayShowSaysDisplayIsMissing) {
  ScopedEnv x11("DISPLAY", nullptr);
  ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
  ProcessResult shown = tessra({"device", "show", root_.string()});
  EXPECT_NE(shown.status, 0);
  EXPECT_TRUE(contains(shown.err, "DISPLAY")) << shown.err;
}

}  // namespace
}  // namespace tessra::device
