// `tessra apps`: every customized app of the device and what it customizes,
// in the order of the summary strip: volume, brightness, switches, behaviours.
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "platform/foundation/PropertyListText.h"
#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceRootOption.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/vocabulary/ToggleType.h"

namespace tessra::cli {
namespace {

// `text` as it may reach a terminal: control bytes (an escape sequence stored in a bundle identifier, say) are
// shown as \xNN instead of acting on the terminal.
std::string terminalSafe(std::string_view text) { return platform::plist::PropertyListText::printable(text); }

using platform::plist::Value;

// A stored fraction as the summary strip shows it: times 100 in single precision, halves away from zero.
long wholePercent(double fraction) { return std::lround(static_cast<float>(fraction) * 100.0f); }

void printLevel(std::ostream& out, const Value& entry, std::string_view key) {
  const Value* level = entry.find(key);
  if (!level) return;
  out << "  " << key << " ";
  if (level->isNumber())
    out << wholePercent(level->doubleValue()) << "%\n";
  else
    out << terminalSafe(level->describe()) << " (not a number: ignored)\n";
}

void printToggle(std::ostream& out, const std::string& name, const Value& state) {
  if (state.isNumber() && static_cast<ToggleState>(state.integerValue()) == ToggleStateNotCustomized) return;
  out << "  ";
  auto type = toggleTypeForName(name);
  if (auto readable = readableNameForType(type))
    out << *readable << " (" << name << ")";
  else
    out << terminalSafe(name) << " (unknown name)";
  out << ": ";
  if (!state.isNumber())
    out << terminalSafe(state.describe()) << " (not a number: ignored)";
  else if (state.integerValue() == ToggleStateOn)
    out << "On";
  else if (state.integerValue() == ToggleStateOff)
    out << "Off";
  else
    out << state.integerValue();
  out << "\n";
}

void printApp(std::ostream& out, const TessraStorageManager& store, const std::string& bundleId, const Value& entry) {
  out << terminalSafe(bundleId) << ": ";
  if (!entry.isDictionary()) {
    out << "not a valid entry (" << terminalSafe(entry.describe()) << ")\n";
    return;
  }
  int64_t count = store.getNbCustomizedThingsForBundleId(bundleId);
  if (count == 0)
    out << "nothing customized\n";
  else
    out << count << (count == 1 ? " customized thing\n" : " customized things\n");

  printLevel(out, entry, kVolumeKey);
  printLevel(out, entry, kBrightnessKey);
  const Value* toggles = entry.find(kTogglesKey);
  if (!toggles) return;
  if (!toggles->isDictionary()) {
    out << "  toggles " << terminalSafe(toggles->describe()) << " (not a dictionary: ignored)\n";
    return;
  }
  // Switches first, then behaviours, each in the stored order.
  for (bool behaviours : {false, true})
    for (const auto& [name, state] : toggles->dictionary())
      if (name.starts_with(kActionNamePrefix) == behaviours) printToggle(out, name, state);
}

int runApps(const Invocation& invocation) {
  if (!invocation.args.empty()) {
    *invocation.err << "tessra apps: takes no arguments\n";
    return 2;
  }
  if (!useDeviceRoot(invocation, "apps")) return 2;
  reportDamagedPreferences(invocation, "apps", "the file is left as it is and no app reads as customized");

  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  Value stored = preferences.objectForKey(kCustomizedAppsKey);
  if (!stored.isNull() && !stored.isDictionary()) {
    *invocation.err << "tessra apps: the stored \"" << kCustomizedAppsKey << "\" is not a dictionary ("
                    << terminalSafe(stored.describe()) << ")\n";
    return 1;
  }
  TessraStorageManager& store = TessraStorageManager::sharedInstance();
  store.loadDictionaryFromStorage();
  const auto& apps = store.wholeStorageDictionary().dictionary();
  std::ostream& out = *invocation.out;
  if (apps.empty()) {
    out << "No app is customized.\n";
    return 0;
  }
  for (const auto& [bundleId, entry] : apps) printApp(out, store, bundleId, entry);
  return 0;
}

CommandRegistration registration{{"apps", "--root DIR: every customized app and what it customizes", runApps}};

}  // namespace
}  // namespace tessra::cli
