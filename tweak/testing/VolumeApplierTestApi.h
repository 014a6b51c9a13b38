#pragma once

#include "tweak/controls/VolumeApplier.h"

// Test-only access to VolumeApplier's process-wide pending flag, so that a
// test that left a change pending does not drop the next test's requests.
class VolumeApplierTestApi {
 public:
  // Clears the pending flag, as in a fresh process.
  static void reset();
};
