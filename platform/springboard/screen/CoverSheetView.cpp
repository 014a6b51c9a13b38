#include "platform/springboard/screen/CoverSheetView.h"

#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

std::shared_ptr<ScreenLabel> makeLabel(double size, UIFontWeight weight, UIColor color) {
  auto label = std::make_shared<ScreenLabel>();
  label->setFont(UIFont::systemFontOfSize(size, weight));
  label->setTextColor(color);
  label->setTextAlignment(NSTextAlignment::Center);
  return label;
}

}  // namespace

CoverSheetView::CoverSheetView(const SystemProfile& profile, Mode mode)
    : ScreenView(profile.majorVersion() >= 13 ? "CSCoverSheetView" : "SBDashBoardView"), mode_(mode) {
  setHidden(true);
  const bool lock = mode == Mode::LockScreen;
  veil_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  veil_->setBackgroundColor(lock ? UIColor(0.05, 0.1, 0.25, 0.55) : UIColor(0, 0, 0, 0.35));
  addSubview(veil_);
  padlock_ = std::make_shared<UIImageView>();
  padlock_->setImage(AppIconStyle::glyphImage(0xF33E, 26, UIScreen::mainScreen().scale()));  // lock
  padlock_->setTintColor(UIColor::whiteColor());
  padlock_->setHidden(!lock);
  addSubview(padlock_);
  time_ = makeLabel(lock ? 82 : 44, UIFontWeight::Light, UIColor::whiteColor());
  date_ = makeLabel(lock ? 21 : 17, UIFontWeight::Regular, UIColor::whiteColor());
  addSubview(time_);
  addSubview(date_);
  title_ = makeLabel(28, UIFontWeight::Bold, UIColor::whiteColor());
  title_->setText("Notification Center");
  title_->setTextAlignment(NSTextAlignment::Natural);
  title_->setHidden(lock);
  addSubview(title_);
  empty_ = makeLabel(15, UIFontWeight::Regular, UIColor(1, 1, 1, 0.6));
  empty_->setText(lock ? "" : "No Older Notifications");
  empty_->setHidden(lock);
  addSubview(empty_);
}

void CoverSheetView::setTime(const std::string& time, const std::string& date) {
  if (time_->text() == time && date_->text() == date) return;
  time_->setText(time);
  date_->setText(date);
}

void CoverSheetView::layoutContents() {
  const CGSize size = bounds().size;
  veil_->setFrame(bounds());
  const bool lock = mode_ == Mode::LockScreen;
  padlock_->setFrame(CGRectMake((size.width - 26) / 2, 54, 26, 26));
  if (lock) {
    time_->setFrame(CGRectMake(0, 90, size.width, 100));
    date_->setFrame(CGRectMake(0, 190, size.width, 28));
  } else {
    time_->setFrame(CGRectMake(0, 70, size.width, 54));
    date_->setFrame(CGRectMake(0, 124, size.width, 22));
    title_->setFrame(CGRectMake(20, 170, size.width - 40, 36));
    empty_->setFrame(CGRectMake(0, size.height / 2, size.width, 22));
  }
}

}  // namespace platform::springboard
