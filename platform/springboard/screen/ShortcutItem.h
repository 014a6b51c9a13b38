#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform::springboard {

// One item of an icon's quick-action menu (SBSApplicationShortcutItem): its
// type, title, subtitle and the app it launches. Plug-ins make items with
// class_createInstance and fill them through the setters, so every field is
// reachable by message: type/setType:, localizedTitle/setLocalizedTitle:,
// localizedSubtitle/setLocalizedSubtitle:,
// bundleIdentifierToLaunch/setBundleIdentifierToLaunch: (strings).
class ShortcutItem final : public Object {
 public:
  // A new item of the registered class; null when the class is absent.
  static Ref<ShortcutItem> create(std::string type, std::string title, std::string subtitle = {},
                                  std::string bundleIdentifier = {});

  // The fields of any item object, read by message (empty for null or another class).
  static std::string typeOf(const Object* item);
  static std::string titleOf(const Object* item);
  static std::string subtitleOf(const Object* item);

  static void registerClass();

 private:
  std::string type_;
  std::string title_;
  std::string subtitle_;
  std::string bundleIdentifier_;
};

}  // namespace platform::springboard
