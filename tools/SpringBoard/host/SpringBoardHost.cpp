#include "tools/SpringBoard/host/SpringBoardHost.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <set>

#include "platform/bus/BusConnection.h"
#include "platform/bus/BusControlServer.h"
#include "platform/bus/BusNames.h"
#include "platform/bus/BusNotificationTransport.h"
#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/ThreadedTaskEnvironment.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/runtime/PluginLoader.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/DeviceStateFile.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/ui/UIWindow.h"
#include "tools/SpringBoard/core/ControlProtocol.h"
#include "tools/SpringBoard/core/DeviceFiles.h"
#include "tools/SpringBoard/core/HostFiles.h"
#include "tools/SpringBoard/core/ScriptParser.h"
#include "tools/SpringBoard/core/TweakVocabulary.h"
#include "tools/SpringBoard/host/ControlHandler.h"
#include "tools/SpringBoard/host/DeviceStateReport.h"
#include "tools/SpringBoard/host/DeviceTrace.h"
#include "tools/SpringBoard/host/DisplayInput.h"
#include "tools/SpringBoard/host/DisplayService.h"
#include "tools/SpringBoard/host/HomeScreen.h"
#include "tools/SpringBoard/host/PluginAdmission.h"
#include "tools/SpringBoard/host/ScreenCommands.h"
#include "tools/SpringBoard/host/ScriptInterpreter.h"
#include "tools/SpringBoard/host/ScriptRunner.h"
#include "tools/SpringBoard/host/SettingsCommandRunner.h"
#include "tools/SpringBoard/host/SignalWatcher.h"
#include "tools/SpringBoard/host/UIAlertScreen.h"
#include "tweak/store/TessraKeys.h"

namespace tessra::device {
namespace {

// The largest script a dry run reads.
constexpr size_t kMaxScriptBytes = 1 << 20;

// After the plug-ins have loaded, every view of the screen lays out again, as at the phone's
// first frame: hooks on layoutSubviews (the status bar, the floating dock) see them.
void layOutAgain(platform::UIView& view) {
  view.setNeedsLayout();
  for (const auto& sub : view.subviews()) layOutAgain(*sub);
}

}  // namespace

SpringBoardHost::SpringBoardHost(HostOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)),
      out_(out),
      err_(err),
      vocabulary_(tweakVocabulary()),
      alerts_(std::make_unique<UIAlertScreen>()) {}

SpringBoardHost::~SpringBoardHost() = default;

int SpringBoardHost::run() {
  if (options_.help) {
    out_ << HostOptions::usage();
    return 0;
  }
  if (!options_.error.empty()) {
    err_ << "SpringBoard: " << options_.error << "\n" << HostOptions::usage();
    return kUsageError;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(options_.root, ec)) {
    err_ << "SpringBoard: no device at " << options_.root.string() << "\n";
    return kDeviceError;
  }
  options_.root = std::filesystem::absolute(options_.root, ec);
  return options_.live() ? runLive() : runScript();
}

bool SpringBoardHost::configureDevice() {
  platform::DevicePaths::setRoot(options_.root);
  DeviceFiles::Loaded loaded = DeviceFiles::load(options_.root);
  if (!loaded.ok) {
    err_ << "SpringBoard: " << loaded.error << "\n";
    return false;
  }
  platform::springboard::DeviceConfiguration configuration;
  configuration.systemVersion = loaded.systemVersion;
  configuration.kind = loaded.kind;
  configuration.activatorInstalled = loaded.activator;
  configuration.installedApps = std::move(loaded.installedApps);
  platform::springboard::DeviceModel::shared().configure(std::move(configuration));
  return true;
}

platform::springboard::DeviceScreen::Options SpringBoardHost::settingsSceneOptions(
    platform::springboard::DeviceScreen::Options options) {
  // The Settings app draws its own screen in its process, and takes the touches on it.
  options.sceneContent = [](const std::string& bundleIdentifier) {
    return SettingsCommandRunner::sceneContent(platform::springboard::DeviceModel::shared(), bundleIdentifier);
  };
  options.sceneTouch = [](platform::UITouchPhase phase, platform::CGPoint point) {
    return SettingsCommandRunner::sceneTouch(platform::springboard::DeviceModel::shared(), static_cast<int>(phase),
                                             point.x, point.y);
  };
  return options;
}

void SpringBoardHost::startHomeScreen() {
  auto folder = platform::DevicePaths::resolve("/Library/MobileSubstrate/DynamicLibraries");
  if (folder) {
    platform::PluginLoader::loadFolder(*folder, [this](const std::filesystem::path& file) {
      auto refusal = PluginAdmission::refusal(file);
      if (!refusal) return true;
      err_ << "SpringBoard: not loading " << file.filename().string() << ": " << *refusal << "\n";
      return false;
    });
  }
  HomeScreen::appear();
}

int SpringBoardHost::runScript() {
  auto bytes = platform::plist::PropertyListFile::readBytes(options_.script, kMaxScriptBytes);
  if (!bytes.ok()) {
    err_ << "SpringBoard: cannot read the script " << options_.script.string() << ": " << bytes.message << "\n";
    return control::kRefused;
  }
  ScriptParser parser(vocabulary_);
  ScriptParser::Result parsed = parser.parse(bytes.bytes);
  DeviceFiles::Loaded files = DeviceFiles::load(options_.root);
  if (files.ok) {
    std::set<std::string, std::less<>> installed;
    for (const auto& app : files.installedApps) installed.insert(app.bundleIdentifier);
    for (auto& error : ScriptParser::checkInstalledApps(parsed.commands, installed)) parsed.errors.push_back(error);
  }
  std::string name = options_.script.string();
  if (!parsed.ok()) {
    std::stable_sort(parsed.errors.begin(), parsed.errors.end(),
                     [](const ScriptError& a, const ScriptError& b) { return a.line < b.line; });
    for (const auto& error : parsed.errors) err_ << name << ":" << error.line << ": " << error.message << "\n";
    return control::kRefused;
  }

  platform::ManualTaskEnvironment env;
  if (!configureDevice()) return kDeviceError;
  auto& model = platform::springboard::DeviceModel::shared();
  DeviceTrace trace(model.state().eventLog(), env.clock(), platform::TimePoint{});
  // The screen's classes exist before the plug-ins load and hook them. The Settings app draws its own scene.
  platform::springboard::DeviceScreen screen(model, settingsSceneOptions({}));
  startHomeScreen();
  layOutAgain(screen.window());
  env.runUntilIdle();

  auto waiter = [&env](platform::Duration delay) { env.fastForwardBy(delay); };
  ScriptInterpreter interpreter(model, vocabulary_, alerts_.get(), waiter);
  ScreenCommands screenCommands(screen, waiter, options_.script.parent_path());
  interpreter.setScreen(&screenCommands);
  // After each line the screen follows the device, so that what the line started (a banner sliding in) starts
  // then, not when the screen is next looked at.
  ScriptRunner runner(interpreter, trace, [&env, &screen] {
    env.runUntilIdle();
    screen.update();
  });
  return runner.run(parsed.commands, name, out_, err_);
}

int SpringBoardHost::runLive() {
  SignalWatcher::blockSignals();
  platform::ThreadedTaskEnvironment env;
  if (!configureDevice()) return kDeviceError;
  auto& model = platform::springboard::DeviceModel::shared();
  // The system's switches, volume and brightness outlive this process: read back, and saved on every change.
  platform::springboard::DeviceStateFile stateFile(model.state(), options_.root);
  stateFile.attach();
  DeviceTrace trace(model.state().eventLog(), env.clock(), env.clock().now());
  platform::RunLoop& mainLoop = env.mainLoop();

  // The device bus: notifications to and from the other processes, and the control channel.
  platform::BusConnection bus(options_.root);
  auto transport = std::make_shared<platform::BusNotificationTransport>(bus);
  platform::DarwinNotificationCenter::shared().setTransport(transport);
  platform::DistributedNotificationCenter::shared().setTransport(transport);
  bus.onReconnected([] {
    // Notifications posted while the bus was away are lost: read the domain again, and have
    // the plug-in reload its store as if it had been told to.
    platform::HBPreferences::reloadDomain(kPreferencesDomain);
    platform::DarwinNotificationCenter::shared().deliverRemote(std::string(kClearAppCustomizationCacheNotification));
  });

  platform::springboard::DeviceScreen::Options screenOptions;
  screenOptions.wallClock = [] { return std::time(nullptr); };
  screenOptions = settingsSceneOptions(std::move(screenOptions));
  platform::springboard::DeviceScreen screen(model, std::move(screenOptions));
  ScriptParser parser(vocabulary_);
  ScriptInterpreter interpreter(model, vocabulary_, alerts_.get(), nullptr);
  ScreenCommands screenCommands(screen, nullptr, {});
  interpreter.setScreen(&screenCommands);
  ControlHandler handler(
      parser, interpreter, trace, [&] { return DeviceStateReport::render(model, vocabulary_, alerts_.get()); },
      [&mainLoop] { mainLoop.quit(); });
  platform::BusControlServer control(bus, platform::bus::kSpringBoardBusName,
                                     [&handler](const std::string& command, const std::vector<std::string>& args) {
                                       return handler.handle(command, args);
                                     });
  DisplayInput input(screen, model);
  DisplayService display(bus, mainLoop, screen, input);
  bus.start();

  startHomeScreen();
  layOutAgain(screen.window());
  HostFiles::writePid(options_.root);
  int exitSignal = 0;
  {
    SignalWatcher watcher([&mainLoop, &exitSignal](int signal) {
      exitSignal = signal;
      mainLoop.quit();
    });
    mainLoop.run();
  }
  platform::Log::write("SpringBoard: leaving" + (exitSignal ? " on signal " + std::to_string(exitSignal) : ""));
  platform::DarwinNotificationCenter::shared().setTransport(nullptr);
  platform::DistributedNotificationCenter::shared().setTransport(nullptr);
  bus.stop();
  HostFiles::removePid(options_.root);
  return 0;
}

}  // namespace tessra::device
