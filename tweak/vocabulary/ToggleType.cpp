#include "tweak/vocabulary/ToggleType.h"

#include <array>

namespace {

constexpr std::array<ToggleDescription, 18> kSwitches{{
    {ToggleTypeOrientationLock, "orientationLock", "Orientation Lock"},
    {ToggleTypeBluetooth, "bluetooth", "Bluetooth"},
    {ToggleTypeCellular, "cellular", "Cellular Data"},
    {ToggleTypeWifi, "wifi", "Wi-Fi"},
    {ToggleTypeAirplane, "airplane", "Airplane Mode"},
    {ToggleTypeDnd, "dnd", "Do Not Disturb"},
    {ToggleTypeLocation, "location", "Location"},
    {ToggleTypeAutoBrightness, "autoBrightness", "Auto Brightness"},
    {ToggleTypeAutoLock, "autoLock", "Auto Lock"},
    {ToggleTypeLowPower, "lowPower", "Low Power Mode"},
    {ToggleTypeNightShift, "nightShift", "Night Shift"},
    {ToggleTypeVpn, "vpn", "VPN"},
    {ToggleTypeRinger, "ringer", "Ringer"},
    {ToggleTypeDarkMode, "darkMode", "Dark Mode"},
    {ToggleTypeReduceWhitePoint, "reduceWhitePoint", "Reduce White Point"},
    {ToggleTypeSmartInvertColors, "smartInvertColors", "Smart Invert Colors"},
    {ToggleTypeClassicInvertColors, "classicInvertColors", "Classic Invert Colors"},
    {ToggleTypeAssistiveTouch, "assistiveTouch", "Assistive Touch"},
}};

constexpr std::array<ToggleDescription, 11> kActions{{
    {ToggleTypeDisableNC, "action_disableNC", "Disable Notification Center"},
    {ToggleTypeDisableCC, "action_disableCC", "Disable Control Center"},
    {ToggleTypeDisableHomeGesture, "action_disableHomeGesture", "Disable Home Gesture"},
    {ToggleTypeDisableReachability, "action_disableReachability", "Disable Reachability"},
    {ToggleTypeDisableActivator, "action_disableActivator", "Disable Activator"},
    {ToggleTypeHideNotificationBanners, "action_hideNotificationBanners", "Hide Notification Banners"},
    {ToggleTypeHideStockAlerts, "action_hideStockAlerts", "Hide Stock Alerts"},
    {ToggleTypeHideHomeBar, "action_hideHomeBar", "Hide Home Bar Grabber"},
    {ToggleTypeClearAppSwitcher, "action_clearAppSwitcher", "Kill All Running Apps"},
    {ToggleTypePlayMusic, "action_playMusic", "Play Music"},
    {ToggleTypePauseMusic, "action_pauseMusic", "Pause Music"},
}};

// The tables are indexed by type; a wrong row would silently mislabel a toggle.
constexpr bool typesAreConsecutive() {
  for (size_t i = 0; i < kSwitches.size(); ++i)
    if (kSwitches[i].type != static_cast<ToggleType>(i)) return false;
  for (size_t i = 0; i < kActions.size(); ++i)
    if (kActions[i].type != static_cast<ToggleType>(ToggleTypeDisableNC + i)) return false;
  return true;
}
static_assert(typesAreConsecutive());

}  // namespace

std::span<const ToggleDescription> switchDescriptions() { return kSwitches; }

std::span<const ToggleDescription> actionDescriptions() { return kActions; }

const ToggleDescription* switchDescription(ToggleType type) {
  if (type < 0 || static_cast<size_t>(type) >= kSwitches.size()) return nullptr;
  return &kSwitches[static_cast<size_t>(type)];
}

const ToggleDescription* actionDescription(ToggleType type) {
  if (type < ToggleTypeDisableNC || static_cast<size_t>(type - ToggleTypeDisableNC) >= kActions.size()) return nullptr;
  return &kActions[static_cast<size_t>(type - ToggleTypeDisableNC)];
}

const ToggleDescription* toggleDescription(ToggleType type) {
  if (const ToggleDescription* description = switchDescription(type)) return description;
  return actionDescription(type);
}

std::optional<std::string_view> toggleNameForType(ToggleType type) {
  if (const ToggleDescription* description = toggleDescription(type)) return description->name;
  return std::nullopt;
}

std::optional<std::string_view> readableNameForType(ToggleType type) {
  if (const ToggleDescription* description = toggleDescription(type)) return description->readableName;
  return std::nullopt;
}

ToggleType toggleTypeForName(std::string_view name) {
  for (const ToggleDescription& description : kSwitches)
    if (description.name == name) return description.type;
  return actionTypeForName(name);
}

ToggleType actionTypeForName(std::string_view name) {
  for (const ToggleDescription& description : kActions)
    if (description.name == name) return description.type;
  return ToggleTypeUnknown;
}
