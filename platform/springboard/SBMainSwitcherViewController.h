#pragma once

#include <map>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The app switcher's controller. It lists one app layout per running app,
// most recent first (appLayouts from 13.0, recentAppLayouts below), quits
// apps by one of three methods depending on the system version (see
// SystemProfile), and holds the gesture manager in its private field
// _gestureManager. Layout objects are kept per app, so the same app gives
// the same layout object while it runs.
class SBMainSwitcherViewController final : public Object {
 public:
  // Quitting reason used by the system's own "swipe up to quit".
  static constexpr long kQuitReasonUser = 1;

  // sharedInstance
  static SBMainSwitcherViewController* sharedInstance();
  // appLayouts (13.0 and later) or recentAppLayouts (below), whichever this device answers.
  ObjectArray appLayouts();
  // _quitAppsRepresentedByAppLayout:forReason: / _deleteAppLayout:forReason:, where answered.
  void _quitAppsRepresentedByAppLayout(id appLayout, long reason);
  void _deleteAppLayout(id appLayout, long reason);
  // _deleteAppLayoutsMatchingBundleIdentifier:, where answered.
  void _deleteAppLayoutsMatchingBundleIdentifier(std::string bundleIdentifier);

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  ObjectArray currentLayouts();
  void quitLayout(id appLayout);
  std::map<std::string, Ref<Object>, std::less<>> layouts_;
  Ref<Object> gestureManager_;
};

}  // namespace platform
