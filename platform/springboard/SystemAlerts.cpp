#include "platform/springboard/SystemAlerts.h"

#include "platform/runtime/Runtime.h"
#include "platform/springboard/SBAlertController.h"
#include "platform/springboard/SBAlertItem.h"
#include "platform/springboard/SBAlertItemsController.h"

namespace platform::springboard {

namespace {

constexpr size_t kMaxClassNameLength = 128;

// Whether `cls` descends from a class named SBAlertItem, of this device or of one configured before.
bool descendsFromAnAlertItem(const Class* cls) {
  for (; cls; cls = cls->superclass())
    if (cls->name() == SBAlertItem::kClassName) return true;
  return false;
}

}  // namespace

bool SystemAlerts::isClassName(std::string_view name) {
  if (name.empty() || name.size() > kMaxClassNameLength || (name[0] >= '0' && name[0] <= '9')) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::string SystemAlerts::raise(std::string_view className, std::optional<std::string> title,
                                std::optional<std::string> message) {
  if (!isClassName(className)) return "'" + std::string(className) + "' is not a class name";
  Class* base = Runtime::lookUpClass(SBAlertItem::kClassName);
  SBAlertItemsController* controller = SBAlertItemsController::sharedInstance();
  if (!base || !controller) return "this device has no system alerts";
  Class* cls = Runtime::lookUpClass(className);
  if (cls && !cls->isSubclassOf(base)) {
    // A class the device made for an earlier configuration is made again under today's base.
    if (!descendsFromAnAlertItem(cls)) return "the class " + std::string(className) + " is not an alert item";
    cls = nullptr;
  }
  if (!cls) {
    cls = Runtime::allocateClass<SBAlertItem>(std::string(className), base);
    Runtime::registerClass(cls);
  }
  Ref<Object> object = class_createInstance(cls);
  auto* item = dynamic_cast<SBAlertItem*>(object.get());
  if (!item) return "the class " + std::string(className) + " is not an alert item";
  item->setTexts(std::move(title), std::move(message));
  controller->activateAlertItem(item);
  return {};
}

PresentationState SystemAlerts::lastAlert() {
  SBAlertItemsController* items = SBAlertItemsController::sharedInstance();
  SBAlertController* controller = items ? items->lastController() : nullptr;
  if (!controller) return PresentationState::None;
  SBAlertItem* item = controller->alertItem();
  const bool shown = controller->hasAppeared() && !controller->isHidden() && item && item->isActive();
  return shown ? PresentationState::Shown : PresentationState::Hidden;
}

}  // namespace platform::springboard
