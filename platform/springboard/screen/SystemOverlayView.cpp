#include "platform/springboard/screen/SystemOverlayView.h"

#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

SystemOverlayView::SystemOverlayView(Kind kind)
    : ScreenView(kind == Kind::Siri ? "SiriPresentationView" : "SPUISearchView"), kind_(kind) {
  setHidden(true);
  veil_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Dark));
  veil_->setBackgroundColor(UIColor(0, 0, 0, kind == Kind::Siri ? 0.55 : 0.2));
  addSubview(veil_);
  accent_ = std::make_shared<UIView>();
  text_ = std::make_shared<ScreenLabel>();
  text_->setTextAlignment(NSTextAlignment::Center);
  if (kind == Kind::Siri) {
    accent_->setBackgroundColor(UIColor(0.35, 0.45, 1, 1));
    accent_->layer().setShadowColor(UIColor(0.8, 0.3, 0.9, 1));
    accent_->layer().setShadowOpacity(0.9);
    accent_->layer().setShadowRadius(12);
    text_->setText("What can I help you with?");
    text_->setFont(UIFont::systemFontOfSize(24, UIFontWeight::Semibold));
    text_->setTextColor(UIColor::whiteColor());
    text_->setNumberOfLines(2);
  } else {
    accent_->setBackgroundColor(UIColor(1, 1, 1, 0.25));
    text_->setText("Search");
    text_->setFont(UIFont::systemFontOfSize(17));
    text_->setTextColor(UIColor(1, 1, 1, 0.7));
    text_->setTextAlignment(NSTextAlignment::Natural);
  }
  addSubview(accent_);
  addSubview(text_);
}

void SystemOverlayView::layoutContents() {
  const CGSize size = bounds().size;
  veil_->setFrame(bounds());
  if (kind_ == Kind::Siri) {
    const double orb = 70;
    accent_->setFrame(CGRectMake((size.width - orb) / 2, size.height - 60 - orb, orb, orb));
    accent_->layer().setCornerRadius(orb / 2);
    text_->setFrame(CGRectMake(30, 120, size.width - 60, 70));
  } else {
    const double width = std::min(size.width - 32, 600.0);
    accent_->setFrame(CGRectMake((size.width - width) / 2, 60, width, 36));
    accent_->layer().setCornerRadius(10);
    text_->setFrame(CGRectMake((size.width - width) / 2 + 12, 60, width - 24, 36));
  }
}

}  // namespace platform::springboard
