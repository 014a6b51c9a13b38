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
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SimulatedDeviceInfo.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform::springboard {

DeviceModel& DeviceModel::shared() {
  // Never destroyed: hooks and objects may still reach the device from static destructors.
  static DeviceModel* model = new DeviceModel;
  return *model;
}

DeviceModel::DeviceModel() : state_(DeviceState::shared()), deviceInfo_(std::make_unique<SimulatedDeviceInfo>(state_)) {
  configure({});
}

void DeviceModel::configure(DeviceConfiguration config) {
  // The previous device's objects go first, while their classes still answer.
  SharedObjects::shared().clear();
  SpringBoardClasses::unregisterAll(registeredClasses_);
  state_.reset(std::move(config));
  registeredClasses_ = SpringBoardClasses::registerAll(state_.profile());
  DeviceInfo::install(deviceInfo_.get());
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
  if (state_.apps().locked() || DeviceState::isSystemOverlay(bundleIdentifier) ||
      !state_.apps().installedApp(bundleIdentifier))
    return false;
  if (state_.apps().frontApp() == bundleIdentifier) return false;
  dismissSiri();
  dismissSpotlight();
  dismissSystemOverlays();
  std::string previous = state_.apps().frontApp();
  SBIconController* icons = SBIconController::sharedInstance();
  if (previous.empty() && icons) icons->viewWillDisappear(true);
  state_.apps().setFrontApp(std::string(bundleIdentifier));
  state_.apps().markUsed(bundleIdentifier);
  state_.eventLog().record("open " + std::string(bundleIdentifier));
  // The arriving app's process comes to the foreground first, then the one it replaces leaves it.
  updateProcess(bundleIdentifier, SBApplicationProcessState::kVisibilityForeground, true);
  if (!previous.empty()) updateProcess(previous, SBApplicationProcessState::kVisibilityBackground, true);
  if (previous.empty() && icons) icons->viewDidDisappear(true);
  return true;
}

bool DeviceModel::goHome() {
  if (state_.apps().locked()) return false;
  bool changed = dismissSiri() | dismissSpotlight();
  if (state_.apps().frontApp().empty()) return changed;
  std::string previous = state_.apps().frontApp();
  state_.apps().setFrontApp("");
  state_.eventLog().record("home");
  updateProcess(previous, SBApplicationProcessState::kVisibilityBackground, true);
  if (SBIconController* icons = SBIconController::sharedInstance()) {
    icons->viewWillAppear(true);
    icons->viewDidAppear(true);
  }
  return true;
}

bool DeviceModel::quitApp(std::string_view bundleIdentifier) {
  if (!state_.apps().isRunning(bundleIdentifier)) return false;
  std::string id(bundleIdentifier);
  if (state_.apps().frontApp() == id) {
    if (state_.apps().locked()) {
      state_.apps().setFrontApp("");
    } else {
      goHome();
    }
  }
  state_.apps().removeRunning(id);
  state_.eventLog().record("quit " + id);
  updateProcess(id, SBApplicationProcessState::kVisibilityUnknown, false);
  if (state_.audio().nowPlayingBundleIdentifier() == id) {
    if (state_.audio().isPlaying()) state_.audio().setPlaying(false);
    state_.audio().setNowPlayingBundleIdentifier("");
  }
  return true;
}

bool DeviceModel::lock() {
  if (state_.apps().locked()) return false;
  dismissSystemOverlays();
  state_.apps().setLocked(true);
  state_.eventLog().record("lock");
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidPresent();
  }
  return true;
}

bool DeviceModel::unlock() {
  if (!state_.apps().locked()) return false;
  state_.apps().setLocked(false);
  state_.eventLog().record("unlock");
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidDismiss();
  }
  return true;
}

bool DeviceModel::showSiri() {
  if (state_.apps().siriVisible()) return false;
  state_.apps().setSiriVisible(true);
  state_.eventLog().record("siri shown");
  updateProcess(kSiriBundleIdentifier, SBApplicationProcessState::kVisibilityForeground, true);
  return true;
}

bool DeviceModel::dismissSiri() {
  if (!state_.apps().siriVisible()) return false;
  state_.apps().setSiriVisible(false);
  state_.eventLog().record("siri dismissed");
  updateProcess(kSiriBundleIdentifier, SBApplicationProcessState::kVisibilityBackground, true);
  return true;
}

bool DeviceModel::showSpotlight() {
  if (state_.apps().spotlightVisible()) return false;
  state_.apps().setSpotlightVisible(true);
  state_.eventLog().record("spotlight shown");
  updateProcess(kSpotlightBundleIdentifier, SBApplicationProcessState::kVisibilityForeground, true);
  return true;
}

bool DeviceModel::dismissSpotlight() {
  if (!state_.apps().spotlightVisible()) return false;
  state_.apps().setSpotlightVisible(false);
  state_.eventLog().record("spotlight dismissed");
  updateProcess(kSpotlightBundleIdentifier, SBApplicationProcessState::kVisibilityBackground, true);
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
  state_.eventLog().record(std::move(text));
  Ref<HardwarePressesEvent> event = HardwarePressesEvent::create(std::move(objects));
  SpringBoard* springBoard = SpringBoard::sharedApplication();
  const bool handled = springBoard && springBoard->_handlePhysicalButtonEvent(event);
  // What the event led to (a lock, a home press) is traced in between.
  state_.eventLog().record(std::string("buttons: _handlePhysicalButtonEvent: -> ") + (handled ? "YES" : "NO"));
  return handled;
}

bool DeviceModel::swipeHome() {
  SBHomeGestureParticipant* participant = SBHomeGestureParticipant::current();
  const bool owns = participant && participant->ownsHomeGesture();
  const char* coverSheet = state_.apps().locked() || state_.apps().notificationCenterVisible() ? "shown" : "hidden";
  state_.eventLog().record(std::string("home gesture: ownsHomeGesture -> ") + (owns ? "YES" : "NO") + " (cover sheet " +
                           coverSheet + ")" + (owns ? "" : ", ignored"));
  if (!owns) return false;
  if (state_.apps().locked()) return unlock();
  if (state_.apps().notificationCenterVisible() || state_.apps().controlCenterVisible()) {
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
  if (state_.apps().controlCenterVisible()) return false;
  if (SBApplication* front = frontApplication(state_.apps())) {
    const bool suppressed = front->suppressesControlCenter();
    state_.eventLog().record(std::string("control center: suppressesControlCenter -> ") +
                             (suppressed ? "YES, blocked" : "NO, opened"));
    if (suppressed) return false;
  } else {
    state_.eventLog().record("control center: opened over the home screen");
  }
  state_.apps().setControlCenterVisible(true);
  return true;
}

bool DeviceModel::openNotificationCenter() {
  if (state_.apps().notificationCenterVisible() || state_.apps().locked()) return false;
  if (SBApplication* front = frontApplication(state_.apps())) {
    const bool suppressed = front->suppressesCoverSheetGesture();
    state_.eventLog().record(std::string("notification center: suppressesCoverSheetGesture -> ") +
                             (suppressed ? "YES, blocked" : "NO, opened"));
    if (suppressed) return false;
  } else {
    state_.eventLog().record("notification center: opened over the home screen");
  }
  state_.apps().setNotificationCenterVisible(true);
  // The Notification Center is the cover sheet pulled down over the app.
  if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
    coverSheet->_notifyDelegateDidPresent();
  }
  return true;
}

void DeviceModel::dismissSystemOverlays() {
  if (state_.apps().controlCenterVisible()) {
    state_.apps().setControlCenterVisible(false);
    state_.eventLog().record("control center dismissed");
  }
  if (state_.apps().notificationCenterVisible()) {
    state_.apps().setNotificationCenterVisible(false);
    state_.eventLog().record("notification center dismissed");
    if (SBCoverSheetPresentationManager* coverSheet = SBCoverSheetPresentationManager::sharedInstance()) {
      coverSheet->_notifyDelegateDidDismiss();
    }
  }
}

bool DeviceModel::activateReachability() {
  if (state_.profile().kind() == DeviceKind::Tablet) return false;
  SBReachabilityManager* manager = SBReachabilityManager::sharedInstance();
  const bool allowed = manager && manager->canActivateReachability();
  state_.eventLog().record(std::string("reachability: canActivateReachability -> ") +
                           (allowed ? "YES, opened" : "NO, blocked"));
  if (!allowed) return false;
  state_.apps().setReachabilityActive(true);
  return true;
}

bool DeviceModel::sendActivatorEvent(std::string name) {
  LAActivator* activator = LAActivator::sharedInstance();
  if (!activator) return false;
  state_.eventLog().record("activator: sendEventToListener: " + name);
  Ref<LAEvent> event = LAEvent::create(std::move(name));
  activator->sendEventToListener(event);
  return true;
}

// --- Media

void DeviceModel::startPlaying(std::string bundleIdentifier) {
  state_.audio().setNowPlayingBundleIdentifier(std::move(bundleIdentifier));
  state_.audio().setPlaying(true);
}

void DeviceModel::stopPlaying() { state_.audio().setPlaying(false); }

}  // namespace platform::springboard
