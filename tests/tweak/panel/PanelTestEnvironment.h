#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tests/tweak/store/StoreTestEnvironment.h"
#include "tweak/panel/PanelNotifications.h"
#include "tweak/store/TessraStorageManager.h"

// What every panel test starts from: the store's environment (own device
// root, fresh store, 13.3), the bundle's images copied into the root, a fresh
// simulated device with impact feedback, the manual clock, a key window of
// the given size with a plain controller to present over, and the bottom
// texts posted to the panel collected. The current app is "com.test.maps"
// named "Maps", and the bottom texts are on, as after the home screen's start-up.
class PanelTestEnvironment {
 public:
  explicit PanelTestEnvironment(platform::CGSize screen = {375, 812}) {
    std::filesystem::path bundle = store.root / "Library/Application Support/Tessra2Bundle.bundle";
    std::filesystem::create_directories(bundle.parent_path());
    std::filesystem::copy(TESSRA_PLUGIN_BUNDLE_DIR, bundle, std::filesystem::copy_options::recursive);
    platform::springboard::DeviceConfiguration config;
    config.systemVersion = "13.3";
    config.feedbackSupportLevel = 2;
    platform::springboard::DeviceModel::shared().configure(config);
    previousScreen_ = platform::UIScreen::mainScreen().bounds();
    platform::UIScreen::mainScreen().setBounds(platform::CGRectMake(0, 0, screen.width, screen.height));

    auto& settings = TessraStorageManager::sharedInstance();
    settings.bindSettings();  // every toggle shown, bottom texts on
    settings.interfaceColorStyle = 1;
    settings.loadDictionaryFromStorage();
    settings.setCurrentBundleId(std::string("com.test.maps"));
    settings.setCurrentAppName(std::string("Maps"));

    window = std::make_shared<platform::UIWindow>(platform::CGRectMake(0, 0, screen.width, screen.height));
    presenter = std::make_shared<platform::UIViewController>();
    window->setRootViewController(presenter);
    window->makeKeyAndVisible();

    textsToken_ = platform::NotificationCenter::defaultCenter().addObserver(
        std::string(panel_notifications::kSetBottomLabelText), nullptr, [this](const platform::Notification& n) {
          postedTexts.push_back(n.userInfo[panel_notifications::kBottomLabelTextKey].string());
        });
  }

  ~PanelTestEnvironment() {
    platform::NotificationCenter::defaultCenter().removeObserver(textsToken_);
    if (presenter->presentedViewController()) presenter->dismissViewControllerAnimated(false, nullptr);
    tasks.fastForwardBy(platform::seconds(5));
    window->setHidden(true);
    platform::UIScreen::mainScreen().setBounds(previousScreen_);
  }

  PanelTestEnvironment(const PanelTestEnvironment&) = delete;
  PanelTestEnvironment& operator=(const PanelTestEnvironment&) = delete;

  // Lets `s` seconds pass on the manual clock, running everything that falls due.
  void forward(double s) { tasks.fastForwardBy(platform::seconds(s)); }
  // A finger down and up at a window point.
  void tap(platform::CGPoint p) {
    window->sendTouch(platform::UITouchPhase::Began, p);
    window->sendTouch(platform::UITouchPhase::Ended, p);
  }
  // A finger that goes down at `from`, moves to `to` in `steps` moves and lifts there.
  void drag(platform::CGPoint from, platform::CGPoint to, int steps = 10) {
    window->sendTouch(platform::UITouchPhase::Began, from);
    for (int i = 1; i <= steps; ++i) {
      forward(0.01);
      double t = static_cast<double>(i) / steps;
      window->sendTouch(platform::UITouchPhase::Moved, {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
    }
    window->sendTouch(platform::UITouchPhase::Ended, to);
  }
  // The value stored for the current app under `key` ("volume", "brightness") or in its toggles.
  platform::plist::Value stored(std::string_view key) {
    platform::plist::Value entry = store.storedApps()["com.test.maps"];
    if (key == "volume" || key == "brightness") return entry[key];
    return entry["toggles"][key];
  }
  static TessraStorageManager& settings() { return TessraStorageManager::sharedInstance(); }
  static platform::springboard::DeviceModel& device() { return platform::springboard::DeviceModel::shared(); }

  StoreTestEnvironment store;
  platform::ManualTaskEnvironment tasks;
  std::shared_ptr<platform::UIWindow> window;
  std::shared_ptr<platform::UIViewController> presenter;
  std::vector<std::string> postedTexts;

 private:
  platform::CGRect previousScreen_;
  uint64_t textsToken_ = 0;
};
