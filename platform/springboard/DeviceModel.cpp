#include "platform/springboard/DeviceModel.h"

#include <algorithm>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/HardwarePress.h"
#include "platform/springboard/HardwarePressesEvent.h"
#include "platform/springboard/LAActivator.h"
#include "platform/springboard/LAEvent.h"
#include "platform/springboard/SBApplication.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SBApplicationProcessState.h"
#include "platform/springboard/SBCoverSheetPresentationManager.h"
#include "platform/springboard/SBHomeGestureParticipant.h"
#include "platform/springboard/SBIconController.h"
#include "platform/springboard/SBReachabilityManager.h"
#include "platform/springboard/SimulatedDeviceInfo.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

namespace {

constexpr const char* kSiri = "com.apple.siri";
constexpr const char* kSpotlight = "com.apple.Spotlight";

// The apps every device has besides those configured.
void addSystemOverlays(std::vector<InstalledApp>& apps) {
  for (const auto& [bundle, name] : {std::pair{kSiri, "Siri"}, std::pair{kSpotlight, "Spotlight"}}) {
    bool present =
        std::any_of(apps.begin(), apps.end(), [&](const InstalledApp& a) { return a.bundleIdentifier == bundle; });
    if (!present) apps.push_back(InstalledApp{bundle, name, AppKind::System, ""});
  }
}

bool isOverlay(std::string_view bundleIdentifier) {
  return bundleIdentifier == kSiri || bundleIdentifier == kSpotlight;
}

}  // namespace

DeviceModel& DeviceModel::shared() {
  // Never destroyed: hooks and objects may still reach the device from static destructors.
  static DeviceModel* model = new DeviceModel;
  return *model;
}

DeviceModel::DeviceModel() : deviceInfo_(std::make_unique<SimulatedDeviceInfo>(*this)) { configure({}); }

void DeviceModel::configure(DeviceConfiguration config) {
  // The previous device's objects go first, while their classes still answer.
  std::vector<Ref<Object>> previous;  // released after the lock is dropped
  {
    std::lock_guard lock(sharedMutex_);
    size_t count = sharedCount_.exchange(0, std::memory_order_acq_rel);
    for (size_t i = 0; i < count; ++i) {
      previous.push_back(std::move(shared_[i].second));
      shared_[i].first = nullptr;
    }
  }
  previous.clear();
  SpringBoardClasses::unregisterAll(registeredClasses_);

  config_ = std::move(config);
  addSystemOverlays(config_.installedApps);
  profile_ = std::make_unique<SystemProfile>(config_);
  log_.clear();
  switches_.reset();
  appPreferences_.reset();
  audio_.reset();
  display_.reset();
  haptics_.reset(config_.feedbackSupportLevel);
  battery_.reset();
  apps_.reset(config_.installedApps);
  registeredClasses_ = SpringBoardClasses::registerAll(*profile_);
  DeviceInfo::install(deviceInfo_.get());
}

id DeviceModel::sharedObject(std::string_view className) { return sharedObject(Runtime::lookUpClass(className)); }

id DeviceModel::sharedObject(Class* cls) {
  if (!cls) return nullptr;
  // A handful of classes: a linear scan by pointer is the cheapest lookup.
  size_t count = sharedCount_.load(std::memory_order_acquire);
  for (size_t i = 0; i < count; ++i) {
    if (shared_[i].first == cls) return shared_[i].second;
  }
  // Made outside the lock (making it may ask for other shared objects); a racing twin is dropped.
  Ref<Object> obj = class_createInstance(cls);
  if (!obj) return nullptr;
  std::lock_guard lock(sharedMutex_);
  count = sharedCount_.load(std::memory_order_relaxed);
  for (size_t i = 0; i < count; ++i) {
    if (shared_[i].first == cls) return shared_[i].second;
  }
  if (count == kMaxSharedObjects) return nullptr;
  shared_[count] = {cls, std::move(obj)};
  sharedCount_.store(count + 1, std::memory_order_release);
  return shared_[count].second;
}

void DeviceModel::updateProcess(std::string_view bundleIdentifier, long visibility, bool running) {
  SBApplicationController* controller = SBApplicationController::sharedInstance();
  auto* app = dynamic_cast<SBApplication*>(
      controller ? controller->applicationWithBundleIdentifier(std::string(bundleIdentifier)) : nullptr);
  if (!app) return;
  Ref<SBApplicationProcessState> state = SBApplicationProcessState::create(visibility, running);
  app->_updateProcess(nullptr, state);
}

// --- Apps

bool DeviceModel::openApp(std::string_view bundleIdentifier) {
  if (apps_.locked() || isOverlay(bundleIdentifier) || !apps_.installedApp(bundleIdentifier)) return false;
  if (apps_.frontApp() == bundleIdentifier) return false;
  dismissSiri();
  dismissSpotlight();
  dismissSystemOverlays();
  std::string previous = apps_.frontApp();
  SBIconController* icons = SBIconController::sharedInstance();
  if (previous.empty() && icons) icons->viewWillDisappear(true);
  apps_.setFrontApp(std::string(bundleIdentifier));
  apps_.markUsed(bundleIdentifier);
  log_.record("open " + std::string(bundleIdentifier));
  // The arriving app's process comes to the foreground first, then the one it replaces leaves it.
  updateProcess(bundleIdentifier, SBApplicationProcessState::kVisibilityForeground, true);
  if (!previous.empty()) updateProcess(previous, SBApplicationProcessState::kVisibilityBackground, true);
  if (previous.empty() && icons) icons->viewDidDisappear(true);
  return true;
}

bool DeviceModel::goHome() {
  if (apps_.locked()) return false;
  bool changed = dismissSiri() | dismissSpotlight();
  if (apps_.frontApp().empty()) return changed;
  std::string previous = apps_.frontApp();
  apps_.setFrontApp("");
  log_.record("home");
  updateProcess(previous, SBApplicationProcessState::kVisibilityBackground, true);
  if (SBIconController* icons = SBIconController::sharedInstance()) {
    icons->viewWillAppear(true);
    icons->viewDidAppear(true);
  }
  return true;
}

bool DeviceModel::quitApp(std::string_view bundleIdentifier) {
  if (!apps_.isRunning(bundleIdentifier)) return false;
  std::string id(bundleIdentifier);
  if (apps_.frontApp() == id) {
    if (apps_.locked()) {
      apps_.setFrontApp("");
    } else {
      goHome();
    }
  }
  apps_.removeRunning(id);
  log_.record("quit " + id);
  updateProcess(id, SBApplicationProcessState::kVisibilityUnknown, false);
  if (audio_.nowPlayingBundleIdentifier() == id) {
    if (audio_.isPlaying()) audio_.setPlaying(false);
    audio_.setNowPlayingBundleIdentifier("");
  }
  return true;
}

bool DeviceModel::lock() {
  if (apps_.locked()) return false;
  dismissSystemOverlays();
  apps_.setLocked(true);
  log_.record("lock");
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidPresent();
  }
  return true;
}

bool DeviceModel::unlock() {
  if (!apps_.locked()) return false;
  apps_.setLocked(false);
  log_.record("unlock");
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidDismiss();
  }
  return true;
}

bool DeviceModel::showSiri() {
  if (apps_.siriVisible()) return false;
  apps_.setSiriVisible(true);
  log_.record("siri shown");
  updateProcess(kSiri, SBApplicationProcessState::kVisibilityForeground, true);
  return true;
}

bool DeviceModel::dismissSiri() {
  if (!apps_.siriVisible()) return false;
  apps_.setSiriVisible(false);
  log_.record("siri dismissed");
  updateProcess(kSiri, SBApplicationProcessState::kVisibilityBackground, true);
  return true;
}

bool DeviceModel::showSpotlight() {
  if (apps_.spotlightVisible()) return false;
  apps_.setSpotlightVisible(true);
  log_.record("spotlight shown");
  updateProcess(kSpotlight, SBApplicationProcessState::kVisibilityForeground, true);
  return true;
}

bool DeviceModel::dismissSpotlight() {
  if (!apps_.spotlightVisible()) return false;
  apps_.setSpotlightVisible(false);
  log_.record("spotlight dismissed");
  updateProcess(kSpotlight, SBApplicationProcessState::kVisibilityBackground, true);
  return true;
}

// --- Gestures and buttons

bool DeviceModel::pressButtons(const std::vector<ButtonPress>& presses) {
  ObjectArray objects;
  std::string text = "buttons";
  for (const ButtonPress& p : presses) {
    objects.push_back(HardwarePress::create(p.type, p.force));
    text += " " + std::to_string(p.type) + (p.force >= 1.0 ? " down" : " up");
  }
  log_.record(std::move(text));
  Ref<HardwarePressesEvent> event = HardwarePressesEvent::create(std::move(objects));
  SpringBoard* springBoard = SpringBoard::sharedApplication();
  return springBoard && springBoard->_handlePhysicalButtonEvent(event);
}

bool DeviceModel::swipeHome() {
  SBHomeGestureParticipant* participant = SBHomeGestureParticipant::current();
  const bool owns = participant && participant->ownsHomeGesture();
  const char* coverSheet = apps_.locked() || apps_.notificationCenterVisible() ? "shown" : "hidden";
  log_.record(std::string("home gesture: ownsHomeGesture -> ") + (owns ? "YES" : "NO") + " (cover sheet " + coverSheet +
              ")" + (owns ? "" : ", ignored"));
  if (!owns) return false;
  if (apps_.locked()) return unlock();
  if (apps_.notificationCenterVisible() || apps_.controlCenterVisible()) {
    dismissSystemOverlays();
    return true;
  }
  return goHome();
}

namespace {

SBApplication* frontApplication(const AppsState& apps) {
  if (apps.frontApp().empty()) return nullptr;
  SBApplicationController* controller = SBApplicationController::sharedInstance();
  return controller ? dynamic_cast<SBApplication*>(controller->applicationWithBundleIdentifier(apps.frontApp()))
                    : nullptr;
}

}  // namespace

bool DeviceModel::openControlCenter() {
  if (apps_.controlCenterVisible()) return false;
  if (SBApplication* front = frontApplication(apps_)) {
    const bool suppressed = front->suppressesControlCenter();
    log_.record(std::string("control center: suppressesControlCenter -> ") +
                (suppressed ? "YES, blocked" : "NO, opened"));
    if (suppressed) return false;
  } else {
    log_.record("control center: opened over the home screen");
  }
  apps_.setControlCenterVisible(true);
  return true;
}

bool DeviceModel::openNotificationCenter() {
  if (apps_.notificationCenterVisible() || apps_.locked()) return false;
  if (SBApplication* front = frontApplication(apps_)) {
    const bool suppressed = front->suppressesCoverSheetGesture();
    log_.record(std::string("notification center: suppressesCoverSheetGesture -> ") +
                (suppressed ? "YES, blocked" : "NO, opened"));
    if (suppressed) return false;
  } else {
    log_.record("notification center: opened over the home screen");
  }
  apps_.setNotificationCenterVisible(true);
  // The Notification Center is the cover sheet pulled down over the app.
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidPresent();
  }
  return true;
}

void DeviceModel::dismissSystemOverlays() {
  if (apps_.controlCenterVisible()) {
    apps_.setControlCenterVisible(false);
    log_.record("control center dismissed");
  }
  if (apps_.notificationCenterVisible()) {
    apps_.setNotificationCenterVisible(false);
    log_.record("notification center dismissed");
    if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
      coverSheet->_notifyDelegateDidDismiss();
    }
  }
}

bool DeviceModel::activateReachability() {
  if (profile_->kind() == DeviceKind::Tablet) return false;
  SBReachabilityManager* manager = SBReachabilityManager::sharedInstance();
  const bool allowed = manager && manager->canActivateReachability();
  log_.record(std::string("reachability: canActivateReachability -> ") + (allowed ? "YES, opened" : "NO, blocked"));
  if (!allowed) return false;
  apps_.setReachabilityActive(true);
  return true;
}

bool DeviceModel::sendActivatorEvent(std::string name) {
  LAActivator* activator = LAActivator::sharedInstance();
  if (!activator) return false;
  log_.record("activator: sendEventToListener: " + name);
  Ref<LAEvent> event = LAEvent::create(std::move(name));
  activator->sendEventToListener(event);
  return true;
}

// --- Media

void DeviceModel::startPlaying(std::string bundleIdentifier) {
  audio_.setNowPlayingBundleIdentifier(std::move(bundleIdentifier));
  audio_.setPlaying(true);
}

void DeviceModel::stopPlaying() { audio_.setPlaying(false); }

}  // namespace platform::springboard
