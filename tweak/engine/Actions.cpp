#include "tweak/engine/Actions.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "tweak/engine/HomeGestureReplacement.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/KelvaneTweakUtils.h"
#include "tweak/toast/ToastHelper.h"

using platform::id;
using platform::msgSend;
using platform::SEL;

namespace {

using Text = std::optional<std::string>;
using BannerCompletion = std::function<void()>;

// SpringBoard's own implementations, called by the hooks.
bool (*orig_suppressesControlCenter)(id, SEL) = nullptr;
bool (*orig_suppressesCoverSheetGesture)(id, SEL) = nullptr;
bool (*orig_canActivateReachability)(id, SEL) = nullptr;
bool (*orig_ownsHomeGesture)(id, SEL) = nullptr;
bool (*orig_handlePhysicalButtonEvent)(id, SEL, id) = nullptr;
void (*orig_sendEventToListener)(id, SEL, id) = nullptr;
void (*orig_alertViewWillAppear)(id, SEL, bool) = nullptr;
void (*orig_presentWithSourceAction)(id, SEL, id, bool, id, id, BannerCompletion) = nullptr;
void (*orig_present)(id, SEL, id, bool, id, BannerCompletion) = nullptr;

std::string describe(const platform::Object* object) {
  if (!object) return "(null)";
  char text[128];
  std::snprintf(text, sizeof text, "<%s: %p>", platform::object_getClassName(object), static_cast<const void*>(object));
  return text;
}

std::string describe(const BannerCompletion& completion) {
  if (!completion) return "(null)";
  char text[64];
  std::snprintf(text, sizeof text, "<__NSMallocBlock__: %p>", static_cast<const void*>(&completion));
  return text;
}

// The debug line of a banner presentation, as the system log shows it.
void logPresentation(int line, id self, id controller, bool modal, id request, const id* sourceAction,
                     const BannerCompletion& completion) {
  std::string text = "[Actions:" + std::to_string(line) + "] -[" + describe(self) +
                     " _presentNotificationViewController:" + describe(controller) + " modal:" + (modal ? "1" : "0") +
                     " forRequest:" + describe(request);
  if (sourceAction) text += " sourceAction:" + describe(*sourceAction);
  text += " completion:" + describe(completion) + "]";
  platform::Log::write(text);
}

// --- The simple rules

bool hook_suppressesControlCenter(id self, SEL sel) {
  const bool system = orig_suppressesControlCenter && orig_suppressesControlCenter(self, sel);
  return Actions::isBehaviourActive(ToggleTypeDisableCC) || system;
}

bool hook_suppressesCoverSheetGesture(id self, SEL sel) {
  const bool system = orig_suppressesCoverSheetGesture && orig_suppressesCoverSheetGesture(self, sel);
  return Actions::isBehaviourActive(ToggleTypeDisableNC) || system;
}

bool hook_canActivateReachability(id self, SEL sel) {
  const bool system = orig_canActivateReachability && orig_canActivateReachability(self, sel);
  return !Actions::isBehaviourActive(ToggleTypeDisableReachability) && system;
}

bool coverSheetIsVisible() {
  static platform::ClassHandle coverSheetClass("SBCoverSheetPresentationManager");
  id manager = msgSend<id>(coverSheetClass.get(), SELECTOR("sharedInstance"));
  return msgSend<bool>(manager, SELECTOR("isVisible"));
}

bool hook_ownsHomeGesture(id self, SEL sel) {
  const bool system = orig_ownsHomeGesture && orig_ownsHomeGesture(self, sel);
  // The home gesture still works on the lock screen and the cover sheet.
  if (Actions::isBehaviourActive(ToggleTypeDisableHomeGesture) && !coverSheetIsVisible()) return false;
  return system;
}

bool hook_handlePhysicalButtonEvent(id self, SEL sel, id event) {
  if (!Actions::isBehaviourActive(ToggleTypeDisableHomeGesture))
    return orig_handlePhysicalButtonEvent ? orig_handlePhysicalButtonEvent(self, sel, event) : false;
  return HomeGestureReplacement::handleButtonEvent(self, sel, event, orig_handlePhysicalButtonEvent);
}

void hook_sendEventToListener(id self, SEL sel, id event) {
  if (Actions::isBehaviourActive(ToggleTypeDisableActivator)) return;  // the event is dropped
  if (orig_sendEventToListener) orig_sendEventToListener(self, sel, event);
}

// --- Hidden banners

void hideBanner(id destination, id controller) {
  auto& storage = TessraStorageManager::sharedInstance();
  platform::Ref<platform::Object> heldDestination = destination;
  platform::Ref<platform::Object> heldController = controller;
  platform::dispatch_async(platform::dispatch_get_main_queue(), [heldDestination, heldController] {
    id view = msgSend<id>(heldController.get(), SELECTOR("view"));
    msgSend<void, bool>(view, SELECTOR("setHidden:"), true);
    id target = heldDestination.get();
    if (platform::respondsToSelector(target, SELECTOR("dismissPresentedBannerAnimated:")))
      msgSend<void, bool>(target, SELECTOR("dismissPresentedBannerAnimated:"), false);
    else if (platform::respondsToSelector(target, SELECTOR("_dismissPresentedBannerAnimated:reason:forceIfSticky:")))
      msgSend<void, bool, id, bool>(target, SELECTOR("_dismissPresentedBannerAnimated:reason:forceIfSticky:"), true,
                                    nullptr, true);
  });
  if (!storage.hideNotificationBanners_showToastsEnabled) return;

  id request = msgSend<id>(controller, SELECTOR("notificationRequest"));
  id content = msgSend<id>(request, SELECTOR("content"));
  Text title = msgSend<Text>(content, SELECTOR("title"));
  Text message = msgSend<Text>(content, SELECTOR("message"));
  Text subtitle = msgSend<Text>(content, SELECTOR("subtitle"));
  auto icon = msgSend<std::shared_ptr<platform::UIImage>>(content, SELECTOR("icon"));
  // "%@ - %@": a missing title reads "(null)", as a format does.
  if (subtitle) title = title.value_or("(null)") + " - " + *subtitle;
  ToastHelper::showToastWithTitle(std::move(title), std::move(message), Actions::kToastDuration, std::move(icon),
                                  KelvaneTweakUtils::topMostController());
}

void hook_presentWithSourceAction(id self, SEL sel, id controller, bool modal, id request, id sourceAction,
                                  BannerCompletion completion) {
  logPresentation(__LINE__, self, controller, modal, request, &sourceAction, completion);
  if (orig_presentWithSourceAction)
    orig_presentWithSourceAction(self, sel, controller, modal, request, sourceAction, std::move(completion));
  if (Actions::isBehaviourActive(ToggleTypeHideNotificationBanners)) hideBanner(self, controller);
}

void hook_present(id self, SEL sel, id controller, bool modal, id request, BannerCompletion completion) {
  logPresentation(__LINE__, self, controller, modal, request, nullptr, completion);
  if (orig_present) orig_present(self, sel, controller, modal, request, std::move(completion));
  if (Actions::isBehaviourActive(ToggleTypeHideNotificationBanners)) hideBanner(self, controller);
}

// --- Hidden stock alerts

bool isWhitelisted(id alertItem) {
  const std::string_view name = platform::object_getClassName(alertItem);
  return std::ranges::find(Actions::kAlertWhitelist, name) != Actions::kAlertWhitelist.end();
}

void hook_alertViewWillAppear(id self, SEL sel, bool animated) {
  id item = msgSend<id>(self, SELECTOR("alertItem"));
  if (isWhitelisted(item) || !Actions::isBehaviourActive(ToggleTypeHideStockAlerts)) {
    if (orig_alertViewWillAppear) orig_alertViewWillAppear(self, sel, animated);
    return;
  }
  msgSend<void, bool>(self, SELECTOR("_setHidden:"), true);
  static platform::ClassHandle itemsControllerClass("SBAlertItemsController");
  id itemsController = msgSend<id>(itemsControllerClass.get(), SELECTOR("sharedInstance"));
  msgSend<void, id>(itemsController, SELECTOR("deactivateAlertItem:"), item);
  if (!TessraStorageManager::sharedInstance().hideStockAlerts_showToastsEnabled) return;

  Text title = msgSend<Text>(self, SELECTOR("title"));
  Text message = msgSend<Text>(self, SELECTOR("message"));
  platform::dispatch_after(platform::seconds(Actions::kAlertToastDelay), platform::dispatch_get_main_queue(),
                           [title = std::move(title), message = std::move(message)] {
                             if (!title && !message) return;
                             ToastHelper::showToastWithTitle(title, message, Actions::kToastDuration, nullptr,
                                                             KelvaneTweakUtils::topMostController());
                           });
}

// Installs one hook; a class missing on the device leaves it out (logged by the runtime).
template <class Fn>
void hook(const char* className, const char* selector, Fn replacement, Fn* previous) {
  platform::Class* cls = platform::objc_getClass(className);
  if (!cls) return;
  platform::MSHookMessageEx(cls, platform::sel_registerName(selector), replacement, previous);
}

}  // namespace

bool Actions::isBehaviourActive(ToggleType type) {
  const TessraStorageManager& storage = TessraStorageManager::sharedInstance();
  const std::optional<std::string>& front = storage.currentForegroundAppBundleId();
  return front && storage.getStateForToggle(type, *front) == ToggleStateOn;
}

void Actions::installBehaviourHooks() {
  hook("SBApplication", "suppressesControlCenter", &hook_suppressesControlCenter, &orig_suppressesControlCenter);
  hook("SBApplication", "suppressesCoverSheetGesture", &hook_suppressesCoverSheetGesture,
       &orig_suppressesCoverSheetGesture);
  hook("SBReachabilityManager", "canActivateReachability", &hook_canActivateReachability,
       &orig_canActivateReachability);
  hook("SBHomeGestureParticipant", "ownsHomeGesture", &hook_ownsHomeGesture, &orig_ownsHomeGesture);
  hook("SpringBoard", "_handlePhysicalButtonEvent:", &hook_handlePhysicalButtonEvent, &orig_handlePhysicalButtonEvent);
  platform::class_addMethod(platform::objc_getClass("SpringBoard"), SELECTOR("tessra_powerButtonLongPressed"),
                            &tessra_powerButtonLongPressed, "v@:");
  hook("_LAActivator", "sendEventToListener:", &hook_sendEventToListener, &orig_sendEventToListener);
  hook("_SBAlertController", "viewWillAppear:", &hook_alertViewWillAppear, &orig_alertViewWillAppear);
  // Each system version answers one of the two; the other is absent and stays unhooked.
  platform::Class* destination = platform::objc_getClass("SBNotificationBannerDestination");
  if (platform::class_respondsToSelector(
          destination, SELECTOR("_presentNotificationViewController:modal:forRequest:sourceAction:completion:")))
    hook("SBNotificationBannerDestination",
         "_presentNotificationViewController:modal:forRequest:sourceAction:completion:", &hook_presentWithSourceAction,
         &orig_presentWithSourceAction);
  if (platform::class_respondsToSelector(destination,
                                         SELECTOR("_presentNotificationViewController:modal:forRequest:completion:")))
    hook("SBNotificationBannerDestination",
         "_presentNotificationViewController:modal:forRequest:completion:", &hook_present, &orig_present);
}
