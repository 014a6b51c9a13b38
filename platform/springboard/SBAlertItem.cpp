#include "platform/springboard/SBAlertItem.h"

#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

void SBAlertItem::setTexts(std::optional<std::string> title, std::optional<std::string> message) {
  title_ = std::move(title);
  message_ = std::move(message);
}

void SBAlertItem::registerClass(const springboard::SystemProfile&) {
  springboard::SpringBoardClasses::define<SBAlertItem>(kClassName);
  springboard::SpringBoardClasses::define<SBAlertItem>(kUserNotificationAlertClassName, kClassName);
}

}  // namespace platform
