#pragma once

namespace bench {

// The stored names of the eighteen switches and behaviours that benchmarks spread over
// their sample apps, in a fixed order.
// clang-format off
inline constexpr const char* kSampleToggles[] = {
    "orientationLock", "bluetooth", "cellular", "wifi", "airplane", "dnd", "location", "autoBrightness",
    "autoLock", "lowPower", "nightShift", "vpn", "ringer", "darkMode",
    "action_disableNC", "action_disableCC", "action_hideHomeBar", "action_hideStockAlerts"};
// clang-format on

}  // namespace bench
