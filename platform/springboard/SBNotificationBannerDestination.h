#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

class NCNotificationShortLookViewController;

namespace springboard {
class SystemProfile;
}

// Where notification banners appear at the top of the screen. It presents
// a banner's view controller with the method of the device's system version
// (_presentNotificationViewController:modal:forRequest:sourceAction:completion:
// from 13.0, _presentNotificationViewController:modal:forRequest:completion:
// below) and takes it away with dismissPresentedBannerAnimated: (below 13.0)
// or _dismissPresentedBannerAnimated:reason:forceIfSticky: (13.0 on). It
// keeps the banner presented last; the log gets
// `banner BUNDLE "TITLE" presented with SELECTOR` and `banner dismissed with SELECTOR`.
// One per device (sharedInstance); main thread only.
class SBNotificationBannerDestination final : public Object {
 public:
  using Completion = std::function<void()>;

  static constexpr const char* kPresentWithSourceAction =
      "_presentNotificationViewController:modal:forRequest:sourceAction:completion:";
  static constexpr const char* kPresent = "_presentNotificationViewController:modal:forRequest:completion:";
  static constexpr const char* kDismiss = "dismissPresentedBannerAnimated:";
  static constexpr const char* kDismissWithReason = "_dismissPresentedBannerAnimated:reason:forceIfSticky:";

  // The device's destination (null before the device exists).
  static SBNotificationBannerDestination* sharedInstance();

  // Presents `controller` through the runtime with the method of this device's version.
  void present(NCNotificationShortLookViewController* controller, bool modal, Completion completion);
  // The banner presented last (null when none yet).
  NCNotificationShortLookViewController* presentedBanner() const;
  // Whether the banner presented last was dismissed.
  bool isDismissed() const { return dismissed_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  void presentNow(id controller, id request, const Completion& completion, const char* selector);
  void dismissNow(const char* selector);

  Ref<Object> presented_;
  bool dismissed_ = false;
};

}  // namespace platform
