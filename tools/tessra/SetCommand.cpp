// `tessra set KEY VALUE`: writes one setting of the device and tells the
// running plug-in, as the settings bundle does after a change.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <ostream>
#include <string>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceNotificationLink.h"
#include "tools/tessra/DeviceRootOption.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraSettings.h"

namespace tessra::cli {
namespace {

std::optional<int64_t> parseSwitch(std::string word) {
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::tolower(c); });
  if (word == "on" || word == "yes" || word == "true" || word == "1") return 1;
  if (word == "off" || word == "no" || word == "false" || word == "0") return 0;
  return std::nullopt;
}

std::optional<int64_t> parseInteger(const std::string& word) {
  int64_t value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || word.empty()) return std::nullopt;
  return value;
}

int runSet(const Invocation& invocation) {
  std::ostream& err = *invocation.err;
  if (invocation.args.size() != 2) {
    err << "tessra set: usage: tessra set KEY VALUE --root DIR\n";
    return 2;
  }
  const std::string& key = invocation.args[0];
  const std::string& word = invocation.args[1];
  const SettingDescription* setting = TessraSettings::find(key);
  if (!setting) {
    err << "tessra set: unknown setting '" << key << "' (`tessra settings` lists them); nothing written\n";
    return 2;
  }

  std::optional<int64_t> value;
  if (setting->type == SettingType::Bool) {
    value = parseSwitch(word);
    if (!value) {
      err << "tessra set: " << key << " is a switch: give on/off, yes/no, true/false or 1/0 (not '" << word
          << "'); nothing written\n";
      return 2;
    }
  } else {
    value = parseInteger(word);
    if (!value || *value < setting->minimum || *value > setting->maximum) {
      err << "tessra set: " << key << " takes a whole number from " << setting->minimum << " to " << setting->maximum
          << " (not '" << word << "'); nothing written\n";
      return 2;
    }
  }

  if (!useDeviceRoot(invocation, "set")) return 2;
  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  bool saved = preferences.setObject(setting->storedValue(*value), key);
  saved = preferences.synchronize() && saved;
  if (!saved) {
    err << "tessra set: could not write the preferences of the device (" << preferences.saveProblem() << "); " << key
        << " is unchanged\n";
    return 1;
  }
  const size_t unheardBefore = DeviceNotificationLink::unheardPosts();
  platform::DarwinNotificationCenter::shared().postNotification(std::string(kReloadPrefsNotification));
  // The device catches up when its bus is back.
  if (DeviceNotificationLink::unheardPosts() != unheardBefore)
    err << "tessra set: warning: the running device did not answer; its plug-in keeps the old " << key
        << " until its bus is back (tessra device restart " << invocation.root << " makes it read the new one now)\n";
  *invocation.out << key << " = "
                  << (setting->type == SettingType::Bool ? (*value ? "on" : "off") : std::to_string(*value)) << "\n";
  return 0;
}

CommandRegistration registration{
    {"set", "KEY VALUE --root DIR: writes one setting and tells the running plug-in", runSet}};

}  // namespace
}  // namespace tessra::cli
