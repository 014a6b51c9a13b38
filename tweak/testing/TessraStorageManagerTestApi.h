#pragma once

#include "tweak/store/TessraStorageManager.h"

// Test-only access to the process-wide TessraStorageManager: puts it back in
// the state of a fresh process (settings unbound and zero, no store loaded,
// no current app) so that each test starts alike.
class TessraStorageManagerTestApi {
 public:
  // Drops the bound preferences object and every field back to its initial value.
  static void reset();
};
