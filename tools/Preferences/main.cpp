// The Settings app of the device (bundle identifier "com.apple.Preferences"),
// a process of its own: `Preferences --root DIR`. It connects to the device
// bus (Darwin and distributed notifications reach the other processes),
// loads the settings bundles of Library/PreferenceBundles and shows its first
// page. Scripts and the home screen drive it through its control name on the
// bus, "org.tessra.Preferences": each request is a command of
// SettingsAppDriver (run on the main thread). Its screen, `--screen W H`
// points (375 x 667 without), goes to the home screen over the display
// channel of the same bus name (SettingsDisplay), which shows it while the
// Settings app is in front; "frame PATH" writes it as a PNG at a device path.
// It runs until SIGTERM or SIGINT.
// Its log lines go to var/log/Preferences.log in the device.
// With --dry it is the Settings app of a dry run instead: no bus, a manual
// clock, and the home screen's messages on standard input (DryRunSession).
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <thread>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlServer.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/ThreadedTaskEnvironment.h"
#include "tools/Preferences/DryRunSession.h"
#include "tools/Preferences/SettingsAppDriver.h"
#include "tools/Preferences/SettingsDisplay.h"

namespace {

constexpr const char* kBusName = "org.tessra.Preferences";
namespace fs = std::filesystem;

// A side of the screen in points, as `--screen` gives it; nothing when it is not one.
std::optional<double> screenSide(const char* text) {
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end || !(value >= 100 && value <= 4096)) return std::nullopt;
  return value;
}

}  // namespace

int main(int argc, char** argv) {
  bool dry = argc == 4 && std::strcmp(argv[3], "--dry") == 0;
  bool sized = argc == 6 && std::strcmp(argv[3], "--screen") == 0;
  if ((argc != 3 && !dry && !sized) || std::strcmp(argv[1], "--root") != 0) {
    std::cerr << "usage: Preferences --root DIR [--dry | --screen WIDTH HEIGHT]\n";
    return 64;
  }
  double width = 375, height = 667;
  if (sized) {
    auto w = screenSide(argv[4]), h = screenSide(argv[5]);
    if (!w || !h) {
      std::cerr << "Preferences: the screen's sides go from 100 to 4096 points\n";
      return 64;
    }
    width = *w;
    height = *h;
  }
  std::error_code ec;
  fs::path root = fs::absolute(argv[2], ec);
  if (ec || !fs::is_directory(root)) {
    std::cerr << "Preferences: " << argv[2] << " is not a device root\n";
    return 3;
  }
  platform::DevicePaths::setRoot(root);
  signal(SIGPIPE, SIG_IGN);
  // The app's log lines go to a file of the device, as the system log would keep them.
  fs::create_directories(root / "var/log", ec);
  auto logFile = std::make_shared<std::ofstream>(root / "var/log/Preferences.log", std::ios::app);
  platform::Log::setSink([logFile](const std::string& line) { *logFile << line << '\n' << std::flush; });
  std::vector<fs::path> bundles;
  for (const auto& entry : fs::directory_iterator(root / "Library/PreferenceBundles", ec))
    if (fs::is_regular_file(entry.path() / "Info.plist")) bundles.push_back(entry.path());
  std::sort(bundles.begin(), bundles.end());
  platform::FixedDeviceInfo device;
  auto file = platform::plist::PropertyListFile::read(root / "var/mobile/Library/tessra/device.plist");
  if (file.ok() && file.value["systemVersion"].isString()) device.version = file.value["systemVersion"].string();
  // The home screen draws its status bar over the app: 24 points on a tablet, 44 on the phone (it has a notch).
  if (file.ok() && file.value["kind"].isString()) device.statusBar = file.value["kind"].string() == "tablet" ? 24 : 44;
  platform::DeviceInfo::install(&device);
  if (dry) {
    // Standard input and output carry the protocol.
    int status = tessra::preferences::DryRunSession(0, 1).run(bundles);
    platform::DeviceInfo::install(nullptr);
    return status;
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  platform::ThreadedTaskEnvironment env;

  platform::BusConnection bus(root);
  auto transport = std::make_shared<platform::BusNotificationTransport>(bus);
  platform::DarwinNotificationCenter::shared().setTransport(transport);
  platform::DistributedNotificationCenter::shared().setTransport(transport);

  platform::RunLoop& mainLoop = env.mainLoop();
  std::unique_ptr<tessra::preferences::SettingsAppDriver> driver;
  std::unique_ptr<tessra::preferences::SettingsDisplay> display;
  mainLoop.post([&] {
    driver = std::make_unique<tessra::preferences::SettingsAppDriver>(bundles, width, height);
    display = std::make_unique<tessra::preferences::SettingsDisplay>(bus, mainLoop, driver->window());
  });

  // Requests are handled on the main loop, where the screen lives.
  platform::BusControlServer control(
      bus, kBusName, [&](const std::string& command, const std::vector<std::string>& args) {
        return driver ? driver->execute(command, args) : std::pair<int, std::string>{2, "the Settings app is starting"};
      });
  bus.start();

  std::thread waiter([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    mainLoop.post([&] { mainLoop.quit(); });
  });
  mainLoop.run();
  platform::Log::write("Preferences: leaving");
  display.reset();
  driver.reset();
  platform::DarwinNotificationCenter::shared().setTransport(nullptr);
  platform::DistributedNotificationCenter::shared().setTransport(nullptr);
  bus.stop();
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  platform::DeviceInfo::install(nullptr);
  return 0;
}
