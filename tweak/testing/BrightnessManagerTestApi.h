#pragma once

#include "tweak/controls/BrightnessManager.h"

// Test-only access to the process-wide BrightnessManager. Its queue runs on a
// loop of the task environment that was in force when the queue was made, so
// each test that drives a new environment gives the manager a fresh queue.
class BrightnessManagerTestApi {
 public:
  // Replaces the manager's queue (dropping every queued step) by a new one on the environment in force.
  static void resetQueue();
};
