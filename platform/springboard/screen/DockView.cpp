#include "platform/springboard/screen/DockView.h"

#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

bool isTablet(const SystemProfile& profile) { return profile.kind() == DeviceKind::Tablet; }

}  // namespace

DockView::DockView(const SystemProfile& profile, IconViewDelegate& delegate)
    : ScreenView(isTablet(profile) ? "SBFloatingDockView" : "SBDockView"),
      profile_(profile),
      delegate_(delegate),
      iconSide_(isTablet(profile) ? 68 : 60) {
  platter_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light));
  platter_->setBackgroundColor(UIColor(1, 1, 1, 0.18));
  platter_->layer().setCornerRadius(isTablet(profile) ? 26 : 34);
  platter_->setClipsToBounds(true);
  platter_->setUserInteractionEnabled(false);
  addSubview(platter_);
}

size_t DockView::capacity(const SystemProfile& profile) { return isTablet(profile) ? 6 : 4; }

CGRect DockView::frameFor(const SystemProfile& profile, CGSize screen, size_t iconCount) {
  if (!isTablet(profile)) return CGRectMake(8, screen.height - 34 - 92, screen.width - 16, 92);
  const double width = std::max<size_t>(iconCount, 1) * 88.0 + 24;
  return CGRectMake((screen.width - width) / 2, screen.height - 24 - 96, width, 96);
}

void DockView::setApps(const std::vector<InstalledApp>& apps) {
  for (auto& icon : icons_) icon->removeFromSuperview();
  icons_.clear();
  for (const InstalledApp& app : apps) {
    if (icons_.size() == capacity(profile_)) break;
    auto icon = std::make_shared<IconView>(app, iconSide_, IconView::Label::Hidden, delegate_);
    addSubview(icon);
    icons_.push_back(std::move(icon));
  }
  setNeedsLayout();
}

IconView* DockView::iconFor(const std::string& bundleIdentifier) const {
  for (const auto& icon : icons_) {
    if (icon->bundleIdentifier() == bundleIdentifier) return icon.get();
  }
  return nullptr;
}

void DockView::layoutContents() {
  const CGSize size = bounds().size;
  platter_->setFrame(bounds());
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const CGSize iconSize = IconView::sizeFor(iconSide_);
  const double count = static_cast<double>(icons_.size());
  const double cell = isTablet(profile_) ? 88 : size.width / std::max(count, 1.0);
  const double start = isTablet(profile_) ? 12 : 0;
  const double y = (size.height - iconSide_) / 2;
  for (size_t i = 0; i < icons_.size(); ++i) {
    size_t at = rtl ? icons_.size() - 1 - i : i;
    double x = start + at * cell + (cell - iconSize.width) / 2;
    icons_[i]->setFrame(CGRect{{x, y}, iconSize});
  }
}

}  // namespace platform::springboard
