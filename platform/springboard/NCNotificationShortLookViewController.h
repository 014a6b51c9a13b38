#pragma once

#include "platform/runtime/Object.h"

namespace platform {

class NCNotificationShortLookView;

namespace springboard {
class SystemProfile;
}

// The view controller of one notification banner: its request
// (notificationRequest) and its view. Made by the device for each banner it
// posts and handed to the banner destination.
class NCNotificationShortLookViewController final : public Object {
 public:
  static Ref<NCNotificationShortLookViewController> create(Ref<Object> request);

  id notificationRequest() const { return request_.get(); }
  NCNotificationShortLookView* view() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  Ref<Object> request_;
  Ref<Object> view_;
};

}  // namespace platform
