#pragma once

#include <memory>

#include "prefs/zTSBasePreferences.h"

namespace platform {
class UIBarButtonItem;
class UIImageView;
}  // namespace platform

// The root page of the settings bundle: the rows of "Prefs.plist" under a
// header picture, the product name in the navigation bar that gives way to
// the icon once the page is scrolled up, the master switch "enabled" and the
// "Respring" button (shown once the master switch changed), which restarts
// the home screen through the device's killall.
class TSPrefsListController : public zTSBasePreferences {
 public:
  static constexpr double kHeaderSize = 200;
  // Scrolled further up than this, the icon replaces the title.
  static constexpr double kIconOffset = 70;

  void init() override;
  void viewDidLoad() override;
  const Specifiers& specifiers() override;
  void setupNavigationTitleView() override;
  void setupNavigationRespringButton();
  void setupHeaderView();

  void scrollViewDidScroll(platform::UIScrollView& scrollView) override;
  double heightForHeaderInSection(platform::UITableView& tableView, long section) override;
  void setPreferenceValue(platform::plist::Value value,
                          const std::shared_ptr<platform::PSSpecifier>& specifier) override;
  void enableDisableCellIfNeededForKey(const std::string& key, const platform::plist::Value& value) override;
  void performButtonAction(const std::string& action, const std::shared_ptr<platform::PSSpecifier>& specifier) override;
  // Restarts the home screen ("/usr/bin/killall backboardd", not waited for).
  void respring();

  platform::UIImageView* iconView() const { return iconView_.get(); }
  const std::shared_ptr<platform::UIBarButtonItem>& respringButton() const { return respringButton_; }
  platform::UIView* headerView() const { return headerView_.get(); }
  platform::UIImageView* headerImageView() const { return headerImageView_.get(); }

 private:
  std::shared_ptr<platform::UIImageView> iconView_;
  std::shared_ptr<platform::UIBarButtonItem> respringButton_;
  std::shared_ptr<platform::UIView> headerView_;
  std::shared_ptr<platform::UIImageView> headerImageView_;
};
