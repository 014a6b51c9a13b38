#include "tweak/engine/AppSwitchEngine.h"

#include <cmath>

#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Dispatch.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "tweak/controls/BrightnessManager.h"
#include "tweak/controls/FlipswitchHelper.h"
#include "tweak/controls/VolumeApplier.h"
#include "tweak/engine/ActionsHelper.h"
#include "tweak/engine/RestoreJournal.h"
#include "tweak/engine/TessraAppRecord.h"
#include "tweak/engine/TessraStartup.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/KelvaneTweakUtils.h"
#include "tweak/support/TessraDebugLog.h"
#include "tweak/vocabulary/ToggleType.h"

using platform::id;

namespace {

constexpr long kVisibilityForeground = 2;
// How often a volume request waiting for a pending change looks again, and how many times at most.
constexpr double kVolumeRetryInterval = 0.05;

std::optional<std::string> bundleIdOf(id application) {
  if (!application) return std::nullopt;
  return platform::msgSend<std::string>(application, SELECTOR("bundleIdentifier"));
}

const char* cString(const std::optional<std::string>& text) { return text ? text->c_str() : "(null)"; }

bool isInForeground(id application) {
  id state = platform::msgSend<id>(application, SELECTOR("processState"));
  return platform::msgSend<long>(state, SELECTOR("visibility")) == kVisibilityForeground;
}

double mainScreenBrightness() {
  static platform::ClassHandle screenClass("UIScreen");
  id screen = platform::msgSend<id>(screenClass.get(), SELECTOR("mainScreen"));
  return platform::msgSend<double>(screen, SELECTOR("brightness"));
}

bool systemIsAtLeast13() { return platform::DeviceInfo::current().systemVersionNumber() >= 13.0; }

// Whether a switch with an "only with dark mode" / "only with Night Shift"
// condition may be applied now. The dark-mode test is made first.
bool conditionHolds(bool onlyWithDarkMode, bool onlyWithNightShift) {
  if (!onlyWithDarkMode && !onlyWithNightShift) return true;
  if (onlyWithDarkMode && systemIsAtLeast13() && FlipswitchHelper::isiOS13DarkModeEnabled()) return true;
  return onlyWithNightShift && FlipswitchHelper::isToggleEnabled(ToggleTypeNightShift);
}

}  // namespace

AppSwitchEngine& AppSwitchEngine::shared() {
  static AppSwitchEngine* engine = new AppSwitchEngine();
  return *engine;
}

void AppSwitchEngine::checkFrontmostApplication() {
  static platform::ClassHandle applicationClass("UIApplication");
  id application = platform::msgSend<id>(applicationClass.get(), SELECTOR("sharedApplication"));
  platform::msgSend<id>(application, SELECTOR("_accessibilityFrontMostApplication"));
}

// Siri's and Spotlight's application objects do not change while the home
// screen runs, so they are looked up once per application controller.
void AppSwitchEngine::refreshOverlayApplications() {
  static platform::ClassHandle controllerClass("SBApplicationController");
  id controller = platform::msgSend<id>(controllerClass.get(), SELECTOR("sharedInstance"));
  if (controller == cachedController_) return;
  cachedController_ = controller;
  siriApp_ = platform::msgSend<id, std::string>(controller, SELECTOR("applicationWithBundleIdentifier:"),
                                                std::string(kSiriBundleId));
  spotlightApp_ = platform::msgSend<id, std::string>(controller, SELECTOR("applicationWithBundleIdentifier:"),
                                                     std::string(kSpotlightBundleId));
}

id AppSwitchEngine::visibleOverlayApplication() {
  refreshOverlayApplications();
  id candidate = nullptr;
  // Spotlight is checked after Siri, so it wins when both are visible.
  if (siriApp_ && isInForeground(siriApp_)) candidate = siriApp_;
  if (spotlightApp_ && isInForeground(spotlightApp_)) candidate = spotlightApp_;
  return candidate;
}

id AppSwitchEngine::frontmostCheck(id answer) {
  // Applying can make SpringBoard ask again (quitting apps updates their
  // process states). A nested check would see the change still in progress and
  // apply twice; it is run once the current one has finished instead.
  if (inCheck_) {
    if (!recheckPosted_) {
      recheckPosted_ = true;
      platform::dispatch_async(platform::dispatch_get_main_queue(), [this] {
        recheckPosted_ = false;
        checkFrontmostApplication();
      });
    }
    return answer;
  }
  inCheck_ = true;

  id overlay = visibleOverlayApplication();
  id arriving = overlay ? overlay : answer;
  auto& store = TessraStorageManager::sharedInstance();

  // The store's foreground identifier follows every check. An application's
  // identifier never changes, so it is fetched only when the object changed.
  const bool changed = arriving != lastForegroundApp_.get();
  std::optional<std::string> arrivingBundleId = changed ? bundleIdOf(arriving) : frontBundleId_;
  if (store.currentForegroundAppBundleId() != arrivingBundleId) store.setCurrentForegroundAppBundleId(arrivingBundleId);

  if (changed) {
    platform::Ref<platform::Object> previous = lastForegroundApp_;
    platform::Ref<platform::Object> next = arriving;
    ++frontGeneration_;
    if (auto* record = TessraAppRecord::of(arriving)) record->valuesApplied = false;

    if (previous && next) {
      restorePreviousValuesForApplication(previous);
      const uint64_t generation = frontGeneration_;
      // The apply waits 0.1 s; it is dropped when the front application has
      // changed again (or the lock screen came) meanwhile, so an application
      // that already left is never applied behind the user's back.
      platform::dispatch_after(platform::seconds(kDirectSwitchApplyDelay), platform::dispatch_get_main_queue(),
                               [this, next, generation] {
                                 if (generation == frontGeneration_ && lastForegroundApp_.get() == next.get())
                                   applyCustomizationForApplication(next);
                               });
      auto* previousRecord = TessraAppRecord::find(previous);
      if (previousRecord && previousRecord->brightnessBeforeOpening >= 0)
        TessraAppRecord::of(next)->brightnessBeforeOpening = previousRecord->brightnessBeforeOpening;
    } else {
      restorePreviousValuesForApplication(previous);
      applyCustomizationForApplication(next);
    }
    coversheetIsPresented_ = false;
  }

  if (changed) {
    lastForegroundApp_ = arriving;
    frontBundleId_ = std::move(arrivingBundleId);
  }
  if (frontBundleId_ && *frontBundleId_ == kSettingsBundleId)
    TessraStartup::addShowTessraInterfaceFromSettingsObserver();
  inCheck_ = false;
  return answer;
}

void AppSwitchEngine::applyCustomizationForApplication(id application) {
  if (!application) return;
  auto& store = TessraStorageManager::sharedInstance();
  auto bundleId = bundleIdOf(application);
  lastForegroundAppBundleId_ = bundleId.value_or("");
  store.setCurrentForegroundAppBundleId(bundleId);

  TessraAppRecord* record = TessraAppRecord::of(application);
  if (record->valuesApplied) return;

  const std::string key = bundleId.value_or("");
  const double volume = store.getVolumeForBundleId(key);
  const double brightness = store.getBrightnessForBundleId(key);
  const platform::plist::Value toggles = store.getTogglesDictionaryForBundleId(key);

  record->volumeBeforeOpening = TessraAppRecord::kNotRecorded;
  record->brightnessBeforeOpening = TessraAppRecord::kNotRecorded;
  record->togglesValuesBeforeOpening = platform::plist::Dictionary();

  const bool hasToggles = toggles.isDictionary() && !toggles.dictionary().empty();
  if (volume < 0 && brightness < 0 && !hasToggles) return;
  record->valuesApplied = true;
  journalValuesBefore(key, volume >= 0, brightness >= 0, toggles);

  if (volume >= 0) {
    const bool ask = store.volumeChangeConfirmationAlertEnabled &&
                     !(store.volumeChangeConfirmationAlertOnlyIfMediaPlaying && !FlipswitchHelper::isMediaPlaying());
    if (ask) {
      // The percentage as the question shows it: single precision, rounded half away from zero.
      const long percent = std::lround(static_cast<float>(volume * 100));
      char message[128];
      std::snprintf(message, sizeof message, "Do you want Tessra to set volume to %ld%%?", percent);
      platform::Ref<platform::Object> app = application;
      const uint64_t generation = frontGeneration_;
      KelvaneTweakUtils::showAlertWithTitle(
          "Volume Confirmation", message, {"No", "Yes"}, [this, app, volume, generation](const std::string& title) {
            // A "Yes" given after the application left the front would set a
            // volume that nothing restores any more: it is ignored.
            if (title == "Yes" && generation == frontGeneration_ && lastForegroundApp_.get() == app.get())
              applyVolume(app, volume);
          });
    } else {
      applyVolume(application, volume);
    }
  }

  if (brightness >= 0) {
    // A restore glide may still be under way (a direct switch, Siri dismissed quickly): the brightness before
    // this app is the one the device is about to have, as for the volume.
    const std::optional<double> gliding = BrightnessManager::sharedInstance().glideTarget();
    record->brightnessBeforeOpening = gliding ? *gliding : mainScreenBrightness();
    BrightnessManager::sharedInstance().setBrightness(brightness, store.brightnessAnimated);
    TessraDebugLog::logf("%s : Set brightness %f", lastForegroundAppBundleId_.c_str(), brightness);
  }

  if (!hasToggles) return;
  const auto& entries = toggles.dictionary();
  // Record pass: what every customized toggle is now (actions included).
  for (const auto& [name, value] : entries) {
    const auto state = static_cast<int32_t>(value.integerValue());
    if (state == ToggleStateNotCustomized) continue;
    const ToggleType type = toggleTypeForName(name);
    record->togglesValuesBeforeOpening.set(name,
                                           platform::plist::Value(FlipswitchHelper::isToggleEnabled(type) ? 1 : 0));
  }
  // Apply pass.
  for (const auto& [name, value] : entries) {
    const auto state = static_cast<int32_t>(value.integerValue());
    if (state == ToggleStateNotCustomized) continue;
    const ToggleType type = toggleTypeForName(name);
    if (toggleTypeIsAction(type)) {
      ActionsHelper::performAction(type);
    } else if (type == ToggleTypeSmartInvertColors || type == ToggleTypeClassicInvertColors) {
      if (!conditionHolds(store.invertColors_onlyWithDarkModeEnabled, store.invertColors_onlyWithNightShiftEnabled))
        continue;
      FlipswitchHelper::setToggle(type, state != 0);
    } else if (type == ToggleTypeReduceWhitePoint) {
      if (!conditionHolds(store.reduceWhitePoint_onlyWithDarkModeEnabled,
                          store.reduceWhitePoint_onlyWithNightShiftEnabled))
        continue;
      FlipswitchHelper::setToggle(type, state != 0);
    } else {
      FlipswitchHelper::setToggle(type, state != 0);
    }
    TessraDebugLog::logf("%s : Set toggle %s to %ld", cString(bundleId), name.c_str(), static_cast<long>(state));
  }
}

// Before anything changes, what leaving will put back goes to the restore journal, so that a home screen that
// ends with this app's customization in force does not strand it.
void AppSwitchEngine::journalValuesBefore(const std::string& bundleId, bool volume, bool brightness,
                                          const platform::plist::Value& toggles) {
  platform::plist::Dictionary switchesBefore;
  if (toggles.isDictionary())
    for (const auto& [name, value] : toggles.dictionary()) {
      const ToggleType type = toggleTypeForName(name);
      if (static_cast<int32_t>(value.integerValue()) == ToggleStateNotCustomized || type == ToggleTypeUnknown ||
          toggleTypeIsAction(type))
        continue;
      switchesBefore.set(name, platform::plist::Value(FlipswitchHelper::isToggleEnabled(type) ? 1 : 0));
    }
  const std::optional<double> gliding = BrightnessManager::sharedInstance().glideTarget();
  RestoreJournal::record(bundleId, volume ? std::optional<double>(expectedVolume()) : std::nullopt,
                         brightness ? std::optional<double>(gliding ? *gliding : mainScreenBrightness()) : std::nullopt,
                         switchesBefore);
}

void AppSwitchEngine::applyVolume(id application, double target) {
  TessraAppRecord* record = TessraAppRecord::of(application);
  if (!record) return;
  record->volumeBeforeOpening = expectedVolume();
  requestVolume(target);
  TessraDebugLog::logf("%s : Set volume %f", lastForegroundAppBundleId_.c_str(), target);
}

void AppSwitchEngine::restorePreviousValuesForApplication(id application) {
  if (!application) return;
  TessraAppRecord* record = TessraAppRecord::of(application);
  record->valuesApplied = false;
  auto& store = TessraStorageManager::sharedInstance();
  const auto bundleId = bundleIdOf(application);
  const std::string key = bundleId.value_or("");

  if (store.restorePreviousVolumeOnAppExit && store.getVolumeForBundleId(key) >= 0 &&
      record->volumeBeforeOpening >= 0) {
    requestVolume(record->volumeBeforeOpening);
    TessraDebugLog::logf("%s : Restore volume %f", cString(bundleId), record->volumeBeforeOpening);
  }
  if (store.restorePreviousBrightnessOnAppExit && store.getBrightnessForBundleId(key) >= 0 &&
      record->brightnessBeforeOpening >= 0) {
    BrightnessManager::sharedInstance().setBrightness(record->brightnessBeforeOpening, store.brightnessAnimated);
    TessraDebugLog::logf("%s : Restore brightness %f", cString(bundleId), record->brightnessBeforeOpening);
  }
  for (const auto& [name, value] : record->togglesValuesBeforeOpening) {
    const long recorded = value.isNumber() ? static_cast<long>(value.integerValue()) : -1;
    if (recorded == -1) continue;
    const ToggleType type = toggleTypeForName(name);
    if (!TessraStorageManager::previousValueHasToBeRestoredIfChangedForToggle(type)) continue;
    FlipswitchHelper::setToggle(type, recorded != 0);
    TessraDebugLog::logf("%s : Restore toggle %s to %ld", cString(bundleId), name.c_str(), recorded);
  }
  RestoreJournal::clear();
}

void AppSwitchEngine::coverSheetDidPresent() {
  if (!TessraStorageManager::sharedInstance().hasToRestoreValuesOnLockScreen || coversheetIsPresented_) return;
  coversheetIsPresented_ = true;
  ++frontGeneration_;  // an apply still waiting from a direct switch must not run under the lock screen
  sbAppWhenCoversheetWasPresented_ = lastForegroundApp_;
  restorePreviousValuesForApplication(lastForegroundApp_);
}

void AppSwitchEngine::coverSheetDidDismiss() {
  if (!TessraStorageManager::sharedInstance().hasToRestoreValuesOnLockScreen || !coversheetIsPresented_) return;
  if (sbAppWhenCoversheetWasPresented_.get() != lastForegroundApp_.get()) return;
  coversheetIsPresented_ = false;
  applyCustomizationForApplication(lastForegroundApp_);
}

// The volume the device will have once the engine's pending requests are
// carried out: what an arriving application must record as its previous
// volume, rather than the leaving application's volume still in force.
double AppSwitchEngine::expectedVolume() const {
  if (deferredVolume_) return *deferredVolume_;
  if (requestedVolume_ && VolumeApplier::isAlreadyCurrentlyChangingVolume()) return *requestedVolume_;
  return FlipswitchHelper::getVolume();
}

// The volume operation drops a request while another is pending (0.3 s). The
// engine's own requests must not be lost that way (a direct switch restores
// one application's volume and sets the next one's 0.1 s later), so a request
// made while a change is pending waits for it, the latest one winning.
void AppSwitchEngine::requestVolume(double target) {
  if (!VolumeApplier::isAlreadyCurrentlyChangingVolume()) {
    requestedVolume_ = target;
    deferredVolume_.reset();
    VolumeApplier::applyVolume(target);
    return;
  }
  deferredVolume_ = target;
  if (!deferredScheduled_) {
    deferredScheduled_ = true;
    platform::dispatch_after(platform::seconds(kVolumeRetryInterval), platform::dispatch_get_main_queue(),
                             [this] { requestDeferredVolume(); });
  }
}

void AppSwitchEngine::requestDeferredVolume() {
  deferredScheduled_ = false;
  if (!deferredVolume_) return;
  double target = *deferredVolume_;
  deferredVolume_.reset();
  requestVolume(target);
}
