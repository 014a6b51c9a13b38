#pragma once

#include "platform/runtime/Object.h"

namespace platform::springboard {

class SystemProfile;

// The home screen's side of UIKit's UIScreen: [UIScreen mainScreen] and its
// brightness, which is the device's (DisplayState). When the UI layer has
// registered "UIScreen" the methods are added to its class; otherwise this
// registers a minimal "UIScreen". Setting the brightness here (as the user's
// slider does) shows no indicator.
class MainScreen final : public Object {
 public:
  // [UIScreen mainScreen]
  static id mainScreen();
  // [screen brightness]
  static double brightness(id screen);
  // [screen setBrightness:]
  static void setBrightness(id screen, double brightness);

  static void registerClass(const SystemProfile& profile);
};

}  // namespace platform::springboard
