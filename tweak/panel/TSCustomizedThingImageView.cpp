#include "tweak/panel/TSCustomizedThingImageView.h"

#include "platform/ui/NSLayoutConstraint.h"
#include "tweak/catalogue/BundleHelper.h"
#include "tweak/engine/TessraDebugLog.h"

using platform::NSLayoutAttribute;
using platform::NSLayoutConstraint;
using platform::NSLayoutRelation;

TSCustomizedThingImageView::TSCustomizedThingImageView() : UIImageView(platform::CGRectZero) {}

void TSCustomizedThingImageView::setupWithCustomizedThingName(const std::string& name,
                                                              const platform::UIColor& uiColor) {
  setImage(BundleHelper::getImageWithName(name + "Icon"));
  setContentMode(platform::UIViewContentMode::ScaleAspectFit);
  toggleName_ = name;
  setTintColor(uiColor);
  setCurrentState(-1);
}

void TSCustomizedThingImageView::setConstraintsForSize(double side) {
  viewSize_ = side;
  setTranslatesAutoresizingMaskIntoConstraints(false);
  addConstraint(NSLayoutConstraint::constraintWithItem(this, NSLayoutAttribute::Height, NSLayoutRelation::Equal,
                                                       nullptr, NSLayoutAttribute::NotAnAttribute, 1, side));
  addConstraint(NSLayoutConstraint::constraintWithItem(this, NSLayoutAttribute::Height, NSLayoutRelation::Equal, this,
                                                       NSLayoutAttribute::Width, 1, 0));
}

void TSCustomizedThingImageView::setCurrentState(int32_t state) {
  if (state != currentState_) currentState_ = state;
  setAlpha(state == -1 ? kNotCustomizedAlpha : kCustomizedAlpha);
  if (state == -1) setBadgeWithText(std::nullopt);
  else if (state == 0) setBadgeWithText("Off");
  else if (state == 1) setBadgeWithText("On");
}

void TSCustomizedThingImageView::setBadgeWithText(const std::optional<std::string>& text) {
  TessraDebugLog::log("setBadgeWithText " + text.value_or("(null)"));
  if (!text) {
    if (badgeLabel_) badgeLabel_->removeFromSuperview();
    badgeLabel_.reset();
    return;
  }
  if (!badgeLabel_) {
    badgeLabel_ = std::make_shared<platform::UILabel>();
    badgeLabel_->setTextColor(tintColor());
    badgeLabel_->setFont(platform::UIFont::systemFontOfSize(bounds().size.height <= 20 ? 9 : 11));
    badgeLabel_->setAdjustsFontSizeToFitWidth(true);
    badgeLabel_->setMinimumScaleFactor(0.5);
    badgeLabel_->setTextAlignment(platform::NSTextAlignment::Center);
    badgeLabel_->layer().setCornerRadius(5);
    badgeLabel_->setClipsToBounds(true);
    addSubview(badgeLabel_);
    badgeLabel_->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto* badge = badgeLabel_.get();
    NSLayoutConstraint::activateConstraints({
        NSLayoutConstraint::constraintWithItem(badge, NSLayoutAttribute::Width, NSLayoutRelation::Equal, this,
                                               NSLayoutAttribute::Width, 1, 0),
        NSLayoutConstraint::constraintWithItem(badge, NSLayoutAttribute::Height, NSLayoutRelation::Equal, nullptr,
                                               NSLayoutAttribute::NotAnAttribute, 1, kBadgeHeight),
        NSLayoutConstraint::constraintWithItem(badge, NSLayoutAttribute::CenterX, NSLayoutRelation::Equal, this,
                                               NSLayoutAttribute::CenterX, 1, 0),
        NSLayoutConstraint::constraintWithItem(badge, NSLayoutAttribute::Top, NSLayoutRelation::Equal, this,
                                               NSLayoutAttribute::Bottom, 1, -1),
    });
  }
  platform::UIView::performWithoutAnimation([&] {
    // A detached icon has nothing to place it yet; its strip lays it out when it is added.
    if (superview()) layoutIfNeeded();
    badgeLabel_->setText(*text);
  });
}
