#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"

namespace platform {

class UIImage;

namespace springboard {

class SystemProfile;

// The classes of the quick-action menu, for the system version:
//
// From 13.0 (the context menu):
//   _UIContextMenuActionView  -initWithTitle:subtitle:image: (string, string, shared_ptr<UIImage>) -> id,
//                             -setTrailingImage: (shared_ptr<UIImage>), -title -> string;
//                             fields _titleLabel, _subtitleLabel (UILabel objects)
//   _UIContextMenuView        the menu's platter
//   (SBIconView answers applicationShortcutItems and +activateShortcut:withBundleIdentifier:forIconView:)
//
// Below 13.0 (the force-touch menu):
//   SBUIAppIconForceTouchControllerDataProvider  -applicationBundleIdentifier -> string,
//                             -applicationShortcutItems -> ObjectArray
//   SBUIAppIconForceTouchController  -appIconForceTouchShortcutViewController:activateApplicationShortcutItem:
//                             (id viewController, id item): the system's handling of the item
//   SBUIIconForceTouchViewController  -viewDidLayoutSubviews, -dismissAnimated:withCompletionHandler:
//                             (bool, std::function<void()>)
//   SBUIAction                -initWithTitle:subtitle:image:badgeView:handler: (string, string,
//                             shared_ptr<UIImage>, id, std::function<void()>) -> id, -title, -subtitle
//   SBUIActionView            -initWithAction: (id) -> id; fields _titleLabel, _subtitleLabel
//                             (SBUIActionViewLabel objects, whose field _label is the UILabel)
//
// An init message makes the row's view and keeps it in the object until the
// menu adopts it (ViewObject::adopt).
class QuickActionClasses {
 public:
  static void registerAll(const SystemProfile& profile);
  // Every name registerAll() may register.
  static const std::vector<std::string>& allNames();
};

}  // namespace springboard
}  // namespace platform
