#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"
#include "platform/runtime/Ref.h"

// The heart of the plug-in. SpringBoard asks itself very often which
// application is in front; the hook on that question hands the answer here.
// When the front application changes, the engine restores the values that
// were in force before the leaving application's customization was applied,
// and applies the arriving application's customization (switches, actions,
// volume, brightness) after recording what it replaces. It also restores the
// front application's values while the lock screen is shown and applies them
// again when it goes away. Process-wide; everything runs on the main thread.
class AppSwitchEngine {
 public:
  static constexpr const char* kSiriBundleId = "com.apple.siri";
  static constexpr const char* kSpotlightBundleId = "com.apple.Spotlight";
  static constexpr const char* kSettingsBundleId = "com.apple.Preferences";
  // The delay between restoring the leaving application and applying the arriving one on a direct switch.
  static constexpr double kDirectSwitchApplyDelay = 0.1;

  // The one engine of the process.
  static AppSwitchEngine& shared();

  // The frontmost check: `answer` is SpringBoard's own answer (an SBApplication or null). Returns it.
  platform::id frontmostCheck(platform::id answer);
  // Asks SpringBoard for its frontmost application, which runs the check (checkFrontmostApplication).
  static void checkFrontmostApplication();
  // Records and applies the customization of `application` (nothing for null).
  void applyCustomizationForApplication(platform::id application);
  // Sets back what was recorded for `application` where the settings ask for it (nothing for null).
  void restorePreviousValuesForApplication(platform::id application);
  // The lock screen appeared (after SpringBoard's own handling).
  void coverSheetDidPresent();
  // The lock screen went away.
  void coverSheetDidDismiss();

  // The application found in front at the last check (null: the home screen).
  platform::id lastForegroundApp() const { return lastForegroundApp_.get(); }
  bool coversheetIsPresented() const { return coversheetIsPresented_; }

 private:
  AppSwitchEngine() = default;

  void applyVolume(platform::id application, double target);
  void requestVolume(double target);
  void requestDeferredVolume();
  double expectedVolume() const;
  platform::id visibleOverlayApplication();
  void refreshOverlayApplications();

  platform::Ref<platform::Object> lastForegroundApp_;
  // The bundle identifier of lastForegroundApp_, fetched once per change of application.
  std::optional<std::string> frontBundleId_;
  std::string lastForegroundAppBundleId_;
  bool coversheetIsPresented_ = false;
  platform::Ref<platform::Object> sbAppWhenCoversheetWasPresented_;
  // Bumped by every change of front application and by the lock screen, so a
  // delayed apply can tell that the application it was for is no longer in front.
  uint64_t frontGeneration_ = 0;
  bool inCheck_ = false;
  bool recheckPosted_ = false;
  // The last volume the engine asked for, and one that waits for the pending change to finish.
  std::optional<double> requestedVolume_;
  std::optional<double> deferredVolume_;
  bool deferredScheduled_ = false;
  // Siri's and Spotlight's application objects, looked up once per application controller.
  platform::Object* cachedController_ = nullptr;
  platform::Ref<platform::Object> siriApp_;
  platform::Ref<platform::Object> spotlightApp_;
};
