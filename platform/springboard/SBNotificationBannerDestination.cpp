#include "platform/springboard/SBNotificationBannerDestination.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;
using Completion = SBNotificationBannerDestination::Completion;

namespace {

SBNotificationBannerDestination& destination(id obj) { return *static_cast<SBNotificationBannerDestination*>(obj); }

std::string quotedOrNil(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "nil"; }

}  // namespace

SBNotificationBannerDestination* SBNotificationBannerDestination::sharedInstance() {
  static ClassHandle cls("SBNotificationBannerDestination");
  return dynamic_cast<SBNotificationBannerDestination*>(msgSend<id>(cls.get(), SELECTOR("sharedInstance")));
}

void SBNotificationBannerDestination::present(NCNotificationShortLookViewController* controller, bool modal,
                                              Completion completion) {
  id request = controller ? controller->notificationRequest() : nullptr;
  if (DeviceState::shared().profile().presentsBannersWithSourceAction()) {
    msgSend<void, id, bool, id, id, Completion>(this, SELECTOR(kPresentWithSourceAction), controller, modal, request,
                                                nullptr, std::move(completion));
  } else {
    msgSend<void, id, bool, id, Completion>(this, SELECTOR(kPresent), controller, modal, request,
                                            std::move(completion));
  }
}

NCNotificationShortLookViewController* SBNotificationBannerDestination::presentedBanner() const {
  return static_cast<NCNotificationShortLookViewController*>(presented_.get());
}

void SBNotificationBannerDestination::presentNow(id controller, id request, const Completion& completion,
                                                 const char* selector) {
  presented_ = controller;
  dismissed_ = false;
  auto* notification = dynamic_cast<NCNotificationRequest*>(request);
  auto* content = notification ? dynamic_cast<NCNotificationContent*>(notification->content()) : nullptr;
  std::string text = "banner " + (notification ? notification->sectionIdentifier() : std::string("?")) + " " +
                     (content ? quotedOrNil(content->title()) : std::string("nil")) + " presented with " + selector;
  DeviceState::shared().eventLog().record(std::move(text));
  if (completion) completion();
}

void SBNotificationBannerDestination::dismissNow(const char* selector) {
  if (!presented_ || dismissed_) return;
  dismissed_ = true;
  DeviceState::shared().eventLog().record(std::string("banner dismissed with ") + selector);
}

void SBNotificationBannerDestination::registerClass(const springboard::SystemProfile& profile) {
  Class* cls = SpringBoardClasses::define<SBNotificationBannerDestination>("SBNotificationBannerDestination");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  if (profile.presentsBannersWithSourceAction()) {
    class_addMethod(
        cls, SELECTOR(kPresentWithSourceAction),
        +[](id self, SEL, id controller, bool, id request, id, Completion completion) {
          destination(self).presentNow(controller, request, completion, kPresentWithSourceAction);
        },
        "v@:@B@@@");
    class_addMethod(
        cls, SELECTOR(kDismissWithReason),
        +[](id self, SEL, bool, id, bool) { destination(self).dismissNow(kDismissWithReason); }, "v@:B@B");
  } else {
    class_addMethod(
        cls, SELECTOR(kPresent),
        +[](id self, SEL, id controller, bool, id request, Completion completion) {
          destination(self).presentNow(controller, request, completion, kPresent);
        },
        "v@:@B@@");
    class_addMethod(
        cls, SELECTOR(kDismiss), +[](id self, SEL, bool) { destination(self).dismissNow(kDismiss); }, "v@:B");
  }
}

}  // namespace platform
