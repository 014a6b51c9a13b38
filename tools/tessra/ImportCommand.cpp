// `tessra import FILE`: restores every app customization from a file made by
// `tessra export`. The whole file is checked first; on any fault nothing is
// written. On success it replaces "customizedApps" and tells a running
// plug-in to reload its store.
#include <ostream>
#include <string>
#include <vector>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListText.h"
#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceNotificationLink.h"
#include "tools/tessra/DeviceRootOption.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::cli {
namespace {

using platform::plist::PropertyListText;
using platform::plist::Value;

// Enough faults to fix a file in one go without flooding the terminal.
constexpr size_t kMaxReportedFaults = 20;

// Names from the file reach the terminal escaped (PropertyListText::printable): a key may hold an escape sequence.
std::string inQuotes(std::string_view text) { return "\"" + PropertyListText::printable(text) + "\""; }

std::string appLabel(const std::string& bundleId) {
  return bundleId.empty() ? std::string("(empty bundle identifier)") : PropertyListText::printable(bundleId);
}

// A value with its kind: "not 1" would leave the reader guessing between the integer and the real.
std::string withKind(const Value& value) {
  using platform::plist::Type;
  switch (value.type()) {
    case Type::Boolean: return "the boolean " + value.describe();
    case Type::Integer: return "the integer " + value.describe();
    case Type::Real: return "the real number " + value.describe();
    case Type::String: return "the text " + value.describe();
    default: return value.describe();
  }
}

void checkLevel(const std::string& bundleId, std::string_view key, const Value& value,
                std::vector<std::string>& faults) {
  double fraction = value.doubleValue();
  if (!value.isReal() || !(fraction >= 0.0 && fraction <= 1.0))
    faults.push_back(appLabel(bundleId) + ": " + inQuotes(key) + " must be a real number from 0 to 1, not " +
                     withKind(value));
}

void checkToggles(const std::string& bundleId, const Value& toggles, std::vector<std::string>& faults) {
  if (!toggles.isDictionary()) {
    faults.push_back(appLabel(bundleId) + ": " + inQuotes(kTogglesKey) + " must be a dictionary, not " +
                     toggles.describe());
    return;
  }
  for (const auto& [name, state] : toggles.dictionary()) {
    if (toggleTypeForName(name) == ToggleTypeUnknown) {
      faults.push_back(appLabel(bundleId) + ": toggles: unknown toggle name " + inQuotes(name));
      continue;
    }
    int64_t value = state.integerValue();
    if (!state.isInteger() || value < ToggleStateNotCustomized || value > ToggleStateOn)
      faults.push_back(appLabel(bundleId) + ": toggles: " + inQuotes(name) + " must be the integer 1, 0 or -1, not " +
                       withKind(state));
  }
}

// Every fault of `root` as a customization store, each naming the app and the key.
std::vector<std::string> faultsOf(const Value& root) {
  std::vector<std::string> faults;
  if (!root.isDictionary()) {
    faults.push_back("the file holds " + root.describe() + ", not a dictionary of apps");
    return faults;
  }
  for (const auto& [bundleId, entry] : root.dictionary()) {
    if (bundleId.empty()) faults.push_back("an app has an empty bundle identifier");
    if (!entry.isDictionary()) {
      faults.push_back(appLabel(bundleId) + ": the entry must be a dictionary, not " + entry.describe());
      continue;
    }
    for (const auto& [key, value] : entry.dictionary()) {
      if (key == kTogglesKey)
        checkToggles(bundleId, value, faults);
      else if (key == kVolumeKey || key == kBrightnessKey)
        checkLevel(bundleId, key, value, faults);
      else
        faults.push_back(appLabel(bundleId) + ": unknown key " + inQuotes(key) +
                         " (an entry holds only \"toggles\", \"volume\" and \"brightness\")");
    }
  }
  return faults;
}

int runImport(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  if (invocation.args.size() != 1) {
    err << "tessra import: usage: tessra import FILE --root DIR\n";
    return 2;
  }
  const std::string& file = invocation.args[0];
  if (!useDeviceRoot(invocation, "import")) return 2;

  auto read = platform::plist::PropertyListFile::read(file);
  if (!read.ok()) {
    err << "tessra import: cannot read '" << file << "' (" << platform::plist::describeStatus(read.status)
        << "): " << read.message << "; nothing imported\n";
    return 1;
  }
  std::vector<std::string> faults = faultsOf(read.value);
  if (auto storable = platform::plist::PropertyListFile::checkStorable(read.value); !storable.ok())
    faults.push_back("the preferences file cannot hold it: " + storable.message);
  if (!faults.empty()) {
    err << "tessra import: '" << file << "' is not a valid backup; nothing imported:\n";
    for (size_t i = 0; i < faults.size() && i < kMaxReportedFaults; ++i)
      err << "  " << PropertyListText::printable(faults[i]) << "\n";
    if (faults.size() > kMaxReportedFaults) err << "  ... and " << faults.size() - kMaxReportedFaults << " more\n";
    return 1;
  }

  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  bool saved = preferences.setObject(read.value, std::string(kCustomizedAppsKey));
  saved = preferences.synchronize() && saved;
  if (!saved) {
    err << "tessra import: could not write the preferences of the device (" << preferences.saveProblem()
        << "); the customizations are unchanged\n";
    return 1;
  }
  const size_t unheardBefore = DeviceNotificationLink::unheardPosts();
  platform::DarwinNotificationCenter::shared().postNotification(std::string(kClearAppCustomizationCacheNotification));
  // The device catches up when its bus is back; until then an edit made on it would save its old copy back.
  if (DeviceNotificationLink::unheardPosts() != unheardBefore)
    err << "tessra import: warning: the running device did not answer; it reads the imported customizations when "
           "its bus is back, and an edit made on it before then would put the old ones back (tessra device restart "
        << invocation.root << " makes it read them now)\n";
  size_t count = read.value.dictionary().size();
  *invocation.out << "Imported " << count << (count == 1 ? " app" : " apps") << " from " << file << "\n";
  return 0;
}

CommandRegistration registration{
    {"import", "FILE --root DIR: replaces every app customization with a file made by export", runImport}};

}  // namespace
}  // namespace tessra::cli
