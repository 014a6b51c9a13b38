#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIImageView;

namespace springboard {

class SystemProfile;

// What the status bar shows.
struct StatusBarState {
  std::string time;  // "9:41"
  bool wifi = false;
  bool cellular = false;
  bool airplane = false;
  bool bluetooth = false;
  bool doNotDisturb = false;
  bool location = false;
  bool orientationLock = false;
  bool lowPower = false;
  int batteryPercent = 100;
  bool charging = false;
  bool operator==(const StatusBarState&) const = default;
};

// The status bar at the top of the screen (UIStatusBar below 13.0,
// _UIStatusBar from 13.0): the time at the leading side and, at the trailing
// side, one glyph per indicator that is on, in a fixed order (airplane,
// cellular, Wi-Fi, Bluetooth, do-not-disturb, location, orientation lock),
// then the battery with its percentage: its glyph filled to the level (in
// tenths, with a bolt while charging), yellow in low power mode, green while
// charging, red at 20 % and below. Mirrored in a right-to-left layout. White
// text, or black over an app's light screen.
class StatusBarView final : public ScreenView {
 public:
  explicit StatusBarView(const SystemProfile& profile);

  // The height of the status bar on the device.
  static double heightFor(const SystemProfile& profile);

  void setState(const StatusBarState& state);
  const StatusBarState& state() const { return state_; }
  // Black content over a light screen, white otherwise.
  void setDarkContent(bool dark);
  // The indicators shown, in order from the leading side ("wifi", "battery"...).
  std::vector<std::string> visibleIndicators() const;
  // The frame of an indicator in the status bar (zero when not shown).
  CGRect indicatorFrame(const std::string& name) const;
  const UILabel& timeLabel() const { return *time_; }
  const UILabel& batteryLabel() const { return *battery_; }
  // The Material Design Icons glyph of the battery for a state (its level and charging).
  static char32_t batteryGlyph(const StatusBarState& state);
  // The colour of the battery glyph for a state, over `content` (the bar's text colour).
  static UIColor batteryColor(const StatusBarState& state, const UIColor& content);
  // The glyph the battery indicator shows now.
  char32_t shownBatteryGlyph() const { return batteryGlyph_; }
  const UIImageView& batteryIndicator() const;

 protected:
  void layoutContents() override;

 private:
  struct Indicator {
    std::string name;
    std::shared_ptr<UIImageView> view;
  };
  void applyTint();

  StatusBarState state_;
  bool dark_ = false;
  std::shared_ptr<ScreenLabel> time_;
  std::shared_ptr<UILabel> battery_;
  std::vector<Indicator> indicators_;  // in display order, battery last
  char32_t batteryGlyph_ = 0;
};

}  // namespace springboard
}  // namespace platform
