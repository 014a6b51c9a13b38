// The plug-in's load-time entry. The loader runs the two routines in this
// order when the home screen loads Tessra2.dylib; both do nothing in any other
// process (the settings bundle loads the library only to reach its classes).
#include "tweak/controls/BrightnessManagerTestApi.h"
#include "tweak/controls/VolumeApplierTestApi.h"
#include "tweak/engine/AppSwitchEngineTestApi.h"
#include "tweak/engine/BehavioursStartup.h"
#include "tweak/engine/HomeGestureReplacement.h"
#include "tweak/engine/TessraStartup.h"

extern "C" {

__attribute__((constructor(101))) void Tessra2MainStartUp() { TessraStartup::mainStartUp(); }

__attribute__((constructor(102))) void Tessra2BehavioursStartUp() { BehavioursStartup::startUp(); }

// For tests that load the real library into a test home screen: after the
// test has built a fresh simulated home screen (new classes, new objects), the
// plug-in starts again on it as if freshly loaded.
__attribute__((visibility("default"))) void Tessra2StartAgainForTesting() {
  // Queues and pending volume changes belong to the previous test's clock.
  BrightnessManagerTestApi::resetQueue();
  VolumeApplierTestApi::reset();
  AppSwitchEngineTestApi::reset();
  HomeGestureReplacementTestApi::reset();
  TessraStartupTestApi::reset();
  Tessra2MainStartUp();
  Tessra2BehavioursStartUp();
}

}
