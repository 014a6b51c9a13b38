#pragma once

namespace platform::springboard {

class EventLog;

// The screen: its brightness (0.0 to 1.0) with the brightness indicator, and
// the home bar grabber's alpha. The grabber is not drawn here: a change is
// recorded with the duration of the animation that made it, for the UI layer
// and for tests. Log entries: "brightness -> 0.55" (with " (hud)"),
// "home grabber alpha -> 0.00 over 0.20 s". Owned by DeviceModel; main thread only.
class DisplayState {
 public:
  explicit DisplayState(EventLog& log);

  double brightness() const { return brightness_; }
  // Sets the brightness, clamped to 0...1; `showHUD` shows the brightness indicator.
  void setBrightness(double brightness, bool showHUD);
  // How many times the brightness indicator has shown.
  int brightnessHudShows() const { return brightnessHudShows_; }

  double homeGrabberAlpha() const { return grabberAlpha_; }
  // The duration of the animation of the last grabber change (0 when it was immediate).
  double homeGrabberAnimationDuration() const { return grabberDuration_; }
  void setHomeGrabberAlpha(double alpha, double animationDuration);

  // How the device is held (UIDeviceOrientation: 1 portrait, 2 upside down, 3 landscape left,
  // 4 landscape right). The home screen itself stays in portrait.
  long orientation() const { return orientation_; }
  // Turns the device; the log gets "orientation -> N".
  void setOrientation(long orientation);

  // Restores a fresh device (brightness 0.5, grabber shown, portrait), without log entries.
  void reset();

 private:
  EventLog& log_;
  double brightness_ = 0.5;
  int brightnessHudShows_ = 0;
  double grabberAlpha_ = 1.0;
  double grabberDuration_ = 0.0;
  long orientation_ = 1;
};

}  // namespace platform::springboard
