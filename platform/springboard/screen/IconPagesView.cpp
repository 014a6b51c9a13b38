#include "platform/springboard/screen/IconPagesView.h"

#include <algorithm>
#include <cmath>

#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/ui/UIPanGestureRecognizer.h"

namespace platform::springboard {

namespace {

constexpr double kDotsHeight = 24;
constexpr double kSwipeDistance = 40;

}  // namespace

IconPagesView::IconPagesView(const SystemProfile& profile, IconViewDelegate& delegate)
    : ScreenView("SBIconScrollView"), profile_(profile), delegate_(delegate) {
  const bool tablet = profile.kind() == DeviceKind::Tablet;
  columns_ = tablet ? 5 : 4;
  rows_ = 6;
  iconSide_ = tablet ? 76 : 60;
  setClipsToBounds(true);
  dots_ = std::make_shared<ScreenView>("SBIconPageDotsView");
  dots_->setUserInteractionEnabled(false);
  addSubview(dots_);
  addGestureRecognizer(std::make_shared<UIPanGestureRecognizer>([this](UIGestureRecognizer& g) { panned(g); }));
}

void IconPagesView::setApps(const std::vector<InstalledApp>& apps) {
  for (auto& page : pages_) page->removeFromSuperview();
  pages_.clear();
  icons_.clear();
  for (size_t i = 0; i < apps.size(); ++i) {
    if (i % iconsPerPage() == 0) {
      pages_.push_back(std::make_shared<ScreenView>("SBIconListView"));
      insertSubviewBelow(pages_.back(), dots_.get());
    }
    auto icon = std::make_shared<IconView>(apps[i], iconSide_, IconView::Label::Shown, delegate_);
    pages_.back()->addSubview(icon);
    icons_.push_back(std::move(icon));
  }
  if (pages_.empty()) {
    pages_.push_back(std::make_shared<ScreenView>("SBIconListView"));
    insertSubviewBelow(pages_.back(), dots_.get());
  }
  for (auto& dot : std::vector<UIView::Ptr>(dots_->subviews())) dot->removeFromSuperview();
  for (size_t i = 0; i < pages_.size(); ++i) {
    auto dot = std::make_shared<UIView>(CGRectMake(0, 0, 7, 7));
    dot->layer().setCornerRadius(3.5);
    dots_->addSubview(dot);
  }
  page_ = std::min(page_, pageCount() - 1);
  setNeedsLayout();
}

IconView* IconPagesView::iconFor(const std::string& bundleIdentifier) const {
  for (const auto& icon : icons_) {
    if (icon->bundleIdentifier() == bundleIdentifier) return icon.get();
  }
  return nullptr;
}

int IconPagesView::pageOf(const std::string& bundleIdentifier) const {
  for (size_t i = 0; i < icons_.size(); ++i) {
    if (icons_[i]->bundleIdentifier() == bundleIdentifier) return static_cast<int>(i) / iconsPerPage();
  }
  return -1;
}

double IconPagesView::pageX(int page) const {
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  return (rtl ? -page : page) * bounds().size.width;
}

void IconPagesView::setCurrentPage(int page, bool animated) {
  page_ = std::clamp(page, 0, pageCount() - 1);
  dragOffset_ = 0;
  if (animated) {
    UIView::animateWithDuration(0.3, [this] { layoutContents(); });
  } else {
    setNeedsLayout();
  }
}

void IconPagesView::panned(UIGestureRecognizer& g) {
  auto& pan = static_cast<UIPanGestureRecognizer&>(g);
  const double dx = pan.translationInView(this).x;
  switch (g.state()) {
    case UIGestureRecognizerState::Began:
    case UIGestureRecognizerState::Changed:
      dragOffset_ = dx;
      layoutContents();
      break;
    case UIGestureRecognizerState::Ended: {
      const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
      int step = std::fabs(dx) < kSwipeDistance ? 0 : ((dx < 0) != rtl ? 1 : -1);
      setCurrentPage(page_ + step, true);
      break;
    }
    default: setCurrentPage(page_, true); break;
  }
}

void IconPagesView::layoutContents() {
  const CGSize size = bounds().size;
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const bool tablet = profile_.kind() == DeviceKind::Tablet;
  const double sideInset = tablet ? 60 : 0, topInset = tablet ? 40 : 14;
  const double cellWidth = (size.width - 2 * sideInset) / columns_;
  const double cellHeight = (size.height - kDotsHeight - topInset) / rows_;
  const CGSize iconSize = IconView::sizeFor(iconSide_);
  for (size_t p = 0; p < pages_.size(); ++p) {
    // Pages side by side, the current one in view (moved along by a finger that drags).
    const double x = pageX(static_cast<int>(p)) - pageX(page_) + dragOffset_;
    pages_[p]->setFrame(CGRectMake(x, 0, size.width, size.height - kDotsHeight));
  }
  for (size_t i = 0; i < icons_.size(); ++i) {
    int slot = static_cast<int>(i) % iconsPerPage();
    int column = slot % columns_, row = slot / columns_;
    if (rtl) column = columns_ - 1 - column;
    double x = sideInset + column * cellWidth + (cellWidth - iconSize.width) / 2;
    double y = topInset + row * cellHeight;
    icons_[i]->setFrame(CGRect{{x, y}, iconSize});
  }
  dots_->setFrame(CGRectMake(0, size.height - kDotsHeight, size.width, kDotsHeight));
  const auto& dots = dots_->subviews();
  const double dotsWidth = dots.size() * 16.0;
  for (size_t i = 0; i < dots.size(); ++i) {
    size_t at = rtl ? dots.size() - 1 - i : i;
    dots[i]->setFrame(CGRectMake((size.width - dotsWidth) / 2 + at * 16.0 + 4.5, (kDotsHeight - 7) / 2, 7, 7));
    dots[i]->setBackgroundColor(UIColor(1, 1, 1, static_cast<int>(i) == page_ ? 1.0 : 0.35));
  }
}

}  // namespace platform::springboard
