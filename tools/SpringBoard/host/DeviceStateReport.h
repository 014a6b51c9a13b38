#pragma once

#include <string>

namespace platform::springboard {
class DeviceModel;
}

namespace tessra::device {

class AlertScreen;
class ScriptVocabulary;

// The device's state in a few lines of text, for `state` in a script and
// `tessra device state`: what is in front, the lock screen, Siri and
// Spotlight, the running apps, volume, brightness, dark mode, media, every
// switch by its toggle name, and the alert on screen. Stateless.
class DeviceStateReport {
 public:
  // Renders the state of `model` (main thread); `alerts` may be null.
  static std::string render(platform::springboard::DeviceModel& model, const ScriptVocabulary& vocabulary,
                            AlertScreen* alerts);
};

}  // namespace tessra::device
