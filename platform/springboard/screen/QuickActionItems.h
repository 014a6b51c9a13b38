#pragma once

#include <string>
#include <string_view>

#include "platform/runtime/TypeEncoding.h"

namespace platform::springboard {

// The stock items of an app's quick-action menu, as the system lists them:
// first the app's own shortcuts for the apps the device knows ("New
// Message", "Take Selfie"...), then the home screen's own ("Share App",
// "Edit Home Screen" and, for apps the user installed, "Delete App").
// Types name what an item does; the home screen's share, edit and delete
// types are the constants below, an app's own item launches that app.
class QuickActionItems {
 public:
  static constexpr std::string_view kShareType = "com.apple.springboardhome.application-shortcut-item.share";
  static constexpr std::string_view kEditType = "com.apple.springboardhome.application-shortcut-item.rearrange-icons";
  static constexpr std::string_view kDeleteType = "com.apple.springboardhome.application-shortcut-item.delete-app";

  // New SBSApplicationShortcutItem objects for the app (empty when the class is absent).
  static ObjectArray stockItems(const std::string& bundleIdentifier);
  // Whether an item of `type` belongs to the home screen rather than to the app.
  static bool isHomeScreenType(std::string_view type);
};

}  // namespace platform::springboard
