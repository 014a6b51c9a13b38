#include "platform/springboard/SpringBoardClasses.h"

#include "platform/springboard/AXSettings.h"
#include "platform/springboard/BluetoothManager.h"
#include "platform/springboard/CurrentDevice.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/FSSwitchPanel.h"
#include "platform/springboard/HardwarePress.h"
#include "platform/springboard/HardwarePressesEvent.h"
#include "platform/springboard/ImpactFeedbackGenerator.h"
#include "platform/springboard/LAActivator.h"
#include "platform/springboard/LAEvent.h"
#include "platform/springboard/MainScreen.h"
#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/PSBrightnessSettingsDetail.h"
#include "platform/springboard/SBAlertController.h"
#include "platform/springboard/SBAlertItem.h"
#include "platform/springboard/SBAlertItemsController.h"
#include "platform/springboard/SBAppLayout.h"
#include "platform/springboard/SBApplication.h"
#include "platform/springboard/SBApplicationController.h"
#include "platform/springboard/SBApplicationProcessState.h"
#include "platform/springboard/SBBrightnessController.h"
#include "platform/springboard/SBCoverSheetPresentationManager.h"
#include "platform/springboard/SBDisplayBrightnessController.h"
#include "platform/springboard/SBDisplayItem.h"
#include "platform/springboard/SBFloatingDockView.h"
#include "platform/springboard/SBFluidSwitcherGestureManager.h"
#include "platform/springboard/SBHomeGestureParticipant.h"
#include "platform/springboard/SBHomeGrabberView.h"
#include "platform/springboard/SBIconController.h"
#include "platform/springboard/SBMainSwitcherViewController.h"
#include "platform/springboard/SBMainWorkspace.h"
#include "platform/springboard/SBMediaController.h"
#include "platform/springboard/SBNotificationBannerDestination.h"
#include "platform/springboard/SBReachabilityManager.h"
#include "platform/springboard/SBRingerControl.h"
#include "platform/springboard/SBVolumeControl.h"
#include "platform/springboard/SharedObjects.h"
#include "platform/springboard/SpringBoard.h"
#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/UIUserInterfaceStyleArbiter.h"

namespace platform::springboard {

namespace {
// The names registered by the registerAll() in progress.
std::vector<std::string>* collecting = nullptr;
}  // namespace

std::vector<std::string> SpringBoardClasses::registerAll(const SystemProfile& profile) {
  std::vector<std::string> names;
  collecting = &names;
  // Application objects and the home screen.
  SpringBoard::registerClass(profile);
  SBApplicationProcessState::registerClass(profile);
  SBApplication::registerClass(profile);
  SBApplicationController::registerClass(profile);
  SBIconController::registerClass(profile);
  SBCoverSheetPresentationManager::registerClass(profile);
  SBFloatingDockView::registerClass(profile);
  // The switcher.
  SBDisplayItem::registerClass(profile);
  SBAppLayout::registerClass(profile);
  SBHomeGrabberView::registerClass(profile);
  SBFluidSwitcherGestureManager::registerClass(profile);
  SBMainSwitcherViewController::registerClass(profile);
  // Volume, brightness and haptics.
  SBMediaController::registerClass(profile);
  SBVolumeControl::registerClass(profile);
  SBDisplayBrightnessController::registerClass(profile);
  SBBrightnessController::registerClass(profile);
  PSBrightnessSettingsDetail::registerClass(profile);
  MainScreen::registerClass(profile);
  CurrentDevice::registerClass(profile);
  ImpactFeedbackGenerator::registerClass(profile);
  // System switches.
  FSSwitchPanel::registerClass(profile);
  BluetoothManager::registerClass(profile);
  AXSettings::registerClass(profile);
  UIUserInterfaceStyleArbiter::registerClass(profile);
  SBRingerControl::registerClass(profile);
  SBMainWorkspace::registerClass(profile);
  // Gestures, buttons and Activator.
  SBReachabilityManager::registerClass(profile);
  SBHomeGestureParticipant::registerClass(profile);
  HardwarePress::registerClass(profile);
  HardwarePressesEvent::registerClass(profile);
  LAActivator::registerClass(profile);
  LAEvent::registerClass(profile);
  // Banners and system alerts.
  NCNotificationContent::registerClass(profile);
  NCNotificationRequest::registerClass(profile);
  NCNotificationShortLookView::registerClass(profile);
  NCNotificationShortLookViewController::registerClass(profile);
  SBNotificationBannerDestination::registerClass(profile);
  SBAlertItem::registerClass(profile);
  SBAlertController::registerClass(profile);
  SBAlertItemsController::registerClass(profile);
  collecting = nullptr;
  return names;
}

void SpringBoardClasses::unregisterAll(const std::vector<std::string>& names) {
  for (const std::string& name : names) Runtime::unregisterClass(name);
}

Class* SpringBoardClasses::ensure(std::string name) {
  if (Class* existing = Runtime::lookUpClass(name)) return existing;
  return define<Object>(std::move(name));
}

id SpringBoardClasses::sharedInstanceImp(id cls, SEL) {
  // A class method is only ever sent to a class object.
  return SharedObjects::shared().get(static_cast<Class*>(cls));
}

void SpringBoardClasses::setBrightnessLevelImp(id, SEL, float level, bool showHUD) {
  DeviceState::shared().display().setBrightness(level, showHUD);
}

Class* SpringBoardClasses::superclassFor(std::string_view name) {
  Class* super = Runtime::lookUpClass(name);
  return super ? super : Runtime::rootClass();
}

void SpringBoardClasses::noteRegistered(std::string name) {
  if (collecting) collecting->push_back(std::move(name));
}

}  // namespace platform::springboard
