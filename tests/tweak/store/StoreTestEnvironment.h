#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyList.h"
#include "platform/prefs/HBPreferences.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/testing/TessraStorageManagerTestApi.h"

// What every store, catalogue and command test starts from: an empty device
// root of its own, the store as in a fresh process, a fixed device (13.3,
// light), the log captured, and the posts of the two store notifications
// counted. Everything is put back when it goes.
class StoreTestEnvironment {
 public:
  StoreTestEnvironment() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessra-store-XXXXXX").string();
    root = mkdtemp(pattern.data());
    platform::DevicePaths::setRoot(root);
    platform::HBPreferences::reloadDomain(tessra::kPreferencesDomain);
    TessraStorageManagerTestApi::reset();
    previousDevice_ = platform::DeviceInfo::install(&device);
    previousSink_ = platform::Log::setSink([this](const std::string& line) { logLines.push_back(line); });
    auto& center = platform::DarwinNotificationCenter::shared();
    reloadToken_ = center.addObserver(std::string(tessra::kReloadPrefsNotification),
                                      [this](const std::string&) { ++reloadPosts; });
    clearToken_ = center.addObserver(std::string(tessra::kClearAppCustomizationCacheNotification),
                                     [this](const std::string&) { ++clearPosts; });
  }

  ~StoreTestEnvironment() {
    auto& center = platform::DarwinNotificationCenter::shared();
    center.removeObserver(reloadToken_);
    center.removeObserver(clearToken_);
    platform::Log::setSink(previousSink_);
    platform::DeviceInfo::install(previousDevice_);
    TessraStorageManagerTestApi::reset();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  StoreTestEnvironment(const StoreTestEnvironment&) = delete;
  StoreTestEnvironment& operator=(const StoreTestEnvironment&) = delete;

  // Writes `key` of the domain as another program would (saved to disk, no notification).
  void writeDomain(const std::string& key, platform::plist::Value value) {
    platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
    preferences.setObject(std::move(value), key);
    preferences.synchronize();
  }

  // `key` of the domain as the file on disk holds it now.
  platform::plist::Value readDomain(std::string_view key) {
    platform::HBPreferences::reloadDomain(tessra::kPreferencesDomain);
    platform::HBPreferences preferences{std::string(tessra::kPreferencesDomain)};
    return preferences.objectForKey(key);
  }

  // The stored "customizedApps" dictionary.
  platform::plist::Value storedApps() { return readDomain(tessra::kCustomizedAppsKey); }

  std::filesystem::path root;
  platform::FixedDeviceInfo device;
  std::vector<std::string> logLines;
  int reloadPosts = 0;
  int clearPosts = 0;

 private:
  platform::ManualTaskEnvironment tasks_;
  const platform::DeviceInfo* previousDevice_ = nullptr;
  platform::Log::Sink previousSink_;
  uint64_t reloadToken_ = 0;
  uint64_t clearToken_ = 0;
};
