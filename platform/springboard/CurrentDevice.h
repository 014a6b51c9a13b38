#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform::springboard {

class SystemProfile;

// The home screen's side of UIKit's UIDevice: [UIDevice currentDevice], its
// systemVersion, its orientation and its private _feedbackSupportLevel (0
// none, 1 system sounds, 2 impact feedback). Added to the UI layer's "UIDevice" class when
// one is registered, else a minimal "UIDevice" is registered.
class CurrentDevice final : public Object {
 public:
  // [UIDevice currentDevice]
  static id currentDevice();
  // [device systemVersion]
  static std::string systemVersion(id device);
  // [device _feedbackSupportLevel]
  static long _feedbackSupportLevel(id device);

  static void registerClass(const SystemProfile& profile);
};

}  // namespace platform::springboard
