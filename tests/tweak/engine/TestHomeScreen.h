#pragma once

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIWindow.h"

namespace tessra::testing {

// A home screen for the engine's tests: a fresh simulated device in a fresh
// device root on the manual clock, on which the real Tessra2.dylib is loaded
// and starts through its load-time routines. Each case runs in a process of
// its own (EngineTestMain.cpp), so the plug-in is loaded once per case.
// Debug lines sent to the maker's debug client are collected.
class TestHomeScreen {
 public:
  struct App {
    std::optional<double> volume = std::nullopt;
    std::optional<double> brightness = std::nullopt;
    std::vector<std::pair<std::string, int>> toggles = {};
  };

  explicit TestHomeScreen(std::string systemVersion = "13.3",
                          platform::springboard::DeviceKind kind = platform::springboard::DeviceKind::Phone) {
    static int counter = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("tessra-engine-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "usr/lib");
    std::filesystem::create_directories(root_ / "Library/MobileSubstrate/DynamicLibraries");
    std::filesystem::copy_file(KLDEBUG_CLIENT_DYLIB, root_ / "usr/lib/KLDebugClient.dylib");
    std::filesystem::copy_file(KLDEBUG_SERVER_DYLIB,
                               root_ / "Library/MobileSubstrate/DynamicLibraries/KLDebugServer.dylib");
    platform::DevicePaths::setRoot(root_);
    platform::ProcessInfoTestApi::setProcessName("SpringBoard");

    platform::springboard::DeviceConfiguration config;
    config.systemVersion = std::move(systemVersion);
    config.kind = kind;
    config.installedApps.push_back({"com.test.a", "Alpha", platform::springboard::AppKind::User, ""});
    config.installedApps.push_back({"com.test.b", "Bravo", platform::springboard::AppKind::User, ""});
    config.installedApps.push_back({"com.test.c", "Charlie", platform::springboard::AppKind::User, ""});
    device().configure(config);

    logObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        "KLDebugClientDidLogNotification", nullptr,
        [this](const platform::Notification& n) { debugLines.push_back(n.userInfo["message"].string()); });
  }

  ~TestHomeScreen() {
    platform::NotificationCenter::defaultCenter().removeObserver(logObserver_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  platform::springboard::DeviceModel& device() { return platform::springboard::DeviceModel::shared(); }

  // Writes one setting into the domain (before start(), or followed by reloadSettings()).
  void setSetting(const std::string& key, platform::plist::Value value) {
    platform::HBPreferences prefs("com.kelvane.tessra2");
    prefs.setObject(std::move(value), key);
  }
  // Writes the customization of `bundleId` into the stored "customizedApps".
  void customize(const std::string& bundleId, const App& app) {
    platform::plist::Dictionary toggles;
    for (const auto& [name, state] : app.toggles) toggles.set(name, platform::plist::Value(state));
    platform::plist::Dictionary entry{{"toggles", platform::plist::Value(std::move(toggles))}};
    if (app.volume) entry.set("volume", platform::plist::Value(*app.volume));
    if (app.brightness) entry.set("brightness", platform::plist::Value(*app.brightness));
    platform::HBPreferences prefs("com.kelvane.tessra2");
    platform::plist::Value stored = prefs.objectForKey("customizedApps");
    platform::plist::Dictionary apps = stored.isDictionary() ? stored.dictionary() : platform::plist::Dictionary();
    apps.set(bundleId, platform::plist::Value(std::move(entry)));
    prefs.setObject(platform::plist::Value(std::move(apps)), "customizedApps");
  }

  // Loads the plug-in, whose load-time routines start it on this home screen (once per process).
  void start() {
    ASSERT_EQ(dlopen(TESSRA2_DYLIB, RTLD_NOW | RTLD_NOLOAD), nullptr) << "the plug-in starts once per process";
    void* handle = dlopen(TESSRA2_DYLIB, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    env.runUntilIdle();
  }
  // What another process does after changing a setting.
  void reloadSettings() {
    platform::DarwinNotificationCenter::shared().postNotification("com.kelvane.tessra2/ReloadPrefs");
  }
  // What the settings bundle does after replacing the store.
  void reloadStore() {
    platform::DarwinNotificationCenter::shared().postNotification("com.kelvane.tessra2/ClearAppCustomizationCache");
  }

  bool switchOn(const std::string& shortId) {
    return device().state().switches().state(platform::springboard::SwitchesState::fullIdentifier(shortId)) !=
           platform::FSSwitchState::Off;
  }
  void setSwitch(const std::string& shortId, bool on) {
    device().state().switches().setState(platform::springboard::SwitchesState::fullIdentifier(shortId),
                                         on ? platform::FSSwitchState::On : platform::FSSwitchState::Off);
  }
  double volume() { return device().state().audio().volume(); }
  double brightness() { return device().state().display().brightness(); }

  // The alert shown over everything, if any.
  std::shared_ptr<platform::UIAlertController> visibleAlert() {
    auto windows = platform::UIApplication::sharedApplication().windows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if ((*it)->isHidden()) continue;
      auto controller = (*it)->rootViewController();
      while (controller) {
        if (auto alert = std::dynamic_pointer_cast<platform::UIAlertController>(controller)) return alert;
        controller = controller->presentedViewController();
      }
    }
    return nullptr;
  }

  platform::ManualTaskEnvironment env;
  std::vector<std::string> debugLines;

 private:
  std::filesystem::path root_;
  uint64_t logObserver_ = 0;
};

}  // namespace tessra::testing
