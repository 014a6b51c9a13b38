#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/preferences/LSApplicationProxy.h"

namespace platform {

// Which apps applicationsOfType: lists (the platform's values).
enum class LSApplicationType : int { User = 0, System = 1 };

// The application workspace (LSApplicationWorkspace): the records of the
// apps installed on the device, read from the device's installed-apps file
// (/var/mobile/Library/tessra/apps.plist: a list of { "bundleIdentifier",
// "displayName", "type": "system"|"user", "icon" }). An entry that is not a
// dictionary or lacks a bundle identifier or a known type is logged and left
// out; the other entries are listed, in the file's order. An entry without a
// display name is listed without a localized name, one without an icon
// without icon name or dictionary (the settings page leaves those out).
// The default workspace reads the file again when it changed; a workspace
// never changes once read. Thread-safe.
class LSApplicationWorkspace {
 public:
  // The device path of the installed-apps file.
  static constexpr const char* kAppsFile = "/var/mobile/Library/tessra/apps.plist";

  // defaultWorkspace — the workspace of the device root in force, as its file is now.
  static std::shared_ptr<LSApplicationWorkspace> defaultWorkspace();
  // A workspace read from the file now (for a device root that changed, and for tests).
  static std::shared_ptr<LSApplicationWorkspace> workspaceReadingFile();

  // The records of one kind, in the file's order.
  std::vector<std::shared_ptr<LSApplicationProxy>> applicationsOfType(LSApplicationType type) const;
  // Every record.
  const std::vector<std::pair<LSApplicationType, std::shared_ptr<LSApplicationProxy>>>& allApplications() const {
    return apps_;
  }

 private:
  std::vector<std::pair<LSApplicationType, std::shared_ptr<LSApplicationProxy>>> apps_;
};

}  // namespace platform
