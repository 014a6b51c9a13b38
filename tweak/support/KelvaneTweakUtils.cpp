#include "tweak/support/KelvaneTweakUtils.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdlib>

#include "platform/foundation/Dispatch.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

namespace {

// White space and line breaks as the platform's trimming counts them: every
// space separator, tab, and the line and paragraph breaks.
bool isSpaceOrLineBreak(UChar32 c) {
  return c == 0x09 || (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029 ||
         u_charType(c) == U_SPACE_SEPARATOR;
}

}  // namespace

std::string KelvaneTweakUtils::trimmedString(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(text.size());
  // First character that is kept.
  int32_t start = 0;
  while (start < length) {
    int32_t next = start;
    UChar32 c;
    U8_NEXT(bytes, next, length, c);
    if (c < 0 || !isSpaceOrLineBreak(c)) break;
    start = next;
  }
  // One past the last character that is kept.
  int32_t end = length;
  while (end > start) {
    int32_t previous = end;
    UChar32 c;
    U8_PREV(bytes, start, previous, c);
    if (c < 0 || !isSpaceOrLineBreak(c)) break;
    end = previous;
  }
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

bool KelvaneTweakUtils::stringIsEmpty(std::string_view text) { return trimmedString(text).empty(); }

KelvaneTweakUtils::RandomSource& KelvaneTweakUtils::randomSource() {
  static RandomSource source;
  return source;
}

int32_t KelvaneTweakUtils::getRandomNumberBetween(int32_t from, int32_t to) {
  const uint32_t r = randomSource() ? randomSource()() : arc4random();
  const uint32_t low = static_cast<uint32_t>(from);
  const uint32_t range = static_cast<uint32_t>(to) - low + 1u;
  const uint32_t result = range == 0 ? r + low : r % range + low;
  return static_cast<int32_t>(result);
}

void KelvaneTweakUtils::showAlertWithTitle(std::string title, std::string message, std::vector<std::string> buttonsText,
                                           AlertCompletion completion) {
  auto alert = platform::UIAlertController::alertControllerWithTitle(std::move(title), std::move(message),
                                                                     platform::UIAlertControllerStyle::Alert);
  for (auto& buttonText : buttonsText) {
    alert->addAction(platform::UIAlertAction::actionWithTitle(
        std::move(buttonText), platform::UIAlertActionStyle::Default, [completion](platform::UIAlertAction& action) {
          if (completion) completion(action.title());
        }));
  }
  showAlertControllerOverEverything(std::move(alert));
}

void KelvaneTweakUtils::showAlertWithTitle(std::string title, std::string message, std::string buttonText) {
  auto alert = platform::UIAlertController::alertControllerWithTitle(std::move(title), std::move(message),
                                                                     platform::UIAlertControllerStyle::Alert);
  alert->addAction(
      platform::UIAlertAction::actionWithTitle(std::move(buttonText), platform::UIAlertActionStyle::Default, nullptr));
  showAlertControllerOverEverything(std::move(alert));
}

void KelvaneTweakUtils::showAlertControllerOverEverything(std::shared_ptr<platform::UIAlertController> alert) {
  platform::dispatch_async(platform::dispatch_get_main_queue(), [alert = std::move(alert)] {
    auto controller = std::make_shared<platform::UIViewController>();
    controller->view()->setBackgroundColor(platform::UIColor::clearColor());
    // The window lives as long as the alert it presents (the presentation holds it).
    auto window = std::make_shared<platform::UIWindow>(platform::UIScreen::mainScreen().bounds());
    window->setRootViewController(controller);
    window->setBackgroundColor(platform::UIColor::clearColor());
    window->setWindowLevel(platform::UIWindowLevelAlert + 1);
    window->makeKeyAndVisible();
    controller->presentViewController(alert, true, nullptr);
  });
}

std::shared_ptr<platform::UIViewController> KelvaneTweakUtils::topMostController() {
  platform::UIWindow* keyWindow = platform::UIApplication::sharedApplication().keyWindow();
  if (!keyWindow) return nullptr;
  std::shared_ptr<platform::UIViewController> top = keyWindow->rootViewController();
  while (top && top->presentedViewController()) top = top->presentedViewController();
  return top;
}

bool KelvaneTweakUtils::isAlreadyShowingAnAlert() {
  return dynamic_cast<platform::UIAlertController*>(topMostController().get()) != nullptr;
}
