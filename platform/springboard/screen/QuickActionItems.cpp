#include "platform/springboard/screen/QuickActionItems.h"

#include <map>
#include <vector>

#include "platform/springboard/DeviceState.h"
#include "platform/springboard/screen/ShortcutItem.h"

namespace platform::springboard {

namespace {

struct AppShortcut {
  const char* type;  // after the bundle identifier and a dot
  const char* title;
};

const std::map<std::string_view, std::vector<AppShortcut>>& appShortcuts() {
  static const std::map<std::string_view, std::vector<AppShortcut>> table{
      {"com.apple.Maps", {{"mark-my-location", "Mark My Location"}, {"send-my-location", "Send My Location"}}},
      {"com.apple.MobileSMS", {{"new-message", "New Message"}}},
      {"com.apple.camera", {{"selfie", "Take Selfie"}, {"video", "Record Video"}, {"photo", "Take Photo"}}},
      {"com.apple.mobilesafari", {{"new-tab", "New Tab"}, {"new-private-tab", "New Private Tab"}}},
      {"com.apple.Music", {{"search", "Search"}}},
      {"com.apple.Preferences", {{"bluetooth", "Bluetooth"}, {"wifi", "Wi-Fi"}, {"battery", "Battery"}}},
      {"com.spotify.client", {{"search", "Search"}}},
  };
  return table;
}

}  // namespace

bool QuickActionItems::isHomeScreenType(std::string_view type) {
  return type == kShareType || type == kEditType || type == kDeleteType;
}

ObjectArray QuickActionItems::stockItems(const std::string& bundleIdentifier) {
  ObjectArray items;
  auto add = [&](std::string type, std::string title) {
    if (auto item = ShortcutItem::create(std::move(type), std::move(title), {}, bundleIdentifier))
      items.push_back(item);
  };
  if (auto it = appShortcuts().find(bundleIdentifier); it != appShortcuts().end()) {
    for (const AppShortcut& shortcut : it->second) add(bundleIdentifier + "." + shortcut.type, shortcut.title);
  }
  add(std::string(kShareType), "Share App");
  add(std::string(kEditType), "Edit Home Screen");
  const InstalledApp* app = DeviceState::shared().apps().installedApp(bundleIdentifier);
  if (app && app->kind == AppKind::User) add(std::string(kDeleteType), "Delete App");
  return items;
}

}  // namespace platform::springboard
