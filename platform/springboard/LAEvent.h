#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// An Activator event: its name (class "LAEvent", with Activator only).
class LAEvent final : public Object {
 public:
  static Ref<LAEvent> create(std::string name);
  // name
  const std::string& name() const { return name_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  std::string name_;
};

}  // namespace platform
