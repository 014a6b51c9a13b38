#pragma once

#include <string_view>

// The accessibility identifiers of the panel's views, by which scripts and
// tests find them on screen (header only: the device's host program, which
// never links the plug-in, reads them too). A ring button is identified by
// its toggle's name ("wifi", "action_disableNC").
namespace panel_identifiers {

inline constexpr std::string_view kPanel = "Tessra2Panel";
inline constexpr std::string_view kBackdrop = "Tessra2PanelBackdrop";
inline constexpr std::string_view kTogglesRing = "togglesRing";
inline constexpr std::string_view kActionsRing = "actionsRing";
inline constexpr std::string_view kBadge = "badge";
inline constexpr std::string_view kVolumeSlider = "volumeSlider";
inline constexpr std::string_view kBrightnessSlider = "brightnessSlider";
inline constexpr std::string_view kPercentLabel = "percent";
inline constexpr std::string_view kSliderFill = "fill";
inline constexpr std::string_view kVolumeRemoveButton = "volumeRemoveButton";
inline constexpr std::string_view kBrightnessRemoveButton = "brightnessRemoveButton";
inline constexpr std::string_view kSliderDisc = "sliderDisc";
inline constexpr std::string_view kSegmentedControl = "segmentedControl";
inline constexpr std::string_view kSegmentedSelector = "segmentedSelector";
inline constexpr std::string_view kAppNameLabel = "appName";
inline constexpr std::string_view kBottomLabel = "bottomLabel";

}  // namespace panel_identifiers
