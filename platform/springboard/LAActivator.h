#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The Activator library's dispatcher, class "_LAActivator", present only when
// Activator is installed. sendEventToListener: delivers an event (an LAEvent
// with a name) to its listener; the device records "activator listener received <name>".
class LAActivator final : public Object {
 public:
  static constexpr const char* kClassName = "_LAActivator";

  // sharedInstance (null without Activator)
  static LAActivator* sharedInstance();
  // sendEventToListener:
  void sendEventToListener(id event);

  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
