#pragma once

#include "tweak/engine/AppSwitchEngine.h"

// Lets tests start the engine afresh between cases (a new simulated home
// screen has new application objects).
class AppSwitchEngineTestApi {
 public:
  // Forgets the front application, the lock-screen state and pending volume requests.
  static void reset();
};
