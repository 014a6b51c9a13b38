#pragma once

#include "platform/runtime/Object.h"

namespace platform::springboard {

class SystemProfile;

// The home screen's side of UIKit's UIImpactFeedbackGenerator: a generator
// made with a style (0 light, 1 medium, 2 heavy) whose impactOccurred is
// recorded by the device (HapticsState). The style is kept as a value
// associated with the generator, so the methods work on the UI layer's class
// too when it registered one.
class ImpactFeedbackGenerator final : public Object {
 public:
  // [[UIImpactFeedbackGenerator alloc] initWithStyle:style]; null when the class is absent.
  static Ref<Object> create(long style);
  // [generator impactOccurred]
  static void impactOccurred(id generator);

  static void registerClass(const SystemProfile& profile);
};

}  // namespace platform::springboard
