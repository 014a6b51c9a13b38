#include "platform/springboard/NotificationBanners.h"

#include "platform/springboard/NCNotificationContent.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationShortLookView.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/springboard/SBNotificationBannerDestination.h"

namespace platform::springboard {

bool NotificationBanners::post(BannerRequest banner) {
  SBNotificationBannerDestination* destination = SBNotificationBannerDestination::sharedInstance();
  if (!destination) return false;
  Ref<NCNotificationContent> content = NCNotificationContent::create(
      std::move(banner.title), std::move(banner.message), std::move(banner.subtitle), std::move(banner.icon));
  Ref<NCNotificationRequest> request = NCNotificationRequest::create(std::move(banner.bundleIdentifier), content);
  Ref<NCNotificationShortLookViewController> controller = NCNotificationShortLookViewController::create(request);
  destination->present(controller.get(), false, nullptr);
  return true;
}

PresentationState NotificationBanners::lastBanner() {
  SBNotificationBannerDestination* destination = SBNotificationBannerDestination::sharedInstance();
  NCNotificationShortLookViewController* banner = destination ? destination->presentedBanner() : nullptr;
  if (!banner) return PresentationState::None;
  const bool hidden = destination->isDismissed() || (banner->view() && banner->view()->isHidden());
  return hidden ? PresentationState::Hidden : PresentationState::Shown;
}

}  // namespace platform::springboard
