#include "platform/springboard/screen/BannerView.h"

#include "platform/ui/UIVisualEffectView.h"

namespace platform::springboard {

namespace {

std::shared_ptr<ScreenLabel> makeLabel(double size, UIFontWeight weight, UIColor color) {
  auto label = std::make_shared<ScreenLabel>();
  label->setFont(UIFont::systemFontOfSize(size, weight));
  label->setTextColor(color);
  return label;
}

}  // namespace

BannerView::BannerView() : ScreenView("SBBannerView") {
  setHidden(true);
  card_ = std::make_shared<UIVisualEffectView>(UIBlurEffect::effectWithStyle(UIBlurEffectStyle::Light));
  card_->setBackgroundColor(UIColor(1, 1, 1, 0.6));
  card_->layer().setCornerRadius(14);
  card_->setClipsToBounds(true);
  addSubview(card_);
  app_ = makeLabel(13, UIFontWeight::Regular, UIColor(0.3, 0.3, 0.32, 1));
  title_ = makeLabel(15, UIFontWeight::Semibold, UIColor::blackColor());
  message_ = makeLabel(15, UIFontWeight::Regular, UIColor::blackColor());
  addSubview(app_);
  addSubview(title_);
  addSubview(message_);
}

void BannerView::show(const std::string& appName, const std::string& title, const std::string& message) {
  app_->setText(appName);
  title_->setText(title);
  message_->setText(message);
  setHidden(title.empty() && message.empty());
  setNeedsLayout();
}

void BannerView::layoutContents() {
  const CGSize size = bounds().size;
  card_->setFrame(bounds());
  app_->setFrame(CGRectMake(14, 8, size.width - 28, 18));
  title_->setFrame(CGRectMake(14, 28, size.width - 28, 20));
  message_->setFrame(CGRectMake(14, 48, size.width - 28, 20));
}

}  // namespace platform::springboard
