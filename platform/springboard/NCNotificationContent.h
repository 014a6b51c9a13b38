#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

class UIImage;

namespace springboard {
class SystemProfile;
}

// What a notification says (NCNotificationContent): title, subtitle and
// message, each possibly missing (nil), and the icon of the app that sent
// it. Made by the device when a banner is posted; read-only afterwards.
class NCNotificationContent final : public Object {
 public:
  static Ref<NCNotificationContent> create(std::optional<std::string> title, std::optional<std::string> message,
                                           std::optional<std::string> subtitle, std::shared_ptr<UIImage> icon);

  const std::optional<std::string>& title() const { return title_; }
  const std::optional<std::string>& message() const { return message_; }
  const std::optional<std::string>& subtitle() const { return subtitle_; }
  const std::shared_ptr<UIImage>& icon() const { return icon_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::optional<std::string> title_;
  std::optional<std::string> message_;
  std::optional<std::string> subtitle_;
  std::shared_ptr<UIImage> icon_;
};

}  // namespace platform
