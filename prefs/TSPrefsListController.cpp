#include "prefs/TSPrefsListController.h"

#include <algorithm>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/preferences/NSTask.h"
#include "platform/preferences/UIBarButtonItem.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/preferences/UITableView.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "prefs/TessraPrefsNames.h"

using namespace platform;
using namespace tessra::prefs;

namespace {

std::shared_ptr<UIImage> bundleImage(const char* devicePath) {
  auto path = DevicePaths::resolve(devicePath);
  return path ? UIImage::imageWithContentsOfFile(path->string()) : nullptr;
}

void pinToEdges(UIView& view, UIView& container, double top, double left, double right, double bottom) {
  view.setTranslatesAutoresizingMaskIntoConstraints(false);
  NSLayoutConstraint::activateConstraints({
      view.topAnchor().constraintEqualToAnchor(container.topAnchor(), top),
      view.leadingAnchor().constraintEqualToAnchor(container.leadingAnchor(), left),
      view.trailingAnchor().constraintEqualToAnchor(container.trailingAnchor(), -right),
      view.bottomAnchor().constraintEqualToAnchor(container.bottomAnchor(), -bottom),
  });
}

}  // namespace

void TSPrefsListController::init() {
  zTSBasePreferences::init();
  setupNavigationRespringButton();
}

void TSPrefsListController::viewDidLoad() {
  zTSBasePreferences::viewDidLoad();
  setupHeaderView();
  setMasterSwitchKey(std::string(kMasterSwitchKey));
}

const PSListController::Specifiers& TSPrefsListController::specifiers() {
  if (!hasCachedSpecifiers()) {
    storedSpecifiers() = loadSpecifiersFromPlistName("Prefs", this);
    markSpecifiersCached();
    reloadGroupIndices();
  }
  return storedSpecifiers();
}

void TSPrefsListController::setupNavigationTitleView() {
  auto titleView = std::make_shared<UIView>();
  titleLabel_ = std::make_shared<UILabel>();
  titleLabel_->setFont(UIFont::boldSystemFontOfSize(17));
  titleLabel_->setText("Tessra 2");
  titleLabel_->setTextAlignment(NSTextAlignment::Center);
  titleView->addSubview(titleLabel_);
  pinToEdges(*titleLabel_, *titleView, 0, 0, 0, 0);
  iconView_ = std::make_shared<UIImageView>(bundleImage(kIconImage));
  iconView_->setContentMode(UIViewContentMode::ScaleAspectFit);
  iconView_->setAlpha(0);
  titleView->addSubview(iconView_);
  pinToEdges(*iconView_, *titleView, 7, 0, 0, 7);
  installTitleView(titleView);
}

void TSPrefsListController::setupNavigationRespringButton() {
  respringButton_ = std::make_shared<UIBarButtonItem>("Respring", UIBarButtonItemStyle::Plain,
                                                      [this](UIBarButtonItem&) { respring(); });
}

void TSPrefsListController::setupHeaderView() {
  headerView_ = std::make_shared<UIView>(CGRectMake(0, 0, kHeaderSize, kHeaderSize));
  headerImageView_ = std::make_shared<UIImageView>(CGRectMake(0, 0, kHeaderSize, kHeaderSize));
  headerImageView_->setImage(bundleImage(kHeaderImage));
  headerImageView_->setContentMode(UIViewContentMode::ScaleAspectFill);
  headerImageView_->setClipsToBounds(true);
  headerView_->addSubview(headerImageView_);
  pinToEdges(*headerImageView_, *headerView_, 40, 10, 10, 40);
  table()->setTableHeaderView(headerView_);
}

void TSPrefsListController::scrollViewDidScroll(UIScrollView& scrollView) {
  double y = scrollView.contentOffset().y;
  bool showIcon = y > kIconOffset;
  UIView::animateWithDuration(0.2, [this, showIcon] {
    if (iconView_) iconView_->setAlpha(showIcon ? 1 : 0);
    if (titleLabel_) titleLabel_->setAlpha(showIcon ? 0 : 1);
  });
  if (!headerView_ || !headerImageView_) return;
  double m = std::min(y, -20.0);
  headerImageView_->setFrame(
      CGRectMake(10, m + 64 + 40, headerView_->frame().size.width - 20, kHeaderSize - m - 64 - 80));
}

double TSPrefsListController::heightForHeaderInSection(UITableView&, long section) {
  switch (section) {
    case 0:
    case 6: return 0;
    case 5: return 60;
    default: return 45;
  }
}

void TSPrefsListController::setPreferenceValue(plist::Value value, const std::shared_ptr<PSSpecifier>& specifier) {
  zTSBasePreferences::setPreferenceValue(std::move(value), specifier);
  if (specifier && specifier->key() == kMasterSwitchKey) navigationItem().setRightBarButtonItem(respringButton_);
}

void TSPrefsListController::enableDisableCellIfNeededForKey(const std::string& key, const plist::Value& value) {
  Log::write("enableDisableCellIfNeededForKey " + key + " value " + value.describe());
  bool master = getBoolOrDefaultForKey(masterSwitchKey().value_or(kMasterSwitchKey));
  if (key == kMasterSwitchKey) reloadAllSpecifiersToSetCorrectCellEnabledState();
  if (key == "hapticFeedbackEnabled") {
    if (auto strength = getSpecifierWithKey("hapticFeedbackStrength"))
      enableCellWithSpecifier(master && value.boolValue(), strength);
  }
}

void TSPrefsListController::performButtonAction(const std::string& action,
                                                const std::shared_ptr<PSSpecifier>& rowSpecifier) {
  if (action == "respring:")
    respring();
  else
    zTSBasePreferences::performButtonAction(action, rowSpecifier);
}

void TSPrefsListController::respring() { NSTask::launchedTaskWithLaunchPath(kKillallPath, {kKillallArgument}); }
