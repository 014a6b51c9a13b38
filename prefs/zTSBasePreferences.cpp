#include "prefs/zTSBasePreferences.h"

#include <algorithm>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Log.h"
#include "platform/preferences/PSControlTableCell.h"
#include "platform/preferences/PSEditableTableCell.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/preferences/UITableView.h"
#include "platform/preferences/UITextField.h"
#include "platform/prefs/DeferredDurability.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "prefs/TessraPrefsNames.h"

using namespace platform;
using namespace tessra::prefs;

namespace {

constexpr double kTitleFontSize = 17;
constexpr double kMinimumTitleScale = 0.5;

// Whether the system has a light and a dark appearance (iOS 13 and later).
bool systemHasAppearances() { return DeviceInfo::current().systemVersionNumber() >= 13.0; }

}  // namespace

UIColor zTSBasePreferences::tintColor() { return UIColor::colorWithRed(0.82, 0.349, 0.243, 1.0); }

zTSBasePreferences::zTSBasePreferences() = default;
zTSBasePreferences::~zTSBasePreferences() = default;

void zTSBasePreferences::init() {
  hb_setAppearanceSettings({tintColor(), UIColor::colorWithWhite(0.0, 0.0)});
  setupNavigationTitleView();
  preferences_ = std::make_unique<HBPreferences>(kDomain);
  disabled_.clear();
}

void zTSBasePreferences::setSpecifier(std::shared_ptr<PSSpecifier> specifier) {
  HBRootListController::setSpecifier(specifier);
  adaptiveIconColors_ = specifier && specifier->propertyForKey("AdaptiveIconColors").boolValue();
}

void zTSBasePreferences::setupNavigationTitleView() {
  auto titleView = std::make_shared<UIView>();
  titleLabel_ = std::make_shared<UILabel>();
  titleLabel_->setFont(UIFont::boldSystemFontOfSize(kTitleFontSize));
  titleLabel_->setTextAlignment(NSTextAlignment::Center);
  titleView->addSubview(titleLabel_);
  titleLabel_->setTranslatesAutoresizingMaskIntoConstraints(false);
  NSLayoutConstraint::activateConstraints({
      titleLabel_->topAnchor().constraintEqualToAnchor(titleView->topAnchor()),
      titleLabel_->leadingAnchor().constraintEqualToAnchor(titleView->leadingAnchor()),
      titleLabel_->trailingAnchor().constraintEqualToAnchor(titleView->trailingAnchor()),
      titleLabel_->bottomAnchor().constraintEqualToAnchor(titleView->bottomAnchor()),
  });
  installTitleView(titleView);
}

void zTSBasePreferences::installTitleView(const std::shared_ptr<UIView>& titleView) {
  navigationItem().setTitleView(titleView);
}

plist::Value zTSBasePreferences::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  std::string key = specifier->key();
  plist::Value value;
  if (!key.empty()) value = preferences_->objectForKey(key);
  if (value.isNull()) value = specifier->propertyForKey("default");
  enableDisableCellIfNeededForKey(key, value);
  return value;
}

void zTSBasePreferences::setPreferenceValue(plist::Value value, const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  // The new value is in the domain's file for every process before the row's notification is posted, and on disk
  // before this returns: the flushes wait until the others have been told.
  DeferredDurability durability;
  HBRootListController::setPreferenceValue(value, specifier);
  std::string key = specifier->key();
  enableDisableCellIfNeededForKey(key, value);
  if (key.empty()) {
    // A row without a key has no stored value: nothing is written, and no one is told of a change.
    Log::write("zTSBasePreferences: the row \"" + specifier->name() + "\" has no key; its value is not stored");
    return;
  }
  // The platform's own storage of the row (its "defaults" domain) may have written this very value already.
  if (!(preferences_->objectForKey(key) == value)) preferences_->setObject(value, key);
  preferences_->synchronize();
  plist::Value notification = specifier->propertyForKey("PostNotification");
  if (notification.isString() && !notification.string().empty())
    DarwinNotificationCenter::shared().postNotification(notification.string());
  durability.complete();
}

void zTSBasePreferences::enableDisableCellIfNeededForKey(const std::string&, const plist::Value&) {}

std::shared_ptr<PSSpecifier> zTSBasePreferences::getSpecifierWithKey(const std::string& key) {
  for (const auto& rowSpecifier : specifiers())
    if (rowSpecifier && rowSpecifier->key() == key) return rowSpecifier;
  return nullptr;
}

bool zTSBasePreferences::getBoolDefaultValueForSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
  bool value = specifier && specifier->propertyForKey("default").boolValue();
  Log::write("defaultValue " + std::to_string(value) + " for specifier " + (specifier ? specifier->name() : "(null)"));
  return value;
}

bool zTSBasePreferences::getBoolOrDefaultForKey(const std::string& key) {
  if (!preferences_->objectForKey(key).isNull()) return preferences_->boolForKey(key);
  auto rowSpecifier = getSpecifierWithKey(key);
  return rowSpecifier ? getBoolDefaultValueForSpecifier(rowSpecifier) : false;
}

void zTSBasePreferences::enableCellWithSpecifier(bool enable, const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier || specifier->cellType() == PSCellType::Group) return;
  Log::write("specifier " + specifier->name());
  auto it = std::find(disabled_.begin(), disabled_.end(), specifier);
  if (enable) {
    if (it != disabled_.end()) disabled_.erase(it);
  } else if (it == disabled_.end()) {
    disabled_.push_back(specifier);
  }
  if (!isViewLoaded()) return;
  auto path = indexPathForSpecifier(*specifier);
  if (!path) return;
  if (auto* cell = table()->cellForRowAtIndexPath(*path)) willDisplayCell(*table(), *cell, *path);
}

void zTSBasePreferences::enableCellWithKey(bool enable, const std::string& key) {
  if (auto rowSpecifier = getSpecifierWithKey(key)) enableCellWithSpecifier(enable, rowSpecifier);
}

void zTSBasePreferences::enableCellWithIndexPath(bool enable, NSIndexPath indexPath) {
  if (auto rowSpecifier = specifierAtIndexPath(indexPath)) enableCellWithSpecifier(enable, rowSpecifier);
}

void zTSBasePreferences::enableAllCells(bool enable, const std::string& exceptKey) {
  auto rows = specifiers();  // a copy: marking a row may reload cells
  for (const auto& rowSpecifier : rows)
    if (rowSpecifier && rowSpecifier->key() != exceptKey) enableCellWithSpecifier(enable, rowSpecifier);
}

void zTSBasePreferences::enableAllCellsInGroup(bool enable, long group, const std::string& exceptKey) {
  if (!isViewLoaded() || group < 0 || group >= table()->numberOfSections()) return;
  long rows = table()->numberOfRowsInSection(group);
  for (long row = 0; row < rows; ++row) {
    auto rowSpecifier = specifierAtIndexPath({group, row});
    if (rowSpecifier && rowSpecifier->key() != exceptKey) enableCellWithSpecifier(enable, rowSpecifier);
  }
}

void zTSBasePreferences::setCellEnabled(UITableViewCell* cell, bool enabled) {
  if (!cell || cell->isUserInteractionEnabled() == enabled) return;
  cell->setUserInteractionEnabled(enabled);
  if (cell->textLabel()) cell->textLabel()->setEnabled(enabled);
  if (cell->detailTextLabel()) cell->detailTextLabel()->setEnabled(enabled);
  if (auto* control = dynamic_cast<PSControlTableCell*>(cell); control && control->control()) {
    control->control()->setEnabled(enabled);
  } else if (auto* editable = dynamic_cast<PSEditableTableCell*>(cell); editable && editable->textField()) {
    editable->textField()->setAlpha(enabled ? 1.0 : kDisabledTextFieldAlpha);
    editable->textField()->setEnabled(enabled);
  }
}

void zTSBasePreferences::setCorrectCellStateAccordingToItsEnabledState(UITableViewCell* cell, NSIndexPath path) {
  auto rowSpecifier = specifierAtIndexPath(path);
  if (!rowSpecifier) return;
  if (masterSwitchKey_ && !getBoolOrDefaultForKey(*masterSwitchKey_)) {
    if (rowSpecifier->key() != *masterSwitchKey_) setCellEnabled(cell, false);
    return;
  }
  bool disabled = std::find(disabled_.begin(), disabled_.end(), rowSpecifier) != disabled_.end();
  setCellEnabled(cell, !disabled);
}

void zTSBasePreferences::reloadAllSpecifiersToSetCorrectCellEnabledState() {
  if (!isViewLoaded()) return;
  // Restyling the shown cells is what reloading them achieves here; it also runs while the table is
  // making a cell (a row's value is read then), where reloading rows would start over.
  for (const auto& path : table()->indexPathsForVisibleRows())
    if (auto* cell = table()->cellForRowAtIndexPath(path)) willDisplayCell(*table(), *cell, path);
}

void zTSBasePreferences::willDisplayCell(UITableView&, UITableViewCell& cell, NSIndexPath indexPath) {
  if (cell.textLabel()) {
    cell.textLabel()->setAdjustsFontSizeToFitWidth(true);
    cell.textLabel()->setMinimumScaleFactor(kMinimumTitleScale);
  }
  if (adaptiveIconColors_ && systemHasAppearances() && cell.imageView() && cell.imageView()->image()) {
    cell.imageView()->setImage(cell.imageView()->image()->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate));
    cell.imageView()->setTintColor(DeviceInfo::current().darkModeEnabled() ? UIColor::whiteColor()
                                                                           : UIColor::blackColor());
  }
  setCorrectCellStateAccordingToItsEnabledState(&cell, indexPath);
}

void zTSBasePreferences::viewDidLoad() {
  HBRootListController::viewDidLoad();
  table()->setDismissesKeyboardOnDrag(true);
}

void zTSBasePreferences::viewWillAppear(bool animated) {
  HBRootListController::viewWillAppear(animated);
  if (auto* nav = navigationController()) nav->setPrefersLargeTitles(false);
}

void zTSBasePreferences::viewWillDisappear(bool animated) {
  HBRootListController::viewWillDisappear(animated);
  if (auto* nav = navigationController()) nav->setPrefersLargeTitles(true);
}
