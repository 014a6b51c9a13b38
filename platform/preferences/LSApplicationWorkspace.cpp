#include "platform/preferences/LSApplicationWorkspace.h"

#include <mutex>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"

namespace platform {

namespace {
// Where the pictures of app icons are kept in the device, by icon name.
constexpr const char* kIconFolder = "/var/mobile/Library/tessra/icons/";
}  // namespace

std::shared_ptr<LSApplicationWorkspace> LSApplicationWorkspace::defaultWorkspace() {
  // Kept until the file changes (another device root, or apps installed since).
  static std::mutex mutex;
  static std::shared_ptr<LSApplicationWorkspace> workspace;
  static std::string readStamp;
  std::string stamp;
  if (auto path = DevicePaths::resolve(kAppsFile)) {
    std::error_code ec;
    auto time = std::filesystem::last_write_time(*path, ec);
    auto size = std::filesystem::file_size(*path, ec);
    stamp =
        path->string() + "|" + std::to_string(time.time_since_epoch().count()) + "|" + std::to_string(ec ? 0 : size);
  }
  std::lock_guard lock(mutex);
  if (!workspace || stamp != readStamp) {
    workspace = workspaceReadingFile();
    readStamp = stamp;
  }
  return workspace;
}

std::shared_ptr<LSApplicationWorkspace> LSApplicationWorkspace::workspaceReadingFile() {
  auto workspace = std::make_shared<LSApplicationWorkspace>();
  auto path = DevicePaths::resolve(kAppsFile);
  if (!path) return workspace;
  auto read = plist::PropertyListFile::read(*path);
  if (!read.ok()) {
    Log::write("LSApplicationWorkspace: cannot read " + path->string() + ": " + read.message);
    return workspace;
  }
  if (!read.value.isArray()) {
    Log::write("LSApplicationWorkspace: " + path->string() + " is not a list of apps");
    return workspace;
  }
  size_t index = 0;
  for (const auto& entry : read.value.array()) {
    ++index;
    std::string where = path->string() + ": entry " + std::to_string(index);
    if (!entry.isDictionary()) {
      Log::write("LSApplicationWorkspace: " + where + " is not a dictionary; left out");
      continue;
    }
    plist::Value bundleId = entry["bundleIdentifier"], type = entry["type"];
    if (!bundleId.isString() || bundleId.string().empty()) {
      Log::write("LSApplicationWorkspace: " + where + " has no bundle identifier; left out");
      continue;
    }
    if (!type.isString() || (type.string() != "system" && type.string() != "user")) {
      Log::write("LSApplicationWorkspace: " + where + " (" + bundleId.string() +
                 ") has no type system or user; left out");
      continue;
    }
    LSApplicationProxy::Fields fields;
    fields.bundleIdentifier = bundleId.string();
    if (auto name = entry["displayName"]; name.isString()) fields.localizedName = name.string();
    if (auto icon = entry["icon"]; icon.isString() && !icon.string().empty() &&
                                   icon.string().find('/') == std::string::npos && icon.string() != "..") {
      fields.primaryIconName = icon.string();
      fields.iconsDictionary =
          plist::Dictionary{{"CFBundlePrimaryIcon", plist::Dictionary{{"CFBundleIconName", icon}}}};
      std::string file = std::string(kIconFolder) + icon.string() + ".png";
      if (auto host = DevicePaths::resolve(file); host && std::filesystem::is_regular_file(*host))
        fields.iconFile = file;
    }
    workspace->apps_.emplace_back(type.string() == "system" ? LSApplicationType::System : LSApplicationType::User,
                                  std::make_shared<LSApplicationProxy>(std::move(fields)));
  }
  return workspace;
}

std::vector<std::shared_ptr<LSApplicationProxy>> LSApplicationWorkspace::applicationsOfType(
    LSApplicationType type) const {
  std::vector<std::shared_ptr<LSApplicationProxy>> list;
  for (const auto& [kind, app] : apps_)
    if (kind == type) list.push_back(app);
  return list;
}

}  // namespace platform
