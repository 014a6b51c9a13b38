#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class UIAlertController;
class UIViewController;
}  // namespace platform

class KelvaneTweakUtilsTestApi;

// Small utilities the plug-in shares: alerts shown above everything, the
// top-most view controller, string trimming and emptiness, a random number
// in a range. Class-level operations only.
class KelvaneTweakUtils {
 public:
  // Receives the title of the button that closed an alert.
  using AlertCompletion = std::function<void(const std::string& buttonTitle)>;

  // An alert with one default button per title, in order; a tap calls `completion` (if any) with the title.
  static void showAlertWithTitle(std::string title, std::string message, std::vector<std::string> buttonsText,
                                 AlertCompletion completion);
  // An alert with a single default button that only closes it.
  static void showAlertWithTitle(std::string title, std::string message, std::string buttonText);
  // On the main queue: a clear window one level above the alert level, made key and visible, presents `alert`.
  static void showAlertControllerOverEverything(std::shared_ptr<platform::UIAlertController> alert);
  // The key window's root controller followed down its presented controllers; null without a key window.
  static std::shared_ptr<platform::UIViewController> topMostController();
  // Whether the top-most controller is an alert.
  static bool isAlreadyShowingAnAlert();

  // `text` without leading and trailing white space and line breaks (Unicode spaces included).
  static std::string trimmedString(std::string_view text);
  // Whether the trimmed text is the empty string.
  static bool stringIsEmpty(std::string_view text);
  // r mod (to - from + 1) + from in unsigned 32-bit arithmetic for a uniform 32-bit r; r + from when the range wraps to
  // 0.
  static int32_t getRandomNumberBetween(int32_t from, int32_t to);

 private:
  friend class KelvaneTweakUtilsTestApi;
  using RandomSource = std::function<uint32_t()>;
  static RandomSource& randomSource();
};

// Lets tests choose the 32-bit values that getRandomNumberBetween draws.
class KelvaneTweakUtilsTestApi {
 public:
  // Draws from `source` instead of the system's generator (an empty function restores it).
  static void setRandomSource(std::function<uint32_t()> source) {
    KelvaneTweakUtils::randomSource() = std::move(source);
  }
};
