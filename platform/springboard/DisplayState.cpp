#include "platform/springboard/DisplayState.h"

#include <algorithm>
#include <string>

#include "platform/springboard/EventLog.h"

namespace platform::springboard {

DisplayState::DisplayState(EventLog& log) : log_(log) {}

void DisplayState::setBrightness(double brightness, bool showHUD) {
  brightness_ = std::clamp(brightness, 0.0, 1.0);
  if (showHUD) ++brightnessHudShows_;
  log_.record("brightness -> " + EventLog::fraction(brightness_) + (showHUD ? " (hud)" : ""));
}

void DisplayState::setHomeGrabberAlpha(double alpha, double animationDuration) {
  grabberAlpha_ = std::clamp(alpha, 0.0, 1.0);
  grabberDuration_ = std::max(animationDuration, 0.0);
  std::string text = "home grabber alpha -> " + EventLog::fraction(grabberAlpha_);
  if (grabberDuration_ > 0) text += " over " + EventLog::fraction(grabberDuration_) + " s";
  log_.record(std::move(text));
}

void DisplayState::setOrientation(long orientation) {
  orientation_ = orientation;
  log_.record("orientation -> " + std::to_string(orientation));
}

void DisplayState::reset() {
  orientation_ = 1;
  brightness_ = 0.5;
  brightnessHudShows_ = 0;
  grabberAlpha_ = 1.0;
  grabberDuration_ = 0.0;
}

}  // namespace platform::springboard
