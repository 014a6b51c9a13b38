#include "prefs/TSSubPrefsListController.h"

#include "platform/preferences/UINavigationItem.h"
#include "platform/ui/UILabel.h"

using namespace platform;

void TSSubPrefsListController::setSpecifier(std::shared_ptr<PSSpecifier> specifier) {
  loadFromSpecifier(specifier);
  zTSBasePreferences::setSpecifier(std::move(specifier));
}

void TSSubPrefsListController::reloadSpecifiers() { loadFromSpecifier(specifier()); }

void TSSubPrefsListController::loadFromSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  plist::Value list = specifier->propertyForKey("TSSubPrefs");
  if (list.isString()) setSpecifiers(loadSpecifiersFromPlistName(list.string(), this));
  setTitle(specifier->name());
  navigationItem().setTitle(specifier->name());
  if (titleLabel_) titleLabel_->setText(specifier->name());
}
