#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The one-line texts that the panel shows at the bottom for a toggle or a
// behaviour, composed in English. Each "%@" of a format takes the next
// argument in turn.
namespace toggle_texts {

inline constexpr std::string_view kEnable = "Enable";
inline constexpr std::string_view kDisable = "Disable";
// Switch: "Enable"/"Disable", readable name, app name.
inline constexpr std::string_view kSwitchFormat = "%@ %@ when opening %@";
// One-state toggle: readable name, app name.
inline constexpr std::string_view kOneStateFormat = "%@ when using %@";
// Behaviour enforced while the app is in front: readable name, app name.
inline constexpr std::string_view kWhileUsingFormat = "%@ while using %@";
// Behaviour done once when the app opens: readable name, app name.
inline constexpr std::string_view kWhenOpeningFormat = "%@ when opening %@";

// `format` with each "%@" replaced by the next of `args` (an exhausted list leaves the rest empty).
std::string fill(std::string_view format, std::initializer_list<std::string_view> args);

}  // namespace toggle_texts
