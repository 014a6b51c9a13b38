// `tessra settings`: every setting of the device with its value and default.
#include <algorithm>
#include <array>
#include <iomanip>
#include <ostream>
#include <string>

#include "platform/prefs/HBPreferences.h"
#include "tools/tessra/Command.h"
#include "tools/tessra/DeviceRootOption.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraSettings.h"

namespace tessra::cli {
namespace {

// What the values of the two integer settings mean, for the listing.
std::string meaningOf(const SettingDescription& setting, int64_t value) {
  static constexpr std::array<const char*, 3> kStyles = {"dark", "light", "follow the system"};
  static constexpr std::array<const char*, 4> kMethods = {"both volume buttons", "triple press of the side button",
                                                          "double press of the side button",
                                                          "long press of the side button"};
  if (setting.key == "interfaceColorStyle" && value >= 0 && value < 3) return kStyles[static_cast<size_t>(value)];
  if (setting.key == "disableHomeGesture_activationMethod" && value >= 0 && value < 4)
    return kMethods[static_cast<size_t>(value)];
  return {};
}

std::string valueText(const SettingDescription& setting, int64_t value) {
  if (setting.type == SettingType::Bool) return value ? "on" : "off";
  std::string text = std::to_string(value);
  std::string meaning = meaningOf(setting, value);
  if (!meaning.empty()) text += " (" + meaning + ")";
  return text;
}

int runSettings(const Invocation& invocation) {
  if (!invocation.args.empty()) {
    *invocation.err << "tessra settings: takes no arguments\n";
    return 2;
  }
  if (!useDeviceRoot(invocation, "settings")) return 2;
  reportDamagedPreferences(invocation, "settings", "the file is left as it is and every setting reads as its default");

  platform::HBPreferences preferences{std::string(kPreferencesDomain)};
  auto settings = TessraSettings::all();
  size_t keyWidth = 0;
  for (const auto& setting : settings) keyWidth = std::max(keyWidth, setting.key.size());

  std::ostream& out = *invocation.out;
  out << "Settings of " << kPreferencesDomain << " (* = changed from the default)\n";
  for (const auto& setting : settings) {
    platform::plist::Value stored = preferences.objectForKey(setting.key);
    int64_t value = setting.valueFor(stored);
    out << (value != setting.defaultValue ? "* " : "  ") << std::left << std::setw(static_cast<int>(keyWidth))
        << setting.key << "  " << std::setw(30) << valueText(setting, value) << "default "
        << valueText(setting, setting.defaultValue);
    if (!stored.isNull() && !stored.isNumber())
      out << "  [stored " << stored.describe() << " is not a number: the default applies]";
    out << "\n";
  }
  return 0;
}

CommandRegistration registration{
    {"settings", "--root DIR: every setting with its value and default (* marks a changed one)", runSettings}};

}  // namespace
}  // namespace tessra::cli
