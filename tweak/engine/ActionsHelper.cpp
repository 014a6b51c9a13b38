#include "tweak/engine/ActionsHelper.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/MediaRemote.h"
#include "platform/ui/UIView.h"
#include "tweak/store/TessraStorageManager.h"

using platform::id;
using platform::msgSend;
using platform::respondsToSelector;

namespace {

// What an app layout maps its roles to; role 1 holds the primary app.
using RolesToLayoutItemsMap = std::map<long, platform::Ref<platform::Object>>;
constexpr long kPrimaryRole = 1;
// The quitting reason the switcher uses for a user's swipe.
constexpr long kQuitReason = 1;

platform::ClassHandle gSwitcherClass{ActionsHelper::kSwitcherClassName};
platform::ClassHandle gMediaControllerClass{"SBMediaController"};

id sharedSwitcher() { return msgSend<id>(gSwitcherClass.get(), SELECTOR("sharedInstance")); }

// The switcher's layouts, most recent first, under whichever name it answers.
platform::ObjectArray layoutsOf(id switcher) {
  if (respondsToSelector(switcher, SELECTOR("appLayouts")))
    return msgSend<platform::ObjectArray>(switcher, SELECTOR("appLayouts"));
  return msgSend<platform::ObjectArray>(switcher, SELECTOR("recentAppLayouts"));
}

// The bundle identifier of the app in a layout's primary role; empty when there is none.
std::string bundleIdentifierOf(id layout) {
  RolesToLayoutItemsMap roles;
  if (respondsToSelector(layout, SELECTOR("rolesToLayoutItemsMap")))
    roles = msgSend<RolesToLayoutItemsMap>(layout, SELECTOR("rolesToLayoutItemsMap"));
  else
    roles = platform::valueForKey<RolesToLayoutItemsMap>(layout, "_rolesToLayoutItemsMap");
  auto found = roles.find(kPrimaryRole);
  if (found == roles.end()) return {};
  id item = found->second.get();
  if (respondsToSelector(item, SELECTOR("displayIdentifier")))
    return msgSend<std::string>(item, SELECTOR("displayIdentifier"));
  return msgSend<std::string>(item, SELECTOR("bundleIdentifier"));
}

// The bundle identifier of the app now playing; empty when none.
std::string nowPlayingBundleIdentifier() {
  id controller = msgSend<id>(gMediaControllerClass.get(), SELECTOR("sharedInstance"));
  id application = msgSend<id>(controller, SELECTOR("nowPlayingApplication"));
  return msgSend<std::string>(application, SELECTOR("bundleIdentifier"));
}

bool isNavigationApp(std::string_view bundleIdentifier) {
  return std::ranges::find(ActionsHelper::kNavigationApps, bundleIdentifier) != ActionsHelper::kNavigationApps.end();
}

// Quits one layout with the first quitting method the switcher answers.
void quit(id switcher, id layout, const std::string& bundleIdentifier) {
  if (respondsToSelector(switcher, SELECTOR("_quitAppsRepresentedByAppLayout:forReason:")))
    msgSend<void, id, long>(switcher, SELECTOR("_quitAppsRepresentedByAppLayout:forReason:"), layout, kQuitReason);
  else if (respondsToSelector(switcher, SELECTOR("_deleteAppLayout:forReason:")))
    msgSend<void, id, long>(switcher, SELECTOR("_deleteAppLayout:forReason:"), layout, kQuitReason);
  else if (respondsToSelector(switcher, SELECTOR("_deleteAppLayoutsMatchingBundleIdentifier:")))
    msgSend<void, std::string>(switcher, SELECTOR("_deleteAppLayoutsMatchingBundleIdentifier:"), bundleIdentifier);
}

}  // namespace

void tessra_clearAllApps(id self, platform::SEL) {
  const auto& storage = TessraStorageManager::sharedInstance();
  const std::optional<std::string>& foregroundApp = storage.currentForegroundAppBundleId();
  // The now-playing app is asked for once: quitting others does not change it.
  const std::string nowPlaying =
      storage.clearAllApps_dontKillNowPlayingAppEnabled ? nowPlayingBundleIdentifier() : std::string();
  const bool spareNavigationApps = storage.clearAllApps_dontKillNavigationAppEnabled;

  // A copy of the list: quitting changes the switcher's own.
  const platform::ObjectArray layouts = layoutsOf(self);
  for (const auto& layout : layouts) {
    const std::string bundleIdentifier = bundleIdentifierOf(layout.get());
    // An identifier that is missing matches nothing, as nil compares unequal to every string.
    if (!bundleIdentifier.empty()) {
      if (foregroundApp && bundleIdentifier == *foregroundApp) continue;
      if (!nowPlaying.empty() && bundleIdentifier == nowPlaying) continue;
      if (spareNavigationApps && isNavigationApp(bundleIdentifier)) continue;
    }
    quit(self, layout.get(), bundleIdentifier);
  }
}

void ActionsHelper::performAction(ToggleType type) {
  switch (type) {
    case ToggleTypeHideHomeBar: hideCurrentHomeBar(); return;
    case ToggleTypeClearAppSwitcher: clearAppSwitcher(); return;
    case ToggleTypePlayMusic: playMusic(); return;
    case ToggleTypePauseMusic: pauseMusic(); return;
    default: return;
  }
}

void ActionsHelper::hideCurrentHomeBar() {
  id gestureManager = platform::valueForKey<id>(sharedSwitcher(), "_gestureManager");
  if (!gestureManager) return;
  platform::Ref<platform::Object> grabber = msgSend<id>(gestureManager, SELECTOR("currentHomeGrabberView"));
  platform::UIView::animateWithDuration(
      kHomeBarFadeDuration, [grabber] { msgSend<void, double>(grabber.get(), SELECTOR("setAlpha:"), 0.0); });
}

void ActionsHelper::clearAppSwitcher() {
  id switcher = sharedSwitcher();
  msgSend<void>(switcher, platform::sel_registerName(kClearAllAppsSelector));
}

void ActionsHelper::playMusic() { platform::MRMediaRemoteSendCommand(platform::kMRPlay); }

void ActionsHelper::pauseMusic() { platform::MRMediaRemoteSendCommand(platform::kMRPause); }

bool ActionsHelper::installClearAllAppsMethod() {
  return platform::class_addMethod(platform::objc_getClass(kSwitcherClassName),
                                   platform::sel_registerName(kClearAllAppsSelector), &tessra_clearAllApps,
                                   kClearAllAppsTypes);
}
