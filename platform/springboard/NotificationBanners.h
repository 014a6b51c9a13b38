#pragma once

#include <memory>
#include <optional>
#include <string>

namespace platform {
class UIImage;
}

namespace platform::springboard {

// Whether the most recent banner or system alert can be seen.
enum class PresentationState { None, Shown, Hidden };

// What an app's notification banner says.
struct BannerRequest {
  std::string bundleIdentifier;
  std::optional<std::string> title;
  std::optional<std::string> message;
  std::optional<std::string> subtitle;
  std::shared_ptr<UIImage> icon;
};

// Notification banners arriving on the device: each becomes a request with
// its content and a banner view controller, which the banner destination
// presents through the method of the device's system version, as the
// phone's notification dispatcher does. Stateless; the banners live in the
// device's banner destination. Main thread only.
class NotificationBanners {
 public:
  NotificationBanners() = delete;

  // Presents a banner for `request`; false when the device has no banner destination.
  static bool post(BannerRequest request);
  // Whether the banner presented last is on screen (presented, its view not hidden, not dismissed).
  static PresentationState lastBanner();
};

}  // namespace platform::springboard
