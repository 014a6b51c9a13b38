#include "tweak/toast/TSToastManager.h"

#include <string>

TSToastManager::TSToastManager() : sharedStyle_(TSToastStyle::createWithDefaultStyle()) {}

TSToastManager& TSToastManager::sharedManager() {
  // Never destroyed: toasts may still be fading out while the process ends.
  static TSToastManager* manager = new TSToastManager();
  return *manager;
}

std::shared_ptr<TSToastStyle> TSToastManager::sharedStyle() { return sharedManager().sharedStyle_; }

void TSToastManager::setSharedStyle(std::shared_ptr<TSToastStyle> style) {
  if (style) sharedManager().sharedStyle_ = std::move(style);
}

bool TSToastManager::isTapToDismissEnabled() { return sharedManager().tapToDismissEnabled_; }

void TSToastManager::setTapToDismissEnabled(bool enabled) { sharedManager().tapToDismissEnabled_ = enabled; }

bool TSToastManager::ts_isQueueEnabled() { return sharedManager().queueEnabled_; }

void TSToastManager::ts_setQueueEnabled(bool enabled) { sharedManager().queueEnabled_ = enabled; }

double TSToastManager::defaultDuration() { return sharedManager().defaultDuration_; }

void TSToastManager::setDefaultDuration(double seconds) { sharedManager().defaultDuration_ = seconds; }

ToastPosition TSToastManager::defaultPosition() { return sharedManager().defaultPosition_; }

void TSToastManager::setDefaultPosition(const std::any& position) {
  ToastPosition& current = sharedManager().defaultPosition_;
  if (const auto* name = std::any_cast<std::string>(&position))
    current = *name;
  else if (const auto* text = std::any_cast<const char*>(&position))
    current = *text ? ToastPosition(*text) : current;
  else if (const auto* point = std::any_cast<platform::CGPoint>(&position))
    current = *point;
  else if (const auto* given = std::any_cast<ToastPosition>(&position))
    current = *given;
}
