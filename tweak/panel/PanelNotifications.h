#pragma once

#include <string_view>

// The in-process notification through which the panel's buttons and sliders
// ask the panel to show a text under the rings.
namespace panel_notifications {

// Posted on the application's default centre, without an object.
inline constexpr std::string_view kSetBottomLabelText = "SetBottomLabelTextNotification";
// User-info key of the text to show (an empty text clears the label).
inline constexpr std::string_view kBottomLabelTextKey = "bottomLabelText";

// Posts kSetBottomLabelText with `text`, only while the setting that shows these texts is on.
void postBottomLabelText(std::string_view text);

}  // namespace panel_notifications
