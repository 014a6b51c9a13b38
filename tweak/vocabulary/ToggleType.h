#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The vocabulary of what an app can customize, shared by the store, the
// catalogue, the engine and the device's tools. A toggle type is a signed
// 32-bit number: 0 to 17 are the system switches, 19 to 29 the behaviours
// (actions), 18 means nothing, and 30 is the answer of a name lookup that
// matches nothing. A toggle state is a signed 32-bit number as well: -1 not
// customized (never stored), 0 turn off, 1 turn on or behaviour active.
// Values outside these ranges travel through the same types unchanged, which
// is why both are plain integers rather than enum classes.
using ToggleType = int32_t;
using ToggleState = int32_t;

enum : ToggleType {
  ToggleTypeOrientationLock = 0,
  ToggleTypeBluetooth = 1,
  ToggleTypeCellular = 2,
  ToggleTypeWifi = 3,
  ToggleTypeAirplane = 4,
  ToggleTypeDnd = 5,
  ToggleTypeLocation = 6,
  ToggleTypeAutoBrightness = 7,
  ToggleTypeAutoLock = 8,
  ToggleTypeLowPower = 9,
  ToggleTypeNightShift = 10,
  ToggleTypeVpn = 11,
  ToggleTypeRinger = 12,
  ToggleTypeDarkMode = 13,
  ToggleTypeReduceWhitePoint = 14,
  ToggleTypeSmartInvertColors = 15,
  ToggleTypeClassicInvertColors = 16,
  ToggleTypeAssistiveTouch = 17,
  ToggleTypeNone = 18,
  ToggleTypeDisableNC = 19,
  ToggleTypeDisableCC = 20,
  ToggleTypeDisableHomeGesture = 21,
  ToggleTypeDisableReachability = 22,
  ToggleTypeDisableActivator = 23,
  ToggleTypeHideNotificationBanners = 24,
  ToggleTypeHideStockAlerts = 25,
  ToggleTypeHideHomeBar = 26,
  ToggleTypeClearAppSwitcher = 27,
  ToggleTypePlayMusic = 28,
  ToggleTypePauseMusic = 29,
  ToggleTypeUnknown = 30,
};

enum : ToggleState {
  ToggleStateNotCustomized = -1,
  ToggleStateOff = 0,
  ToggleStateOn = 1,
};

// Every behaviour name starts with this prefix and no switch name does.
inline constexpr std::string_view kActionNamePrefix = "action_";

// One row of the catalogue: a type, its name (the storage key) and its
// readable name (used in texts).
struct ToggleDescription {
  ToggleType type;
  std::string_view name;
  std::string_view readableName;
};

// The switches, types 0 to 17 in ascending order.
std::span<const ToggleDescription> switchDescriptions();
// The behaviours, types 19 to 29 in ascending order.
std::span<const ToggleDescription> actionDescriptions();

// The row of switch `type` (0 to 17), or null.
const ToggleDescription* switchDescription(ToggleType type);
// The row of behaviour `type` (19 to 29), or null.
const ToggleDescription* actionDescription(ToggleType type);
// The row of `type`, a switch or a behaviour, or null.
const ToggleDescription* toggleDescription(ToggleType type);

// The storage name of `type`, or nothing.
std::optional<std::string_view> toggleNameForType(ToggleType type);
// The readable name of `type`, or nothing.
std::optional<std::string_view> readableNameForType(ToggleType type);
// The type named exactly `name` (switches first, then behaviours), or ToggleTypeUnknown.
ToggleType toggleTypeForName(std::string_view name);
// The behaviour named exactly `name`, or ToggleTypeUnknown.
ToggleType actionTypeForName(std::string_view name);
// Whether `type` counts as a behaviour: every type above ToggleTypeNone.
constexpr bool toggleTypeIsAction(ToggleType type) { return type > ToggleTypeNone; }
