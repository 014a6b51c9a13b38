#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/preferences/HBRootListController.h"

namespace platform {
class HBPreferences;
class UILabel;
}  // namespace platform

// The base of every page of the settings bundle. It reads each row's value
// from the domain "com.kelvane.tessra2" (the row's "default" while the domain
// has none), writes a user's change back at once and posts the row's
// "PostNotification"; it greys out every row but the master switch while the
// page's master switch is off, and the rows a dependency rule disabled
// (subclasses decide which, in enableDisableCellIfNeededForKey); and it gives
// the pages their look: the accent tint, invisible separators, a bold title,
// row titles that shrink to fit, optional monochrome icons. Pages are made
// with create<T>(), which runs init() after construction so that subclasses'
// overrides take part. Main thread only.
class zTSBasePreferences : public platform::HBRootListController {
 public:
  // The accent colour of every page.
  static platform::UIColor tintColor();
  // Alpha of a disabled editable text field.
  static constexpr double kDisabledTextFieldAlpha = 0.4;

  // A new page of class T, initialised.
  template <class T>
  static std::shared_ptr<T> create() {
    auto page = std::make_shared<T>();
    page->init();
    return page;
  }
  zTSBasePreferences();
  ~zTSBasePreferences() override;

  // Creation: appearance settings, title view, preferences, empty disabled rows.
  virtual void init();
  void setSpecifier(std::shared_ptr<platform::PSSpecifier> specifier) override;
  // Builds the navigation bar's title view with an empty bold title label.
  virtual void setupNavigationTitleView();

  platform::plist::Value readPreferenceValue(const std::shared_ptr<platform::PSSpecifier>& specifier) override;
  void setPreferenceValue(platform::plist::Value value,
                          const std::shared_ptr<platform::PSSpecifier>& specifier) override;
  // Called on every read and write of a row's value; the base has no dependency rule.
  virtual void enableDisableCellIfNeededForKey(const std::string& key, const platform::plist::Value& value);

  // The first row, in page order, whose "key" is `key`, or null.
  std::shared_ptr<platform::PSSpecifier> getSpecifierWithKey(const std::string& key);
  // The row's "default" read as a boolean.
  bool getBoolDefaultValueForSpecifier(const std::shared_ptr<platform::PSSpecifier>& specifier);
  // The stored boolean for `key`, else the default of its row, else NO.
  bool getBoolOrDefaultForKey(const std::string& key);

  // Marks one row enabled or disabled (group rows are ignored); an on-screen row shows it at once.
  void enableCellWithSpecifier(bool enable, const std::shared_ptr<platform::PSSpecifier>& specifier);
  void enableCellWithKey(bool enable, const std::string& key);
  void enableCellWithIndexPath(bool enable, platform::NSIndexPath indexPath);
  // enableCellWithSpecifier on every row but those whose key is `exceptKey`.
  void enableAllCells(bool enable, const std::string& exceptKey);
  // The same over the rows of group `group`.
  void enableAllCellsInGroup(bool enable, long group, const std::string& exceptKey);
  // Gives a cell the enabled or disabled look (nothing when absent or already in that state).
  static void setCellEnabled(platform::UITableViewCell* cell, bool enabled);
  // Applies the master switch and the disabled rows to one cell.
  void setCorrectCellStateAccordingToItsEnabledState(platform::UITableViewCell* cell, platform::NSIndexPath path);
  // Styles every visible row again, which applies the enabling rule to each.
  void reloadAllSpecifiersToSetCorrectCellEnabledState();

  void willDisplayCell(platform::UITableView& tableView, platform::UITableViewCell& cell,
                       platform::NSIndexPath indexPath) override;
  bool shouldReloadSpecifiersOnResume() override { return false; }
  void viewDidLoad() override;
  void viewWillAppear(bool animated) override;
  void viewWillDisappear(bool animated) override;

  platform::HBPreferences& preferences() const { return *preferences_; }
  const std::vector<std::shared_ptr<platform::PSSpecifier>>& disabledSpecifiers() const { return disabled_; }
  const std::optional<std::string>& masterSwitchKey() const { return masterSwitchKey_; }
  void setMasterSwitchKey(std::optional<std::string> key) { masterSwitchKey_ = std::move(key); }
  platform::UILabel* titleLabel() const { return titleLabel_.get(); }
  bool adaptiveIconColors() const { return adaptiveIconColors_; }

 protected:
  // Puts `titleView` in the navigation bar with `label` pinned to its four edges.
  void installTitleView(const std::shared_ptr<platform::UIView>& titleView);

  std::shared_ptr<platform::UILabel> titleLabel_;

 private:
  std::unique_ptr<platform::HBPreferences> preferences_;
  std::vector<std::shared_ptr<platform::PSSpecifier>> disabled_;
  std::optional<std::string> masterSwitchKey_;
  bool adaptiveIconColors_ = false;
};
