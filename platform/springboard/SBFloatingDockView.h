#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The iPad's floating dock, present on tablets only. It is a view of the UI
// layer's "UIView" when that class is registered (it then inherits
// layoutSubviews from it), a plain object with an empty layoutSubviews
// otherwise. On a phone the class does not exist.
class SBFloatingDockView final : public Object {
 public:
  static void registerClass(const springboard::SystemProfile& profile);
};

}  // namespace platform
