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

CGAffineTransform BannerView::aboveScreen() const {
  // The bottom edge (with room for the card's rounded corners) just above the screen's top.
  const double bottom = center().y + bounds().size.height / 2;
  return CGAffineTransformMakeTranslation(0, -(bottom + 4));
}

void BannerView::show(const std::string& appName, const std::string& title, const std::string& message) {
  if (title.empty() && message.empty()) {
    hide();
    return;
  }
  // Asked again after every task of the main loop: only a new text needs a new layout.
  if (app_->text() != appName || title_->text() != title || message_->text() != message) {
    app_->setText(appName);
    title_->setText(title);
    message_->setText(message);
    setNeedsLayout();
  }
  if (presented_) return;
  presented_ = true;
  // From above the screen (or from where a banner going out is now) down into place.
  if (isHidden()) {
    UIView::performWithoutAnimation([this] { setTransform(aboveScreen()); });
    setHidden(false);
  }
  UIView::animateWithDuration(kSlideInDuration, 0,
                              UIViewAnimationOptions::CurveEaseOut | UIViewAnimationOptions::BeginFromCurrentState,
                              [this] { setTransform(CGAffineTransformIdentity); });
}

void BannerView::hide() {
  if (!presented_) return;
  presented_ = false;
  UIView::animateWithDuration(
      kSlideOutDuration, 0, UIViewAnimationOptions::CurveEaseIn | UIViewAnimationOptions::BeginFromCurrentState,
      [this] { setTransform(aboveScreen()); },
      [weak = weak_from_this()](bool) {
        auto self = std::static_pointer_cast<BannerView>(weak.lock());
        // A banner shown again meanwhile stays.
        if (!self || self->presented_) return;
        self->setHidden(true);
        self->setTransform(CGAffineTransformIdentity);
      });
}

void BannerView::layoutContents() {
  const CGSize size = bounds().size;
  card_->setFrame(bounds());
  app_->setFrame(CGRectMake(14, 8, size.width - 28, 18));
  title_->setFrame(CGRectMake(14, 28, size.width - 28, 20));
  message_->setFrame(CGRectMake(14, 48, size.width - 28, 20));
}

}  // namespace platform::springboard
