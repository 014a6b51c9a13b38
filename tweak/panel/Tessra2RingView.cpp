#include "tweak/panel/Tessra2RingView.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "tweak/catalogue/Tessra2Toggle.h"
#include "tweak/panel/Tessra2ToggleButton.h"

using namespace platform;

std::shared_ptr<Tessra2RingView> Tessra2RingView::create(const std::vector<std::shared_ptr<Tessra2Toggle>>& toggles,
                                                         const CGRect& frame) {
  auto ring = std::make_shared<Tessra2RingView>(frame);
  ring->setupViewWithToggles(toggles);
  return ring;
}

Tessra2RingView::Tessra2RingView(const CGRect& frame) : UIView(frame) {}

CGPoint Tessra2RingView::middle() const { return {bounds().size.width / 2, bounds().size.height / 2}; }

void Tessra2RingView::setupViewWithToggles(const std::vector<std::shared_ptr<Tessra2Toggle>>& toggles) {
  std::vector<std::shared_ptr<Tessra2Toggle>> shown;
  for (const auto& toggle : toggles)
    if (toggle && toggle->hasToBeShown()) shown.push_back(toggle);
  nbButtons_ = static_cast<int64_t>(shown.size());
  if (nbButtons_ < 1) return;

  const double side = bounds().size.width;
  const int64_t half = nbButtons_ / 2;
  // One button alone divides by zero: an infinite size, limited like any other.
  double buttonSize = half == 0 ? std::numeric_limits<double>::infinity() : (side - 80) / static_cast<double>(half);
  if (!(buttonSize < kMaxButtonSize)) buttonSize = kMaxButtonSize;
  const double inset = std::min(buttonSize / 3.8, 13.0);
  const double radius = (side - buttonSize) / 2 - kEdgeMargin;
  const CGPoint mid = middle();

  buttonsArray_.clear();
  for (int64_t i = 0; i < nbButtons_; ++i) {
    auto button = std::make_shared<Tessra2ToggleButton>();
    button->setFrame(CGRectMake(0, 0, buttonSize, buttonSize));
    button->setCenter(mid);
    button->setAlpha(0);
    button->layer().setCornerRadius(buttonSize / 2);
    button->setImageEdgeInsets(UIEdgeInsetsMake(inset, inset, inset, inset));
    button->setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(0.5));
    button->setTintColor(UIColor::whiteColor());
    button->setupWithToggle(shown[static_cast<size_t>(i)]);
    addSubview(button);

    const float angle = static_cast<float>(
        (2.0 * static_cast<double>(i) * std::numbers::pi) / static_cast<double>(nbButtons_) - std::numbers::pi / 2);
    const CGPoint home{mid.x + radius * static_cast<double>(std::cos(angle)),
                       mid.y + radius * static_cast<double>(std::sin(angle))};
    button->setCenterSave(home);
    Tessra2ToggleButton* raw = button.get();
    UIView::animateWithDuration(kFlightDuration, 0, UIViewAnimationOptions::CurveEaseOut, [raw, home] {
      raw->setCenter(home);
      raw->setAlpha(1);
    });
    buttonsArray_.push_back(std::move(button));
  }
}

void Tessra2RingView::hideAnimated(bool animated, std::function<void()> whenHidden) {
  if (buttonsArray_.empty()) {
    // Nothing flies: an empty ring hides at once, so that it never covers the other ring.
    setHidden(true);
    if (whenHidden) whenHidden();
    return;
  }
  const double flight = animated ? kFlightDuration : 0;
  const double fade = animated ? kFadeDuration : 0;
  const CGPoint mid = middle();
  std::weak_ptr<UIView> weakSelf = weak_from_this();
  const uint64_t generation = showGeneration_;
  for (const auto& button : buttonsArray_) {
    Tessra2ToggleButton* raw = button.get();
    UIView::animateWithDuration(
        flight, 0, UIViewAnimationOptions::CurveEaseInOut, [raw, mid] { raw->setCenter(mid); },
        [weakSelf, generation, whenHidden](bool) {
          auto self = std::static_pointer_cast<Tessra2RingView>(weakSelf.lock());
          // The first button to arrive hides the ring; the others find it hidden.
          if (!self || self->showGeneration_ != generation || self->isHidden()) return;
          self->setHidden(true);
          if (whenHidden) whenHidden();
        });
    UIView::animateWithDuration(fade, 0, UIViewAnimationOptions::CurveLinear, [raw] { raw->setAlpha(0); });
  }
}

void Tessra2RingView::showAnimated(bool animated) {
  ++showGeneration_;
  setHidden(false);
  const double flight = animated ? kFlightDuration : 0;
  const double fade = animated ? kFadeDuration : 0;
  for (const auto& button : buttonsArray_) {
    Tessra2ToggleButton* raw = button.get();
    const CGPoint home = button->centerSave();
    UIView::animateWithDuration(flight, 0, UIViewAnimationOptions::CurveEaseInOut,
                                [raw, home] { raw->setCenter(home); });
    UIView::animateWithDuration(fade, fade, UIViewAnimationOptions::CurveLinear, [raw] { raw->setAlpha(1); });
  }
}
