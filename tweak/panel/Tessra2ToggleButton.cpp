#include "tweak/panel/Tessra2ToggleButton.h"

#include "platform/ui/UIColor.h"
#include "platform/ui/UIImage.h"
#include "tweak/catalogue/Tessra2Toggle.h"
#include "tweak/controls/HapticFeedbackHelper.h"
#include "tweak/panel/PanelIdentifiers.h"
#include "tweak/panel/PanelImages.h"
#include "tweak/panel/PanelNotifications.h"
#include "tweak/store/TessraStorageManager.h"

using namespace platform;

namespace {

bool darkStyle() { return TessraStorageManager::sharedInstance().getInterfaceColorStyle() == 0; }

}  // namespace

Tessra2ToggleButton::Tessra2ToggleButton() : UIButton(CGRectZero) { registerTapAction(); }

Tessra2ToggleButton::Tessra2ToggleButton(const CGRect& frame) : UIButton(frame) { registerTapAction(); }

void Tessra2ToggleButton::registerTapAction() {
  addTarget(
      this, [this](UIControl& sender) { checkboxSelected(sender); }, UIControlEvents::TouchUpInside);
}

void Tessra2ToggleButton::setupWithToggle(std::shared_ptr<Tessra2Toggle> toggle) {
  toggle_ = std::move(toggle);
  if (!toggle_) return;
  setAccessibilityIdentifier(toggle_->toggleName());
  setImage(PanelImages::named(toggle_->toggleName() + "Icon"), UIControlState::Normal);
  imageView()->setContentMode(UIViewContentMode::ScaleAspectFit);
  setAdjustsImageWhenHighlighted(true);
  setCurrentState(toggle_->state());
}

void Tessra2ToggleButton::checkboxSelected(UIControl&) {
  if (!toggle_) return;
  setNextState();
  HapticFeedbackHelper::sendImpact();
  toggle_->saveValue();
  showBottomLabelOnTessraVC();
}

void Tessra2ToggleButton::setNextState() {
  if (!toggle_) return;
  setCurrentState(toggle_->setNextState());
}

void Tessra2ToggleButton::setCurrentState(ToggleState state) {
  if (toggle_ && toggle_->state() != state) toggle_->setState(state);
  switch (state) {
    case ToggleStateOn:
      setBadgeWithText("On");
      setBackgroundColor(UIColor::colorWithWhite(1, 1.0));
      setTintColor(UIColor::blackColor());
      break;
    case ToggleStateOff:
      setBadgeWithText("Off");
      setBackgroundColor(UIColor::colorWithWhite(1, 0.65));
      setTintColor(UIColor::blackColor());
      break;
    case ToggleStateNotCustomized:
      setBadgeWithText(std::nullopt);
      setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(darkStyle() ? 0.5 : 0.2));
      setTintColor(UIColor::whiteColor());
      break;
    default: break;
  }
  // The pop: a little smaller, then springing back to full size.
  setTransform(CGAffineTransformMakeScale(0.9, 0.9));
  UIView::animateWithDuration(0.2, 0, 0.3, 7, UIViewAnimationOptions::AllowUserInteraction,
                              [this] { setTransform(CGAffineTransformIdentity); });
}

void Tessra2ToggleButton::setBadgeWithText(const std::optional<std::string>& text) {
  if (!text) {
    if (badgeLabel_) badgeLabel_->removeFromSuperview();
    badgeLabel_.reset();
    return;
  }
  double h = bounds().size.height;
  if (!badgeLabel_) {
    badgeLabel_ = std::make_shared<UILabel>();
    badgeLabel_->setAccessibilityIdentifier(std::string(panel_identifiers::kBadge));
    badgeLabel_->setTextColor(tintColor());
    badgeLabel_->setFont(UIFont::systemFontOfSize(h <= 20 ? 9 : 11));
    badgeLabel_->setAdjustsFontSizeToFitWidth(true);
    badgeLabel_->setMinimumScaleFactor(0.5);
    badgeLabel_->setTextAlignment(NSTextAlignment::Center);
    badgeLabel_->layer().setCornerRadius(5);
    badgeLabel_->setClipsToBounds(true);
    addSubview(badgeLabel_);
  }
  badgeLabel_->setFrame(CGRectMake(0, h <= 20 ? h + 1 : h + 2, bounds().size.width, 12));
  UILabel* badge = badgeLabel_.get();
  UIView::transitionWithView(badge, 0.15, UIViewAnimationOptions::TransitionCrossDissolve,
                             [badge, &text] { badge->setText(*text); });
}

void Tessra2ToggleButton::showBottomLabelOnTessraVC() {
  if (!toggle_) return;
  panel_notifications::postBottomLabelText(toggle_->getBottomTextForCurrentState());
}

bool Tessra2ToggleButton::pointInside(CGPoint p, UIEvent*) {
  CGRect area = CGRectInset(bounds(), -kHitOutset, -kHitOutset);
  return CGRectContainsPoint(area, p);
}
