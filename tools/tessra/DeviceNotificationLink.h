#pragma once

#include <cstddef>

#include "platform/foundation/Clock.h"
#include "platform/foundation/NotificationTransport.h"

namespace tessra::cli {

// Carries the `tessra` command's own Darwin and distributed notifications
// (a `tessra set` posts "com.kelvane.tessra2/ReloadPrefs") to the running
// device whose root the command works on, so that its plug-in follows without
// a restart. Each post opens a short connection to the device's bus (bounded
// wait), sends, and closes; with no started device at the root the post stays
// in this process, as before. Installed for the whole `tessra` process when
// the program starts (see DeviceNotificationLink.cpp).
class DeviceNotificationLink final : public platform::NotificationTransport {
 public:
  void sendDarwin(const std::string& name) override;
  void sendDistributed(const std::string& name, const platform::plist::Value& userInfo) override;

  // Makes the link the transport of this process's Darwin and distributed centres.
  static void install();
  // Posts of this process that did not reach a started device because its bus did not answer. A command whose
  // post went unheard says so: the running plug-in keeps what it had (and may save it back).
  static size_t unheardPosts();

 private:
  friend class DeviceNotificationLinkTestApi;
};

// For tests: how long a post waits for the device's bus.
class DeviceNotificationLinkTestApi {
 public:
  static void setConnectTimeout(platform::Duration timeout);
};

}  // namespace tessra::cli
