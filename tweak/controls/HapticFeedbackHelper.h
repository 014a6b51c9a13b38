#pragma once

// The small tap feedback the panel plays when a toggle, slider or ring
// changes. What the device can do decides how: a device with system-sound
// feedback only plays a peek or pop sound, a device with an impact feedback
// generator produces an impact of the asked style, any other does nothing.
// No state; class operations only, on the main thread.
class HapticFeedbackHelper {
 public:
  HapticFeedbackHelper() = delete;

  // The impact styles of the platform's feedback generator.
  static constexpr long kStyleLight = 0;
  static constexpr long kStyleMedium = 1;
  static constexpr long kStyleHeavy = 2;
  // The system sounds played where only those are supported: pop for a heavy impact, peek otherwise.
  static constexpr unsigned kPopSound = 1520;
  static constexpr unsigned kPeekSound = 1519;

  // A light impact.
  static void sendImpact();
  // An impact of `style` (0 light, 1 medium, 2 heavy), as far as the device supports feedback.
  static void sendImpactWithStyle(long style);
};
