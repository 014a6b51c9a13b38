#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// One notification as the home screen handles it (NCNotificationRequest):
// the bundle identifier of the app that sent it (sectionIdentifier) and its
// content. Made by the device when a banner is posted.
class NCNotificationRequest final : public Object {
 public:
  static Ref<NCNotificationRequest> create(std::string sectionIdentifier, Ref<Object> content);

  const std::string& sectionIdentifier() const { return section_; }
  // content: the request's NCNotificationContent.
  id content() const { return content_.get(); }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::string section_;
  Ref<Object> content_;
};

}  // namespace platform
