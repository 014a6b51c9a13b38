// `tessra export FILE`: backs up every app customization of the device as a
// property-list file (the "customizedApps" dictionary, bundle id -> entry).
#include <filesystem>
#include <ostream>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceRootOption.h"
#include "tweak/store/TessraKeys.h"

namespace tessra::cli {
namespace {

using platform::plist::Value;

int runExport(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  if (invocation.args.size() != 1) {
    err << "tessra export: usage: tessra export FILE --root DIR\n";
    return 2;
  }
  const std::string& file = invocation.args[0];
  if (!useDeviceRoot(invocation, "export")) return 2;
  // A backup written over the device's own preferences would replace every setting with the apps alone.
  {
    std::error_code ec;
    const auto preferences =
        std::filesystem::weakly_canonical(platform::DevicePaths::preferencesFile(kPreferencesDomain).parent_path(), ec);
    const auto target = std::filesystem::weakly_canonical(std::filesystem::absolute(file, ec), ec);
    const auto relative = target.lexically_relative(preferences);
    if (!relative.empty() && *relative.begin() != "..") {
      err << "tessra export: '" << file << "' is inside the device's preferences folder; a backup must go "
          << "elsewhere; nothing exported\n";
      return 2;
    }
  }

  // A damaged file reads as no apps at all: exporting that would make an empty backup look like a good one.
  if (reportDamagedPreferences(invocation, "export", "nothing exported")) return 1;
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  Value apps = preferences.objectForKey(kCustomizedAppsKey);
  if (apps.isNull()) apps = Value(platform::plist::Dictionary{});
  if (!apps.isDictionary()) {
    err << "tessra export: the stored \"" << kCustomizedAppsKey << "\" is not a dictionary (" << apps.describe()
        << "); nothing exported\n";
    return 1;
  }
  std::string error;
  if (!platform::plist::PropertyListFile::write(file, apps, {}, &error)) {
    err << "tessra export: could not write '" << file << "': " << error << "\n";
    return 1;
  }
  size_t count = apps.dictionary().size();
  *invocation.out << "Exported " << count << (count == 1 ? " app" : " apps") << " to " << file << "\n";
  return 0;
}

CommandRegistration registration{
    {"export", "FILE --root DIR: saves every app customization to a property-list file", runExport}};

}  // namespace
}  // namespace tessra::cli
