#include "tools/SpringBoard/core/DeviceFiles.h"

#include <set>
#include <system_error>

#include "platform/foundation/PropertyListFile.h"
#include "tools/SpringBoard/core/ScriptParser.h"

namespace tessra::device {
namespace {

using platform::plist::Array;
using platform::plist::Dictionary;
using platform::plist::PropertyListFile;
using platform::plist::Value;
using platform::springboard::AppKind;
using platform::springboard::DeviceKind;
using platform::springboard::InstalledApp;

constexpr const char* kVersionKey = "systemVersion";
constexpr const char* kKindKey = "kind";
constexpr const char* kActivatorKey = "activator";
constexpr const char* kBundleKey = "bundleIdentifier";
constexpr const char* kNameKey = "displayName";
constexpr const char* kTypeKey = "type";
constexpr const char* kIconKey = "icon";
// The icon name every app of a new device gets (the settings page only checks that one exists).
constexpr const char* kDefaultIcon = "AppIcon60x60";

bool writeFile(const std::filesystem::path& path, const Value& root, std::string* error) {
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) {
    if (error) *error = "cannot create " + path.parent_path().string() + ": " + ec.message();
    return false;
  }
  std::string why;
  if (PropertyListFile::write(path, root, {}, &why)) return true;
  if (error) *error = "cannot write " + path.string() + ": " + why;
  return false;
}

std::string readError(const std::filesystem::path& path, const PropertyListFile::ReadResult& read) {
  return path.string() + ": " + (read.message.empty() ? std::string("cannot be read") : read.message);
}

}  // namespace

std::filesystem::path DeviceFiles::configurationFile(const std::filesystem::path& root) {
  return root / "var/mobile/Library/tessra/device.plist";
}

std::filesystem::path DeviceFiles::appsFile(const std::filesystem::path& root) {
  return root / "var/mobile/Library/tessra/apps.plist";
}

DeviceFiles::Loaded DeviceFiles::load(const std::filesystem::path& root) {
  Loaded loaded;
  auto& config = loaded;

  std::filesystem::path configPath = configurationFile(root);
  auto device = PropertyListFile::read(configPath);
  if (!device.ok()) {
    loaded.error = readError(configPath, device);
    return loaded;
  }
  const Value* version = device.value.find(kVersionKey);
  const Value* kind = device.value.find(kKindKey);
  if (!device.value.isDictionary() || !version || !version->isString() || !kind || !kind->isString() ||
      (kind->string() != "phone" && kind->string() != "tablet")) {
    loaded.error = configPath.string() +
                   ": expected a dictionary with \"systemVersion\" (text) and \"kind\" "
                   "(phone or tablet)";
    return loaded;
  }
  if (!ScriptParser::isSupportedVersion(version->string())) {
    loaded.error = configPath.string() + ": unsupported system version \"" + version->string() + "\"";
    return loaded;
  }
  config.systemVersion = version->string();
  config.kind = kind->string() == "tablet" ? DeviceKind::Tablet : DeviceKind::Phone;
  const Value* activator = device.value.find(kActivatorKey);
  if (activator && !activator->isBoolean()) {
    loaded.error = configPath.string() + ": \"activator\" must be true or false";
    return loaded;
  }
  config.activator = activator && activator->boolValue();

  std::filesystem::path appsPath = appsFile(root);
  auto apps = PropertyListFile::read(appsPath);
  if (!apps.ok()) {
    loaded.error = readError(appsPath, apps);
    return loaded;
  }
  if (!apps.value.isArray()) {
    loaded.error = appsPath.string() + ": expected an array of apps";
    return loaded;
  }
  config.installedApps.clear();
  std::set<std::string, std::less<>> seen;
  size_t index = 0;
  for (const Value& entry : apps.value.array()) {
    const Value* bundle = entry.find(kBundleKey);
    const Value* name = entry.find(kNameKey);
    const Value* type = entry.find(kTypeKey);
    const Value* icon = entry.find(kIconKey);
    std::string where = appsPath.string() + ": app " + std::to_string(index++);
    if (!entry.isDictionary() || !bundle || !bundle->isString() ||
        !ScriptParser::isBundleIdentifier(bundle->string()) || !name || !name->isString() || name->string().empty() ||
        !type || !type->isString() || (type->string() != "system" && type->string() != "user") ||
        (icon && !icon->isString())) {
      loaded.error = where +
                     ": expected \"bundleIdentifier\", \"displayName\", \"type\" (system or user) and an "
                     "optional \"icon\"";
      return loaded;
    }
    if (!seen.insert(bundle->string()).second) {
      loaded.error = where + ": " + bundle->string() + " is listed twice";
      return loaded;
    }
    InstalledApp app;
    app.bundleIdentifier = bundle->string();
    app.displayName = name->string();
    app.kind = type->string() == "system" ? AppKind::System : AppKind::User;
    if (icon) app.icon = icon->string();
    config.installedApps.push_back(std::move(app));
  }
  loaded.ok = true;
  return loaded;
}

bool DeviceFiles::writeConfiguration(const std::filesystem::path& root, const std::string& systemVersion,
                                     DeviceKind kind, std::string* error, bool activator) {
  Dictionary dict{{kVersionKey, Value(systemVersion)},
                  {kKindKey, Value(kind == DeviceKind::Tablet ? "tablet" : "phone")}};
  if (activator) dict.set(kActivatorKey, Value(true));
  return writeFile(configurationFile(root), Value(std::move(dict)), error);
}

bool DeviceFiles::writeApps(const std::filesystem::path& root, const std::vector<InstalledApp>& apps,
                            std::string* error) {
  Array array;
  for (const auto& app : apps) {
    Dictionary dict{{kBundleKey, Value(app.bundleIdentifier)},
                    {kNameKey, Value(app.displayName)},
                    {kTypeKey, Value(app.kind == AppKind::System ? "system" : "user")}};
    if (!app.icon.empty()) dict.set(kIconKey, Value(app.icon));
    array.push_back(Value(std::move(dict)));
  }
  return writeFile(appsFile(root), Value(std::move(array)), error);
}

std::vector<InstalledApp> DeviceFiles::defaultApps() {
  struct Row {
    const char* bundle;
    const char* name;
    AppKind kind;
  };
  static const Row rows[] = {
      // System apps.
      {"com.apple.siri", "Siri", AppKind::System},
      {"com.apple.Spotlight", "Spotlight", AppKind::System},
      {"com.apple.Preferences", "Settings", AppKind::System},
      {"com.apple.Maps", "Maps", AppKind::System},
      {"com.apple.mobilesafari", "Safari", AppKind::System},
      {"com.apple.MobileSMS", "Messages", AppKind::System},
      {"com.apple.mobilephone", "Phone", AppKind::System},
      {"com.apple.mobilemail", "Mail", AppKind::System},
      {"com.apple.camera", "Camera", AppKind::System},
      {"com.apple.mobileslideshow", "Photos", AppKind::System},
      {"com.apple.Music", "Music", AppKind::System},
      {"com.apple.podcasts", "Podcasts", AppKind::System},
      {"com.apple.mobilecal", "Calendar", AppKind::System},
      {"com.apple.mobilenotes", "Notes", AppKind::System},
      {"com.apple.reminders", "Reminders", AppKind::System},
      {"com.apple.weather", "Weather", AppKind::System},
      {"com.apple.mobiletimer", "Clock", AppKind::System},
      {"com.apple.calculator", "Calculator", AppKind::System},
      {"com.apple.facetime", "FaceTime", AppKind::System},
      {"com.apple.Health", "Health", AppKind::System},
      {"com.apple.AppStore", "App Store", AppKind::System},
      // System helpers that the settings page hides.
      {"com.apple.purplebuddy", "Setup", AppKind::System},
      {"com.apple.webapp", "Web App", AppKind::System},
      {"com.apple.mobilesms.compose", "Messages Compose", AppKind::System},
      {"com.apple.CarPlaySettings", "CarPlay Settings", AppKind::System},
      {"com.apple.ios.StoreKitUIService", "StoreKitUIService", AppKind::System},
      {"com.apple.Animoji.StickersApp", "Animoji Stickers", AppKind::System},
      // App Store apps.
      {"com.waze.iphone", "Waze", AppKind::User},
      {"com.google.Maps", "Google Maps", AppKind::User},
      {"com.spotify.client", "Spotify", AppKind::User},
      {"com.burbn.instagram", "Instagram", AppKind::User},
      {"com.netflix.Netflix", "Netflix", AppKind::User},
      {"net.whatsapp.WhatsApp", "WhatsApp", AppKind::User},
      {"com.google.ios.youtube", "YouTube", AppKind::User},
      {"com.facebook.Facebook", "Facebook", AppKind::User},
      {"ph.telegra.Telegraph", "Telegram", AppKind::User},
      {"com.atebits.Tweetie2", "Twitter", AppKind::User},
      {"com.merovald.cydown", "CyDown", AppKind::User},
  };
  std::vector<InstalledApp> apps;
  for (const Row& row : rows) apps.push_back(InstalledApp{row.bundle, row.name, row.kind, kDefaultIcon});
  return apps;
}

}  // namespace tessra::device
